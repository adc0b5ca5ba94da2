// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target for the five data files together: English.dat,
// Japanese.dat, MapEngSpec.data, Relate.dat and the archive index data.idx
// (with data.dat) are cut from the input, checked as at start-up, and then
// used as the window uses them: every category range browsed and each line
// shown with its clip loaded, a search, related phrases of each phrase shown,
// and the favourites added, listed and removed.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "data/datacheck.h"
#include "data/phrasebook.h"
#include "data/phraserange.h"
#include "sound/archivecheck.h"
#include "sound/captureoutput.h"
#include "sound/loadclip.h"
#include "sound/waveplayer.h"

namespace {

const std::filesystem::path& Folder() {
  static const std::filesystem::path folder = [] {
    // In memory where there is a tmpfs: every favourites change syncs.
    std::error_code ec;
    const std::filesystem::path base =
        std::filesystem::is_directory("/dev/shm", ec) ? "/dev/shm" : std::filesystem::temp_directory_path();
    auto p = base / ("lexoria-datafiles-fuzz-" + std::to_string(getpid()));
    std::filesystem::create_directories(p);
    return p;
  }();
  return folder;
}

void WriteFile(const char* name, const uint8_t* data, size_t size) {
  std::FILE* f = std::fopen((Folder() / name).c_str(), "wb");
  if (!f) return;
  if (size) std::fwrite(data, 1, size, f);
  std::fclose(f);
}

// What the window does with the model's changes, with the clip loaded for
// real.
struct Window {
  lexoria::sound::CaptureOutput output;
  lexoria::sound::CWavePlayer player{&output};
  lexoria::PhraseBook book;
  void Show() {
    for (const lexoria::BookChange& change : book.TakeChanges()) {
      if (change.kind != lexoria::BookChange::Kind::ClipWanted) continue;
      std::int32_t clip = book.CurrentClip();
      lexoria::sound::LoadClip(change.phrase, player, clip, {}, Folder());
      book.SetCurrentClip(clip);
    }
  }
};

void ShowEveryLine(Window& window, size_t atMost) {
  lexoria::PhraseBook& book = window.book;
  for (size_t i = 0; i < book.Lines().size() && i < atMost; ++i) {
    book.SetSelection(static_cast<int>(i));
    book.ShowSelectedPhrase();
    window.Show();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Five 16-bit lengths, then the files back to back; data.dat is the rest.
  static const char* const names[] = {"English.dat", "Japanese.dat", "MapEngSpec.data", "Relate.dat", "data.idx"};
  if (size < 10) return 0;
  size_t at = 10;
  for (int i = 0; i < 5; ++i) {
    const size_t wanted = static_cast<size_t>(data[2 * i]) | static_cast<size_t>(data[2 * i + 1]) << 8;
    const size_t length = std::min(wanted, size - at);
    WriteFile(names[i], data + at, length);
    at += length;
  }
  WriteFile("data.dat", data + at, size - at);
  std::filesystem::remove(Folder() / "favorite.dat");

  const lexoria::DataFolders folders{Folder(), Folder()};
  const bool damaged = !lexoria::DamagedPhraseFiles(folders).empty();
  lexoria::sound::DamagedArchiveFiles(Folder(), lexoria::kPhraseCount);

  Window window;
  lexoria::PhraseBook& book = window.book;
  book.SetFolders(folders);
  book.SetPhraseFilesDamaged(damaged);
  book.OpenPhraseFiles();
  book.SetViewMode(lexoria::kViewBrowse);
  for (std::int32_t key : {100, 205, 1000}) {
    if (const auto range = lexoria::PhraseRangeOf(key)) book.LoadEnglishRange(range->first, range->last);
    ShowEveryLine(window, 8);
    book.SetFavouritesView(false);
    book.ToggleFavourite();
    window.Show();
    if (book.PhraseSelected()) book.ShowRelatedPhrasesOf(book.CurrentPhrase());
    ShowEveryLine(window, 4);
  }
  book.SetViewMode(lexoria::kViewSearch);
  book.LoadAllEnglish();
  book.SetKeyWord(u"e");
  book.SearchPhrases();
  ShowEveryLine(window, 4);
  if (book.ShowFavourites()) book.ListFavourites();
  window.Show();
  book.ToggleFavourite();
  window.Show();
  return 0;
}
