// SPDX-License-Identifier: GPL-3.0-or-later
// The phrasetool commands. Each returns the exit status: 0 done, 1 nothing
// found (or nothing could be played), 2 a data file missing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "data/datafolders.h"

namespace lexoria::phrasetool {

// Lines of number, English, Japanese and romaji, tab-separated, best first
// (with --exact: the lines that are the words, in phrase order).
int Search(const DataFolders& folders, const std::vector<std::string>& words, bool exact);
// The four forms of phrase n and its related phrases.
int Show(const DataFolders& folders, std::int32_t n);
// Speaks phrase n on the default audio device, at the slow tempo if asked,
// and returns when it has been played.
int Play(const DataFolders& folders, std::int32_t n, bool slow);

// Writes the favourites (code 0) or category `code` into `folder` as
// phrases.tsv with a sound file per phrase; 1 when there is nothing to
// export or a file cannot be written.
int Export(const DataFolders& folders, std::int32_t code, const std::string& folder);

}  // namespace lexoria::phrasetool
