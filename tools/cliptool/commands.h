// SPDX-License-Identifier: GPL-3.0-or-later
// The cliptool commands. Each prints its own diagnostics and returns the
// process exit status (0 success, 1 failure).
#pragma once

#include <cstdint>
#include <filesystem>

namespace lexoria::cliptool {

int ListClips();
int ExtractClip(int32_t n, const std::filesystem::path& file);
// tempo 1 plays as recorded; any other stretches the block as slow playback does.
int RenderClip(int32_t n, const std::filesystem::path& file, float tempo = 1.0f);
int BuildArchive(const std::filesystem::path& folder);
int CheckClips();

}  // namespace lexoria::cliptool
