// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands.h"

#include <QString>
#include <cstdio>
#include <filesystem>
#include <initializer_list>

#include "data/phrasebook.h"
#include "data/phraseexport.h"
#include "sound/clipexport.h"
#include "sound/loadclip.h"
#include "sound/tempostretch.h"
#include "toolkit/pulseoutput.h"

namespace lexoria::phrasetool {
namespace {

// The phrase data opened for a terminal; the commands read what an
// operation left and ignore its changes (no window shows them).
struct Book {
  PhraseBook book;
  explicit Book(const DataFolders& folders) {
    book.SetFolders(folders);
    book.OpenPhraseFiles();
  }
};

std::string Utf8(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())).toStdString();
}

// A stored field as shown: no carriage return, tab or byte-order mark.
std::string Shown(std::u16string_view text) {
  std::u16string clean = RemoveControlUnits(text);
  if (!clean.empty() && clean.front() == u'\uFEFF') clean.erase(0, 1);
  return Utf8(clean);
}

// Every file the command reads must be there, or nothing is said but that.
bool HaveFiles(const DataFolders& folders, std::initializer_list<const char*> names) {
  for (const char* name : names) {
    const std::filesystem::path path = folders.DataFile(name);
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
      std::fprintf(stderr,
                   "phrasetool: cannot read the data file %s; run phrasetool in the phrasebook's run folder or "
                   "install the phrasebook\n",
                   path.c_str());
      return false;
    }
    std::fclose(file);
  }
  return true;
}

std::int32_t NumberOf(const PhraseBook& book, const std::u16string& lineText) {
  const auto it = book.Map().find(lineText);
  return it == book.Map().end() ? 0 : ParseNumberText(it->second);
}

}  // namespace

int Search(const DataFolders& folders, const std::vector<std::string>& words, bool exact) {
  if (!HaveFiles(folders, {"English.dat", "Japanese.dat", "MapEngSpec.data"})) return 2;
  std::string joined;
  for (const std::string& word : words) joined += (joined.empty() ? "" : " ") + word;

  Book b(folders);
  b.book.LoadAllEnglish();
  b.book.SetKeyWord(QString::fromLocal8Bit(joined.c_str()).toStdU16String());
  b.book.SetExactMatch(exact ? 1 : 0);
  b.book.SearchPhrases();
  if (b.book.Lines().empty()) {
    std::fprintf(stderr, "phrasetool: no phrase answers \"%s\"\n", joined.c_str());
    return 1;
  }
  // On the error stream, so that the lines stay four columns.
  if (!b.book.SearchCorrection().empty())
    std::fprintf(stderr, "Showing results for \"%s\"\n", Utf8(b.book.SearchCorrection()).c_str());
  for (const ListLine& line : b.book.Lines()) {
    const std::int32_t n = NumberOf(b.book, line.text);
    const JapaneseRecord japanese = b.book.ReadJapaneseRecord(n);
    std::printf("%d\t%s\t%s\t%s\n", n, Shown(line.text).c_str(), Shown(japanese.first).c_str(),
                Shown(japanese.pronunciation).c_str());
  }
  return 0;
}

int Show(const DataFolders& folders, std::int32_t n) {
  if (!HaveFiles(folders, {"English.dat", "Japanese.dat", "Relate.dat"})) return 2;
  Book b(folders);
  b.book.AddEnglishItems(n, n);
  if (n > kPhraseCount || b.book.Lines().empty()) {
    std::fprintf(stderr, "phrasetool: there is no phrase %d\n", n);
    return 1;
  }
  const JapaneseRecord japanese = b.book.ReadJapaneseRecord(n);
  std::printf("English\t%s\nJapanese\t%s\nKana\t%s\nRomaji\t%s\n", Shown(b.book.Lines()[0].text).c_str(),
              Shown(japanese.first).c_str(), Shown(japanese.second).c_str(), Shown(japanese.pronunciation).c_str());
  b.book.SetCurrentClip(n);
  if (b.book.ShowRelatedPhrases()) {
    for (const ListLine& line : b.book.Lines())
      std::printf("Related\t%d\t%s\n", NumberOf(b.book, line.text), Shown(line.text).c_str());
  }
  return 0;
}

int Play(const DataFolders& folders, std::int32_t n, bool slow) {
  if (!HaveFiles(folders, {"data.idx", "data.dat"})) return 2;
  // The window's own output: the sound server, one stream, corked when the
  // clip has played.
  PulseOutput output;
  sound::CWavePlayer player(&output);
  std::int32_t current = -1;
  std::string message;
  const sound::ClipStatus status = sound::LoadClip(
      n, player, current, [&message](std::string_view text) { message = text; }, folders.data);
  if (status != sound::ClipStatus::Loaded) {
    std::fprintf(stderr, "phrasetool: phrase %d: %s\n", n, message.empty() ? "no recording" : message.c_str());
    return 1;
  }
  if (!player.DeviceReady()) {
    std::fputs("phrasetool: there is no sound device to play on: no sound server is running\n", stderr);
    return 1;
  }
  const double tempo = slow ? sound::kSlowTempo : 1.0;
  if (slow)
    player.StartAtTempo(sound::kSlowTempo);
  else
    player.Start();
  // The block's length, and a second for a server slow to answer.
  const double seconds = double(player.BlockSize()) / double(player.Format().avgBytesPerSec) / tempo;
  const bool played = output.WaitPlayed(static_cast<int>(seconds * 1000) + 1000);
  const bool waiting = output.Waiting();
  player.Close();
  if (!played) {
    std::fputs(
        waiting ? "phrasetool: the sound server is not answering\n" : "phrasetool: the sound server refused to play\n",
        stderr);
    return 1;
  }
  return 0;
}

int Export(const DataFolders& folders, std::int32_t code, const std::string& folder) {
  if (!HaveFiles(folders, {"English.dat", "Japanese.dat", "data.idx", "data.dat"})) return 2;
  std::vector<ExportRow> rows;
  std::string error;
  const bool listed =
      code == 0 ? FavouriteExportRows(folders, rows, error) : CategoryExportRows(folders, code, rows, error);
  if (listed && rows.empty()) error = code == 0 ? "there are no favourites to export" : "the category is empty";
  const auto readClip = [&folders](std::int32_t n, std::vector<std::uint8_t>& stream, std::string& why) {
    const sound::ClipStatus status = sound::ExtractClipStream(folders.data, n, stream);
    why = sound::StatusName(status);
    return status == sound::ClipStatus::Loaded;
  };
  if (!listed || rows.empty() || !WriteExport(folder, rows, readClip, error)) {
    std::fprintf(stderr, "phrasetool: %s\n", error.c_str());
    return 1;
  }
  std::printf("%zu phrases written to %s with their recordings\n", rows.size(),
              (std::filesystem::path(folder) / kExportTableName).c_str());
  return 0;
}

}  // namespace lexoria::phrasetool
