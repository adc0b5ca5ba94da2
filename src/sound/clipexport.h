// SPDX-License-Identifier: GPL-3.0-or-later
// A recording as a file of its own: the MPEG audio stream of clip n, out of
// its wrapper and without a trailing tag, ready to be written as NNNN.mp3.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "sound/cliparchive.h"

namespace lexoria::sound {

// The stream of clip n of the archive in `folder`. Loaded when the clip is
// read and holds a stream whose first frame header is valid; otherwise the
// reason, and `stream` is empty.
ClipStatus ExtractClipStream(const std::filesystem::path& folder, std::int32_t n, std::vector<std::uint8_t>& stream);

}  // namespace lexoria::sound
