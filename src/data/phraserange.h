// SPDX-License-Identifier: GPL-3.0-or-later
// The category range table: category code + sub-category index -> phrases.
#pragma once

#include <cstdint>
#include <optional>

namespace lexoria {

struct PhraseRange {
  std::int32_t first;  // inclusive
  std::int32_t last;   // inclusive
};

// The range of the key (category code + sub-category index), or none for a
// key in no row (1100, the favourites, is in no row).
std::optional<PhraseRange> PhraseRangeOf(std::int32_t key);

}  // namespace lexoria
