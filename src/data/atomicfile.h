// SPDX-License-Identifier: GPL-3.0-or-later
// A whole file replaced in one step: the bytes go to a fresh temporary file
// beside it (a unique name, created exclusively, so no link is followed),
// are synced, and the temporary file is renamed over the name; the folder
// is synced so the rename survives a crash. A failure at any point leaves
// the old file as it was and removes the temporary one.
#pragma once

#include <filesystem>
#include <string_view>

namespace lexoria {

// 0 when done, otherwise the errno of the step that failed (ENOSPC for a
// full disk).
int WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// Syncs a folder's entries (after a rename in it).
void SyncFolder(const std::filesystem::path& folder);

}  // namespace lexoria
