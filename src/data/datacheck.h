// SPDX-License-Identifier: GPL-3.0-or-later
// The start-up check of the phrase files: a file that is there but damaged
// is named once, so the user can be told to reinstall instead of meeting
// garbage or a box on every click. Missing files are not reported here;
// their own messages come when they are used.
#pragma once

#include <string>
#include <vector>

#include "data/datafolders.h"

namespace lexoria {

// English.dat, Japanese.dat, MapEngSpec.data and Relate.dat, in that order,
// where one is present and either is not exactly 826 records or holds a
// record that is not well-formed.
std::vector<std::string> DamagedPhraseFiles(const DataFolders& folders);

// "The data file English.dat is damaged. Please reinstall the program!",
// naming every file given; empty for none.
std::string DamagedFilesMessage(const std::vector<std::string>& names);

}  // namespace lexoria
