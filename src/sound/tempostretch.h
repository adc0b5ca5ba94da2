// SPDX-License-Identifier: GPL-3.0-or-later
// Slow playback: the decoded block stretched in time with its pitch kept
// (SoundTouch's WSOLA), so a traveller can catch every syllable.
#pragma once

#include <cstdint>
#include <vector>

#include "sound/waveformat.h"

namespace lexoria::sound {

// The tempo of the "Play slowly" button: 0.7 of the recording's.
inline constexpr float kSlowTempo = 0.7f;

// Stretches 16-bit interleaved PCM of `format` to play at `tempo` (0.7 is
// slower) with its pitch kept. The result holds exactly round(frames /
// tempo) sample frames. False (and `out` emptied) for a format other than
// 16-bit PCM, a tempo outside 0.25..4, or an empty block.
bool StretchPcm(const uint8_t* pcm, uint32_t size, const WaveFormat& format, float tempo, std::vector<uint8_t>& out);

}  // namespace lexoria::sound
