// SPDX-License-Identifier: GPL-3.0-or-later
// The category range table as data.
#pragma once

#include <cstdint>
#include <span>

#include "data/phraserange.h"

namespace lexoria {

struct RangeRow {
  std::int32_t key;  // category code + sub-category index
  PhraseRange range;
};

std::span<const RangeRow> CategoryRangeTable();

}  // namespace lexoria
