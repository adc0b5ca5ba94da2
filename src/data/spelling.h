// SPDX-License-Identifier: GPL-3.0-or-later
// Typing slips: how far apart two words are, for correcting a query word
// that nothing in the index holds.
#pragma once

#include <cstddef>
#include <string_view>

namespace lexoria {

// Insertions, deletions, substitutions and swaps of two neighbours, each one
// edit (optimal string alignment); any distance above limit is limit + 1.
std::size_t EditDistance(std::u16string_view a, std::u16string_view b, std::size_t limit);

// How many edits a word of this length may be off by: none below four
// letters, one up to six, two from seven.
std::size_t AllowedEdits(std::size_t length);

}  // namespace lexoria
