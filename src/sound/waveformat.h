// SPDX-License-Identifier: GPL-3.0-or-later
// The PCM format the player opens the output with.
#pragma once

#include <cstdint>

namespace lexoria::sound {

inline constexpr uint16_t kWaveFormatPcm = 1;

struct WaveFormat {
  uint16_t formatTag = 0;       // kWaveFormatPcm
  uint16_t channels = 0;        // 1 or 2
  uint32_t samplesPerSec = 0;   // Hz
  uint32_t avgBytesPerSec = 0;  // samplesPerSec x blockAlign
  uint16_t blockAlign = 0;      // channels x 2
  uint16_t bitsPerSample = 0;   // 16
  uint16_t extraSize = 0;       // 0

  bool operator==(const WaveFormat&) const = default;
};

// 16-bit PCM at `rate` with `channels` interleaved channels.
constexpr WaveFormat PcmFormat(uint32_t rate, uint16_t channels) {
  WaveFormat f;
  f.formatTag = kWaveFormatPcm;
  f.channels = channels;
  f.samplesPerSec = rate;
  f.blockAlign = static_cast<uint16_t>(channels * 2);
  f.avgBytesPerSec = rate * f.blockAlign;
  f.bitsPerSample = 16;
  return f;
}

}  // namespace lexoria::sound
