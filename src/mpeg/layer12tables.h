// SPDX-License-Identifier: GPL-3.0-or-later
// Constant and built tables of layers I and II.
#pragma once

#include <cstdint>

namespace lexoria::mpeg {

// One group of subbands of a layer II allocation table: how many subbands,
// the width of their allocation field, and allocation value -> quantisation
// class (0 none, 1 to 17 for 3 to 65535 levels).
struct AllocationGroup {
  uint8_t subbands;
  uint8_t fieldBits;
  uint8_t classOf[16];
};

struct AllocationTable {
  AllocationGroup groups[4];
  uint8_t subbands;  // sum over the groups
};

// Layer II bit allocation tables, ISO/IEC 11172-3 Annex B tables B.2a, B.2b,
// B.2c, B.2d and the lower-sampling-frequency table of ISO/IEC 13818-3
// Annex B, by quantisation class.
inline constexpr AllocationTable kAllocationTables[5] = {
    {{{3, 4, {0, 1, 3, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17}},
      {8, 4, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 17}},
      {12, 3, {0, 1, 2, 3, 4, 5, 6, 17}},
      {4, 2, {0, 1, 2, 17}}},
     27},
    {{{3, 4, {0, 1, 3, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17}},
      {8, 4, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 17}},
      {12, 3, {0, 1, 2, 3, 4, 5, 6, 17}},
      {7, 2, {0, 1, 2, 17}}},
     30},
    {{{2, 4, {0, 1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}},
      {0, 4, {}},
      {6, 3, {0, 1, 2, 4, 5, 6, 7, 8}},
      {0, 2, {}}},
     8},
    {{{2, 4, {0, 1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}},
      {0, 4, {}},
      {10, 3, {0, 1, 2, 4, 5, 6, 7, 8}},
      {0, 2, {}}},
     12},
    {{{4, 4, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}},
      {0, 4, {}},
      {7, 3, {0, 1, 2, 4, 5, 6, 7, 8}},
      {19, 2, {0, 1, 2, 4}}},
     30},
};

// MPEG-1 layer II table choice by [single channel][sampling index 44.1, 48,
// 32 kHz][bitrate index]; -1 where the standard allows no such frame
// (ISO/IEC 11172-3 Annex B, the conditions of tables B.2a to B.2d).
inline constexpr int8_t kAllocationChoice[2][3][16] = {
    {{1, -1, -1, -1, 2, -1, 2, 0, 0, 0, 1, 1, 1, 1, 1, -1},
     {0, -1, -1, -1, 2, -1, 2, 0, 0, 0, 0, 0, 0, 0, 0, -1},
     {1, -1, -1, -1, 3, -1, 3, 0, 0, 0, 1, 1, 1, 1, 1, -1}},
    {{1, 2, 2, 0, 0, 0, 1, 1, 1, 1, 1, -1, -1, -1, -1, -1},
     {0, 2, 2, 0, 0, 0, 0, 0, 0, 0, 0, -1, -1, -1, -1, -1},
     {1, 3, 3, 0, 0, 0, 1, 1, 1, 1, 1, -1, -1, -1, -1, -1}},
};

inline constexpr int kLayer2TableLowRate = 4;

// Layer II quantisation classes (ISO/IEC 11172-3 table B.4): levels, bits
// per triple of samples, bits per single sample (0 for the grouped classes).
inline constexpr uint32_t kClassLevels[18] = {0,   3,   5,    7,    9,    15,   31,    63,    127,
                                              255, 511, 1023, 2047, 4095, 8191, 16383, 32767, 65535};
inline constexpr uint8_t kClassTripleBits[18] = {0, 5, 7, 9, 10, 12, 15, 18, 21, 24, 27, 30, 33, 36, 39, 42, 45, 48};
inline constexpr uint8_t kClassSampleBits[18] = {0, 0, 0, 3, 0, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};

// Joint-stereo bound in positions (two per subband) by [mode][mode extension].
inline constexpr uint8_t kJointBound[4][4] = {{64, 64, 64, 64}, {8, 16, 24, 32}, {64, 64, 64, 64}, {32, 32, 32, 32}};

// Tables built once by BuildLayer12Tables.
struct Layer12Tables {
  float layer1Step[16];     // 2 / (2^(a + 1) - 1), allocation a
  float layer2Step[18];     // 2 / levels, class
  float scaleFactor[64];    // 65536 x 2^(-i / 3): samples in 16-bit units
  int8_t group3[32][3];     // 5-bit code -> three values of 3 levels
  int8_t group5[128][3];    // 7-bit code, 5 levels
  int16_t group9[1024][3];  // 10-bit code, 9 levels
};

extern Layer12Tables g_layer12Tables;

}  // namespace lexoria::mpeg
