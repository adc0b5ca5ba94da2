// SPDX-License-Identifier: GPL-3.0-or-later
// The start-up check of the sound archive, beside the phrase files' check
// (src/data/datacheck.h): an archive that is there but damaged is named once.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace lexoria::sound {

// "data.dat" when its header is not ours; "data.idx" when it does not hold
// exactly `clipCount` entries or an entry is empty or lies beyond the end of
// "data.dat". A missing file is not named: loading a clip says so.
std::vector<std::string> DamagedArchiveFiles(const std::filesystem::path& folder, std::size_t clipCount);

}  // namespace lexoria::sound
