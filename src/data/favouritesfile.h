// SPDX-License-Identifier: GPL-3.0-or-later
// FavouritesFile: favorite.dat shared safely by every copy of the program
// that uses the same folder.
//
// Nothing is held open between operations. Every add and every removal
// opens favorite.dat, takes an exclusive advisory lock (flock) on it, waiting
// at most the lock timeout, reads the file afresh under the lock, then
// appends (add) or writes a new file of a unique temp.dat-XXXXXX name and
// renames it over favorite.dat (removal), syncs, and lets the lock go. A
// failure changes nothing on disk and says why.
//
// A favorite.dat that is not a favourites file this program wrote (see
// FavouritesShape) is kept byte for byte as favorite.dat.damaged-<date>
// before anything is written; the new favorite.dat holds the records of it
// that read as records. Only a torn last record is cut away in place.
#pragma once

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "data/records.h"

namespace lexoria {

inline constexpr char kFavouritesFileName[] = "favorite.dat";
// The start of the unique name of the file a rewrite writes.
inline constexpr char kFavouritesTempPrefix[] = "temp.dat-";

enum class FavouritesResult {
  Done,
  Duplicate,  // add: the text is stored already
  NotStored,  // removal: no record shows as the line
  ReadOnly,   // the file or its folder cannot be written
  DiskFull,
  Locked,  // another copy held the lock for the whole timeout
  Failed,  // any other error of the file system
};

class FavouritesFile {
 public:
  // folder: where favorite.dat lives; empty means the working directory.
  explicit FavouritesFile(std::filesystem::path folder = {});

  void SetFolder(std::filesystem::path folder) { folder_ = std::move(folder); }
  const std::filesystem::path& Folder() const { return folder_; }
  std::filesystem::path FilePath() const { return folder_ / kFavouritesFileName; }
  void SetLockTimeout(std::chrono::milliseconds timeout) { lockTimeout_ = timeout; }

  // True when favorite.dat exists and can be read, creating it empty when
  // it is missing and the folder allows.
  bool Usable() const;
  // The whole records, in file order; a missing file holds none. Failed
  // when the file exists but cannot be read.
  FavouritesResult Read(std::vector<EnglishBytes>& records) const;
  // Appends the record unless a stored record has the same text (or the
  // text is empty); a torn last record is dropped first.
  FavouritesResult Add(const EnglishBytes& record);
  // Removes the first record whose line (FavouriteLineText) is lineText.
  // count: the number of whole records before the removal.
  FavouritesResult Remove(std::u16string_view lineText, std::size_t& count);
  // The name the last Add or Remove kept a foreign favorite.dat under, in
  // the same folder; empty when it kept none.
  const std::string& SetAsideName() const { return setAside_; }

 private:
  std::filesystem::path folder_;
  std::chrono::milliseconds lockTimeout_{2000};
  std::string setAside_;
};

// A stored record as the favourites list shows it: its text cut to a list
// line, or nothing when the text is not well-formed.
std::u16string FavouriteLineText(const EnglishBytes& record);

}  // namespace lexoria
