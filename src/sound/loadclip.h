// SPDX-License-Identifier: GPL-3.0-or-later
// LoadClip: fetches clip n from the archive in the working directory and
// hands it to the player, prepared to play from its start.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string_view>

#include "sound/cliparchive.h"
#include "sound/waveplayer.h"

namespace lexoria::sound {

inline constexpr char kMessageNoSoundFile[] = "Can't find sound file!";
inline constexpr char kMessageWrongFormat[] = "This file is not in right format!";

// Shows a message the user must see (the window's message box).
using MessageSink = std::function<void(std::string_view text)>;

// `currentClip` is the window's current clip number (-1: none). Unless n
// equals it, reads clip n, sets it to n and runs the player's Close,
// OpenFromMemory and PrepareRange(0, 400000). On failure the player and
// `currentClip` keep the previous clip. The window may ignore the status;
// tools report it. `folder` empty means the working directory.
ClipStatus LoadClip(int32_t n, CWavePlayer& player, int32_t& currentClip, const MessageSink& message,
                    const std::filesystem::path& folder = {});

// The end of the play range LoadClip asks for (400 s; the player clamps it).
inline constexpr uint32_t kLoadRangeEndMs = 400000;

}  // namespace lexoria::sound
