// The favourites store: favorite.dat, rewritten through temp.dat on removal.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "data/phrasebook.h"

namespace lexoria {
namespace {

constexpr const char* kFavouritesFile = "favorite.dat";
constexpr const char* kTempFile = "temp.dat";

// Size in bytes, the handle left at the start; -1 when it cannot be told.
long FileSize(std::FILE* file) {
  if (std::fflush(file) != 0 || std::fseek(file, 0, SEEK_END) != 0) return -1;
  const long size = std::ftell(file);
  std::rewind(file);
  return size;
}

bool ReadRaw(std::FILE* file, EnglishBytes& bytes) {
  return std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
}

// The rename is durable only once the folder entry is on disk too.
void SyncFolder(const std::filesystem::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
}

}  // namespace

bool PhraseBook::EnsureFavouritesOpen() {
  if (!favouritesOpen_) {
    if (favourites_ != nullptr) std::fclose(favourites_);
    favourites_ = std::fopen(folders_.FavouritesFile(kFavouritesFile).c_str(), "a+b");
  }
  if (favourites_ == nullptr) return false;
  favouritesOpen_ = true;
  return true;
}

bool PhraseBook::AddFavourite() {
  // An installed program makes its favourites folder on the first add.
  std::string reason;
  if (!CreateFavouritesFolder(folders_, reason)) {
    host_.ShowMessage("Can't create the folder for favorite phrases: " + folders_.favourites.string() + " (" + reason +
                      ")");
    return false;
  }
  if (!EnsureFavouritesOpen()) return false;
  const std::u16string text = RemoveBrackets(selectedLineText_);
  const EnglishBytes record = EncodeEnglishRecord(text, currentPhrase_);

  const long size = FileSize(favourites_);
  // The scan starts from an empty text, so an empty line counts as stored.
  bool duplicate = text.empty();
  EnglishBytes bytes;
  while (!duplicate && ReadRaw(favourites_, bytes)) duplicate = DecodeEnglishRecord(bytes).text == text;
  if (duplicate) {
    CloseFavourites();
    host_.ShowMessage(msg::kAlreadyFavourite);
    return false;
  }

  bool written = size >= 0;
  // A partial record at the end is ignored by every reader; appending after
  // it would shift the new record off the 124-byte grid, so it goes.
  if (written && size % static_cast<long>(kEnglishRecordSize) != 0)
    written = ::ftruncate(::fileno(favourites_), size - size % static_cast<long>(kEnglishRecordSize)) == 0;
  written = written && std::fflush(favourites_) == 0 && std::fseek(favourites_, 0, SEEK_END) == 0 &&
            std::fwrite(record.data(), 1, record.size(), favourites_) == record.size() && std::fflush(favourites_) == 0;
  CloseFavourites();
  return written;
}

bool PhraseBook::RemoveFavourite() {
  const std::filesystem::path tempPath = folders_.FavouritesFile(kTempFile);
  std::FILE* temp = std::fopen(tempPath.c_str(), "wb");
  if (temp == nullptr) return false;
  auto discardTemp = [&temp, &tempPath] {
    std::fclose(temp);
    std::remove(tempPath.c_str());
    return false;
  };
  if (!EnsureFavouritesOpen()) return discardTemp();

  const long size = FileSize(favourites_);
  const long count = size < 0 ? 0 : size / static_cast<long>(kEnglishRecordSize);
  favouritesCount_ = static_cast<std::int32_t>(count);

  // Every record but the first one whose text is the selected line goes to
  // temp.dat; with no such record nothing is removed and nothing rewritten.
  bool matched = false;
  bool copied = true;
  EnglishBytes bytes;
  for (long n = 0; n < count && ReadRaw(favourites_, bytes); ++n) {
    if (!matched && DecodeEnglishRecord(bytes).text == selectedLineText_) {
      matched = true;
      continue;
    }
    copied = copied && std::fwrite(bytes.data(), 1, bytes.size(), temp) == bytes.size();
  }
  CloseFavourites();
  if (!matched || !copied) return discardTemp();

  // temp.dat is complete and on disk before it replaces favorite.dat in one
  // step, so a failure at any point leaves favorite.dat as it was.
  const bool synced = std::fflush(temp) == 0 && ::fsync(::fileno(temp)) == 0;
  const bool closed = std::fclose(temp) == 0;
  if (!synced || !closed || std::rename(tempPath.c_str(), folders_.FavouritesFile(kFavouritesFile).c_str()) != 0) {
    std::remove(tempPath.c_str());
    return false;
  }
  SyncFolder(folders_.FavouritesFolder());
  return true;
}

bool PhraseBook::ListFavourites() {
  map_.clear();
  lines_.clear();
  selection_ = -1;
  if (!EnsureFavouritesOpen()) {
    host_.PhraseListChanged();
    return false;
  }
  const long size = FileSize(favourites_);
  const long count = size < 0 ? 0 : size / static_cast<long>(kEnglishRecordSize);
  EnglishBytes bytes;
  for (long n = 0; n < count && ReadRaw(favourites_, bytes); ++n) {
    const EnglishRecord record = DecodeEnglishRecord(bytes);
    MapPhrase(RemoveControlUnits(record.text), record.number);
    AddLine(record.text, nullptr);  // a plain line: favourites have no slots
  }
  favouritesView_ = true;
  SetSelection(0);
  host_.PhraseListChanged();
  ShowSelectedPhrase();
  return true;
}

void PhraseBook::ShowFavourites() {
  if (!EnsureFavouritesOpen()) {
    host_.ShowMessage(msg::kNoFavourite);
    return;
  }
  if (FileSize(favourites_) <= 0) {
    host_.ShowMessage(msg::kNoFavourite);
    return;
  }
  categoryCode_ = kCategoryFavourites;
  host_.SelectCategory();
  favouritesView_ = true;
}

void PhraseBook::ToggleFavourite() {
  if (lines_.empty()) return;
  if (!favouritesView_) {
    if (AddFavourite()) host_.ShowMessage(msg::kFavouriteAdded);
    return;
  }
  if (!RemoveFavourite()) return;
  host_.ShowMessage(msg::kFavouriteRemoved);
  ClearList();
  keyWord_.clear();
  pronunciationText_.clear();
  japaneseText_.clear();
  host_.TransferToControls();
  if (favouritesCount_ <= 1) {
    pronunciationText_.clear();
    japaneseText_.clear();
    host_.TransferToControls();
    host_.RepaintTextArea();
  } else {
    ListFavourites();
  }
}

}  // namespace lexoria
