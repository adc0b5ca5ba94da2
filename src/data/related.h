// SPDX-License-Identifier: GPL-3.0-or-later
// Bit tests over the rows of Relate.dat.
#pragma once

#include <cstdint>

namespace lexoria {

// 1 when bit j of byte b is set, 0 when clear, j = 0 being the most
// significant bit; -1 for a negative j (and for j above 7, which has no bit).
int IsBitSet(int j, std::uint8_t b);

}  // namespace lexoria
