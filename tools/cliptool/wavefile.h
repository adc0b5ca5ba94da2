// SPDX-License-Identifier: GPL-3.0-or-later
// A PCM WAVE file: the 44-byte RIFF header and the samples.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "sound/waveformat.h"

namespace lexoria::cliptool {

bool WriteWaveFile(const std::filesystem::path& path, const sound::WaveFormat& format, const std::vector<uint8_t>& pcm);

}  // namespace lexoria::cliptool
