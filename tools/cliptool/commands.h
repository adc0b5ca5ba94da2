// The cliptool commands. Each prints its own diagnostics and returns the
// process exit status (0 success, 1 failure).
#pragma once

#include <cstdint>
#include <filesystem>

namespace lexoria::cliptool {

int ListClips();
int ExtractClip(int32_t n, const std::filesystem::path& file);
int RenderClip(int32_t n, const std::filesystem::path& file);
int BuildArchive(const std::filesystem::path& folder);
int CheckClips();

}  // namespace lexoria::cliptool
