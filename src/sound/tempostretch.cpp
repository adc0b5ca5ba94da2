// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/tempostretch.h"

#include <SoundTouch.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace lexoria::sound {

bool StretchPcm(const uint8_t* pcm, uint32_t size, const WaveFormat& format, float tempo, std::vector<uint8_t>& out) {
  out.clear();
  if (pcm == nullptr || format.bitsPerSample != 16 || format.channels < 1 || format.channels > 2 ||
      format.samplesPerSec == 0 || !(tempo >= 0.25f && tempo <= 4.0f))
    return false;
  const uint32_t channels = format.channels;
  const uint32_t frames = size / (2 * channels);
  if (frames == 0) return false;

  std::vector<float> input(static_cast<size_t>(frames) * channels);
  for (size_t i = 0; i < input.size(); ++i) {
    int16_t s;
    std::memcpy(&s, pcm + 2 * i, 2);
    input[i] = static_cast<float>(s) * (1.0f / 32768.0f);
  }

  soundtouch::SoundTouch stretcher;
  stretcher.setSampleRate(format.samplesPerSec);
  stretcher.setChannels(channels);
  stretcher.setTempo(tempo);
  // Short sequences and windows suit speech: fewer echoes on syllables.
  stretcher.setSetting(SETTING_SEQUENCE_MS, 40);
  stretcher.setSetting(SETTING_SEEKWINDOW_MS, 15);
  stretcher.setSetting(SETTING_OVERLAP_MS, 8);
  stretcher.putSamples(input.data(), frames);
  stretcher.flush();

  const uint32_t wanted = static_cast<uint32_t>(std::lround(static_cast<double>(frames) / tempo));
  std::vector<float> output(static_cast<size_t>(wanted) * channels, 0.0f);
  uint32_t got = 0;
  while (got < wanted) {
    const uint32_t n = stretcher.receiveSamples(output.data() + static_cast<size_t>(got) * channels, wanted - got);
    if (n == 0) break;
    got += n;
  }
  // The flush pads with silence, so the tail is either received or zero.

  out.resize(output.size() * 2);
  for (size_t i = 0; i < output.size(); ++i) {
    const float scaled = std::clamp(output[i] * 32768.0f, -32768.0f, 32767.0f);
    const int16_t s = static_cast<int16_t>(std::lrint(scaled));
    std::memcpy(out.data() + 2 * i, &s, 2);
  }
  return true;
}

}  // namespace lexoria::sound
