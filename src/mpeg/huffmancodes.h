// SPDX-License-Identifier: GPL-3.0-or-later
// Layer III Huffman code tables (ISO/IEC 11172-3 Table B.7), as code values
// and lengths; the decoder turns them into lookup tables at start-up.
#pragma once

#include <cstdint>

namespace lexoria::mpeg {

struct HuffmanCodeTable {
  int size;  // values per dimension (x and y run 0..size-1); 0 for an all-zero table
  const uint16_t* hcod;
  const uint8_t* hlen;
};

extern const HuffmanCodeTable kHuffmanCodeTables[32];

// linbits of each table_select (Table B.7).
inline constexpr uint8_t kLinbits[32] = {0, 0, 0, 0, 0, 0, 0,  0,  0, 0, 0, 0, 0, 0, 0,  0,
                                         1, 2, 3, 4, 6, 8, 10, 13, 4, 5, 6, 7, 8, 9, 11, 13};

// count1 table A of Table B.7: code and length of each quadruple v w x y (index 8v+4w+2x+y).
inline constexpr uint8_t kCount1AHcod[16] = {1, 5, 4, 5, 6, 5, 4, 4, 7, 3, 6, 0, 7, 2, 3, 1};
inline constexpr uint8_t kCount1AHlen[16] = {1, 4, 4, 5, 4, 6, 5, 6, 4, 5, 5, 6, 5, 6, 6, 6};

}  // namespace lexoria::mpeg
