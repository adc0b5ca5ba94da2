// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/phraseexport.h"

#include <sys/stat.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

#include "data/atomicfile.h"
#include "data/favouritesfile.h"
#include "data/phraserange.h"
#include "data/records.h"
#include "data/utf8.h"

namespace lexoria {
namespace {

struct CategoryName {
  std::int32_t code;
  const char* name;
};

// The codes the category buttons select, and the buttons' names.
constexpr std::array<CategoryName, 10> kCategoryNames = {{{100, "Basic"},
                                                          {200, "Travel"},
                                                          {300, "Food"},
                                                          {400, "Lodging"},
                                                          {500, "Business"},
                                                          {600, "SightSeeing"},
                                                          {700, "Social"},
                                                          {800, "Shopping"},
                                                          {900, "Emergency"},
                                                          {1000, "Question"}}};

// A field as one table cell: no tab, line break or byte-order mark, and no
// slot brackets (the card shows the phrase itself).
std::string Cell(std::u16string_view text) {
  std::u16string clean;
  clean.reserve(text.size());
  for (char16_t c : text) {
    if (c == u'\uFEFF' || c == u'[' || c == u']') continue;
    clean += (c == u'\t' || c == u'\n' || c == u'\r') ? u' ' : c;
  }
  const auto space = [](char16_t c) { return c == u' ' || c == u'\u3000'; };
  while (!clean.empty() && space(clean.back())) clean.pop_back();
  std::size_t lead = 0;
  while (lead < clean.size() && space(clean[lead])) ++lead;
  return ToUtf8(std::u16string_view(clean).substr(lead));
}

class File {
 public:
  explicit File(const std::filesystem::path& path) : f_(std::fopen(path.c_str(), "rb")) {}
  ~File() {
    if (f_ != nullptr) std::fclose(f_);
  }
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  std::FILE* Get() const { return f_; }

 private:
  std::FILE* f_;
};

std::optional<EnglishRecord> EnglishAt(std::FILE* f, std::int32_t n) {
  EnglishRecord record;
  if (std::fseek(f, static_cast<long>(n - 1) * static_cast<long>(kEnglishRecordSize), SEEK_SET) != 0 ||
      !ReadEnglishRecord(f, record))
    return std::nullopt;
  return record;
}

JapaneseRecord JapaneseAt(std::FILE* f, std::int32_t n) {
  JapaneseRecord record;
  if (std::fseek(f, static_cast<long>(n - 1) * static_cast<long>(kJapaneseRecordSize), SEEK_SET) != 0 ||
      !ReadJapaneseRecordFrom(f, record))
    return {};
  return record;
}

bool OpenBoth(const DataFolders& folders, std::FILE*& english, std::FILE*& japanese, File& e, File& j,
              std::string& error) {
  english = e.Get();
  japanese = j.Get();
  if (english == nullptr)
    error = "cannot read " + folders.DataFile("English.dat").string();
  else if (japanese == nullptr)
    error = "cannot read " + folders.DataFile("Japanese.dat").string();
  return english != nullptr && japanese != nullptr;
}

ExportRow RowOf(std::int32_t n, std::u16string english, const JapaneseRecord& japanese) {
  return {n, std::move(english), japanese.first, japanese.second, japanese.pronunciation};
}

std::string Reason(int error) { return std::strerror(error); }

}  // namespace

std::string ExportSoundName(std::int32_t number) {
  char name[32];
  std::snprintf(name, sizeof name, "%04d.mp3", static_cast<int>(number));
  return name;
}

std::string ExportTableText(const std::vector<ExportRow>& rows) {
  std::string text = "#separator:tab\n#html:false\n#columns:English\tJapanese\tKana\tRomaji\tSound\n";
  for (const ExportRow& row : rows) {
    text += Cell(row.english) + '\t' + Cell(row.japanese) + '\t' + Cell(row.kana) + '\t' + Cell(row.romaji) +
            "\t[sound:" + ExportSoundName(row.number) + "]\n";
  }
  return text;
}

const char* ExportCategoryName(std::int32_t code) {
  for (const CategoryName& c : kCategoryNames)
    if (c.code == code) return c.name;
  return nullptr;
}

bool CategoryExportRows(const DataFolders& folders, std::int32_t code, std::vector<ExportRow>& rows,
                        std::string& error) {
  rows.clear();
  const std::optional<PhraseRange> range = ExportCategoryName(code) != nullptr ? PhraseRangeOf(code) : std::nullopt;
  if (!range) {
    error = "there is no category " + std::to_string(code);
    return false;
  }
  File e(folders.DataFile("English.dat")), j(folders.DataFile("Japanese.dat"));
  std::FILE* english = nullptr;
  std::FILE* japanese = nullptr;
  if (!OpenBoth(folders, english, japanese, e, j, error)) return false;
  for (std::int32_t n = range->first; n <= range->last && n <= kPhraseCount; ++n) {
    const std::optional<EnglishRecord> record = EnglishAt(english, n);
    if (!record) break;
    rows.push_back(RowOf(n, RemoveControlUnits(record->text), JapaneseAt(japanese, n)));
  }
  return true;
}

bool FavouriteExportRows(const DataFolders& folders, std::vector<ExportRow>& rows, std::string& error) {
  rows.clear();
  std::vector<EnglishBytes> records;
  const FavouritesFile favourites(folders.favourites);
  if (favourites.Read(records) != FavouritesResult::Done) {
    error = "cannot read " + favourites.FilePath().string();
    return false;
  }
  File e(folders.DataFile("English.dat")), j(folders.DataFile("Japanese.dat"));
  std::FILE* english = nullptr;
  std::FILE* japanese = nullptr;
  if (!OpenBoth(folders, english, japanese, e, j, error)) return false;
  for (const EnglishBytes& bytes : records) {
    const std::u16string line = FavouriteLineText(bytes);
    const std::int32_t n = DecodeEnglishRecord(bytes).number;
    if (line.empty() || n < 1 || n > kPhraseCount || !EnglishAt(english, n)) continue;
    rows.push_back(RowOf(n, line, JapaneseAt(japanese, n)));
  }
  return true;
}

bool WriteExport(const std::filesystem::path& folder, const std::vector<ExportRow>& rows,
                 const ExportClipReader& readClip, std::string& error) {
  if (rows.empty()) {
    error = "there are no phrases to export";
    return false;
  }
  std::error_code ec;
  if (std::filesystem::exists(folder, ec) && !std::filesystem::is_directory(folder, ec)) {
    error = folder.string() + " is not a folder";
    return false;
  }
  std::filesystem::create_directories(folder, ec);
  if (ec) {
    error = "cannot make the folder " + folder.string() + ": " + ec.message();
    return false;
  }
  // The recordings first: a table is only there when every sound it names is.
  std::vector<std::uint8_t> stream;
  for (const ExportRow& row : rows) {
    std::string why;
    if (!readClip(row.number, stream, why)) {
      error = "phrase " + std::to_string(row.number) + " has no recording: " + why;
      return false;
    }
    const std::filesystem::path path = folder / ExportSoundName(row.number);
    const std::string_view bytes(reinterpret_cast<const char*>(stream.data()), stream.size());
    if (const int e = WriteFileAtomically(path, bytes); e != 0) {
      error = "cannot write " + path.string() + ": " + Reason(e);
      return false;
    }
  }
  const std::filesystem::path table = folder / kExportTableName;
  if (const int e = WriteFileAtomically(table, ExportTableText(rows)); e != 0) {
    error = "cannot write " + table.string() + ": " + Reason(e);
    return false;
  }
  return true;
}

}  // namespace lexoria
