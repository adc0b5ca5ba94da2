// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/datafolders.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <system_error>

namespace lexoria {

bool CreateFavouritesFolder(const DataFolders& folders, std::string& error) {
  if (folders.favourites.empty()) return true;  // the working folder
  std::error_code ec;
  const std::filesystem::path& folder = folders.favourites;
  if (std::filesystem::is_directory(folder, ec)) return true;
  // Parents get the usual mode; only the folder of favourites is private.
  if (folder.has_parent_path()) std::filesystem::create_directories(folder.parent_path(), ec);
  if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
    error = std::strerror(errno);
    return false;
  }
  if (!std::filesystem::is_directory(folder, ec)) {
    error = "not a folder";
    return false;
  }
  return true;
}

}  // namespace lexoria
