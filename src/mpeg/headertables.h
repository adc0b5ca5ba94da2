// SPDX-License-Identifier: GPL-3.0-or-later
// Bitrates and sampling rates of the frame header.
#pragma once

#include <cstdint>

namespace lexoria::mpeg {

// Bitrates in kbit/s by [MPEG-1 0 / MPEG-2 and 2.5 1][layer - 1][bitrate index]:
// ISO/IEC 11172-3 2.4.2.3 and ISO/IEC 13818-3 2.4.2.3 (lower sampling frequencies).
inline constexpr uint16_t kBitrateTable[2][3][16] = {
    {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},
     {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},
     {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0}},
    {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0}},
};

// Sampling rates in Hz by [version - 1][sampling index] (MPEG-1, MPEG-2, MPEG-2.5).
inline constexpr uint32_t kSampleRateTable[3][4] = {
    {44100, 48000, 32000, 0},
    {22050, 24000, 16000, 0},
    {11025, 12000, 8000, 0},
};

}  // namespace lexoria::mpeg
