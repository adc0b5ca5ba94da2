// SPDX-License-Identifier: GPL-3.0-or-later
// DataFolders: where the phrasebook's files are, handed in by the window
// side, which alone knows whether it runs from a run folder or an installed
// layout. An empty folder means the working folder, where the bare file
// name is opened exactly as the run folder always has.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace lexoria {

struct DataFolders {
  // English.dat, Japanese.dat, MapEngSpec.data, Relate.dat, data.idx, data.dat.
  std::filesystem::path data;
  // favorite.dat and temp.dat, side by side so the rename stays in one folder.
  std::filesystem::path favourites;

  std::filesystem::path DataFile(std::string_view name) const { return In(data, name); }
  std::filesystem::path FavouritesFile(std::string_view name) const { return In(favourites, name); }
  // The favourites folder as a folder to open or sync: "." when empty.
  std::filesystem::path FavouritesFolder() const { return favourites.empty() ? "." : favourites; }

 private:
  static std::filesystem::path In(const std::filesystem::path& folder, std::string_view name) {
    return folder.empty() ? std::filesystem::path(name) : folder / name;
  }
};

// Makes the favourites folder, its missing parents included, the folder
// itself readable by the user only (0700). True when it exists afterwards;
// otherwise `error` says why.
bool CreateFavouritesFolder(const DataFolders& folders, std::string& error);

}  // namespace lexoria
