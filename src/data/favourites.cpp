// SPDX-License-Identifier: GPL-3.0-or-later
// The favourites commands over favorite.dat: adding, listing, removing and
// the two buttons. The file itself, with its lock, is FavouritesFile.
#include <string>
#include <vector>

#include "data/phrasebook.h"

namespace lexoria {

std::string FavouriteFailureMessage(bool adding, FavouritesResult result) {
  std::string text = adding ? "This item can't be added to favorite category: "
                            : "This item can't be removed from favorite category: ";
  switch (result) {
    case FavouritesResult::ReadOnly: return text + "favorite.dat is read-only!";
    case FavouritesResult::DiskFull: return text + "the disk is full!";
    case FavouritesResult::Locked: return text + "favorite.dat is in use by another copy of the program!";
    default: return text + "favorite.dat can't be written!";
  }
}

namespace {
// Said once, when a foreign favorite.dat was kept aside before the change.
std::string WhereTheForeignFileWent(const FavouritesFile& file) {
  if (file.SetAsideName().empty()) return {};
  return "favorite.dat did not hold favorite phrases only. It is kept unchanged as " + file.SetAsideName() +
         ", and a new favorite.dat holds the phrases that could be read from it.";
}
}  // namespace

bool PhraseBook::EnsureFavouritesOpen() {
  favouritesOpen_ = favouritesFile_.Usable();
  return favouritesOpen_;
}

bool PhraseBook::AddFavourite() {
  // After a failed lookup there is no phrase to add, least of all the one
  // shown before.
  if (!phraseSelected_) return false;
  // An installed program makes its favourites folder on the first add.
  std::string reason;
  if (!CreateFavouritesFolder(folders_, reason)) {
    Say("Can't create the folder for favorite phrases: " + folders_.favourites.string() + " (" + reason + ")");
    return false;
  }
  const std::u16string text = RemoveBrackets(selectedLineText_);
  const FavouritesResult result = favouritesFile_.Add(EncodeEnglishRecord(text, currentPhrase_));
  favouritesOpen_ = false;
  if (const std::string said = WhereTheForeignFileWent(favouritesFile_); !said.empty()) Say(said);
  if (result == FavouritesResult::Duplicate) {
    Say(std::string(msg::kAlreadyFavourite));
  } else if (result != FavouritesResult::Done) {
    Say(FavouriteFailureMessage(true, result));
  }
  return result == FavouritesResult::Done;
}

bool PhraseBook::RemoveFavourite() {
  std::size_t count = 0;
  const FavouritesResult result = favouritesFile_.Remove(selectedLineText_, count);
  favouritesOpen_ = false;
  if (const std::string said = WhereTheForeignFileWent(favouritesFile_); !said.empty()) Say(said);
  favouritesCount_ = static_cast<std::int32_t>(count);
  // No such record (another copy may have removed it): nothing lost,
  // nothing to say.
  if (result != FavouritesResult::Done && result != FavouritesResult::NotStored)
    Say(FavouriteFailureMessage(false, result));
  return result == FavouritesResult::Done;
}

bool PhraseBook::ListFavourites() {
  map_.clear();
  lines_.clear();
  selection_ = -1;
  std::vector<EnglishBytes> records;
  if (favouritesFile_.Read(records) != FavouritesResult::Done) {
    favouritesOpen_ = false;
    Changed(BookChange::Kind::ListRefilled);
    return false;
  }
  favouritesOpen_ = true;
  for (const EnglishBytes& bytes : records) {
    const std::u16string line = FavouriteLineText(bytes);
    // A damaged record shows as an empty line, and can still be removed.
    const std::int32_t number = line.empty() ? 0 : DecodeEnglishRecord(bytes).number;
    MapPhrase(RemoveControlUnits(line), number);
    AddLine(line, nullptr);  // a plain line: favourites have no slots
  }
  favouritesView_ = true;
  SetSelection(0);
  Changed(BookChange::Kind::ListRefilled);
  ShowSelectedPhrase();
  return true;
}

bool PhraseBook::ShowFavourites() {
  std::vector<EnglishBytes> records;
  // Read afresh: another copy may have changed the file since.
  if (!EnsureFavouritesOpen() || favouritesFile_.Read(records) != FavouritesResult::Done) {
    // A file that is there but cannot be read is not an empty one.
    std::error_code ec;
    const bool present = std::filesystem::exists(favouritesFile_.FilePath(), ec);
    Say(std::string(present ? msg::kCantReadFavourites : msg::kNoFavourite));
    return false;
  }
  if (records.empty()) {
    Say(std::string(msg::kNoFavourite));
    return false;
  }
  categoryCode_ = kCategoryFavourites;
  return true;
}

void PhraseBook::ToggleFavourite() {
  if (lines_.empty()) return;
  if (!favouritesView_) {
    // The line shown was not found: there is no phrase to add, and saying
    // nothing would look like success.
    if (!phraseSelected_) {
      Say(std::string(msg::kPhraseNotFound));
      return;
    }
    if (AddFavourite()) Say(std::string(msg::kFavouriteAdded));
    return;
  }
  if (!phraseSelected_ || !RemoveFavourite()) return;
  Say(std::string(msg::kFavouriteRemoved));
  ClearList();
  keyWord_.clear();
  pronunciationText_.clear();
  japaneseText_.clear();
  Changed(BookChange::Kind::PhraseShown);
  if (favouritesCount_ > 1) ListFavourites();
}

}  // namespace lexoria
