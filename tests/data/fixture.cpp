// SPDX-License-Identifier: GPL-3.0-or-later
#include "fixture.h"

#include "data/favouritesfile.h"

#include <fstream>
#include <iterator>
#include <random>

namespace lexoria::test {

void TempDirTest::SetUp() {
  previous_ = std::filesystem::current_path();
  std::random_device rd;
  dir_ = std::filesystem::temp_directory_path() / ("lexoria-data-" + std::to_string(rd()) + std::to_string(rd()));
  std::filesystem::create_directories(dir_);
  std::filesystem::current_path(dir_);
}

void TempDirTest::TearDown() {
  std::filesystem::current_path(previous_);
  std::error_code ec;
  std::filesystem::remove_all(dir_, ec);
}

ChangeLog& Book::Log() {
  for (const BookChange& change : book.TakeChanges()) {
    switch (change.kind) {
      case BookChange::Kind::ListRefilled: ++log_.listChanged; break;
      case BookChange::Kind::PhraseShown:
        ++log_.toControls;
        ++log_.repaints;
        break;
      case BookChange::Kind::ClipWanted:
        log_.clips.push_back(change.phrase);
        if (log_.clipSucceeds) book.SetCurrentClip(change.phrase);
        break;
      case BookChange::Kind::Message: log_.messages.push_back(change.text); break;
    }
  }
  return log_;
}

void Book::SearchPhrases() {
  Log();
  ++log_.fromControls;
  book.SetKeyWord(log_.controlKeyWord);
  book.SetExactMatch(log_.controlExact);
  book.SearchPhrases();
  Log();
}

void Book::ShowFavourites() {
  const bool show = book.ShowFavourites();
  Log();
  if (!show) return;
  // What the window's SelectCategory does for the favourites key.
  ++log_.selectCategory;
  book.ListFavourites();
  book.SetFavouritesView(true);
  Log();
}

std::vector<std::u16string> Book::LineTexts() const {
  std::vector<std::u16string> texts;
  for (const ListLine& line : book.Lines()) texts.push_back(line.text);
  return texts;
}

void WriteFile(const std::string& name, const std::vector<unsigned char>& bytes) {
  std::ofstream out(name, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::string> ScratchFiles(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind(kFavouritesTempPrefix, 0) == 0) names.push_back(name);
  }
  return names;
}

std::vector<unsigned char> ReadFile(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteEnglish(const std::vector<EnglishEntry>& entries, const std::string& name) {
  std::vector<unsigned char> bytes;
  for (const EnglishEntry& e : entries) {
    const EnglishBytes r = EncodeEnglishRecord(e.text, e.number);
    bytes.insert(bytes.end(), r.begin(), r.end());
  }
  WriteFile(name, bytes);
}

void WriteNumberedEnglish(int n) {
  std::vector<EnglishEntry> entries;
  for (int k = 1; k <= n; ++k)
    entries.push_back({(k == 1 ? u"\uFEFF" : u"") + U("Phrase " + std::to_string(k) + "\r"), k});
  WriteEnglish(entries);
}

void WriteJapanese(const std::vector<JapaneseRecord>& records) {
  std::vector<unsigned char> bytes;
  for (const JapaneseRecord& r : records) {
    const JapaneseBytes b = EncodeJapaneseRecord(r);
    bytes.insert(bytes.end(), b.begin(), b.end());
  }
  WriteFile("Japanese.dat", bytes);
}

void WriteTemplates(const std::vector<TemplateEntry>& entries) {
  std::vector<unsigned char> bytes;
  for (const TemplateEntry& e : entries) {
    TemplateBytes r{};
    std::copy(e.text.begin(), e.text.begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(e.text.size(), 175)),
              r.begin());
    const auto g = static_cast<std::uint16_t>(e.groupSize);
    r[176] = static_cast<unsigned char>(g & 0xFF);
    r[177] = static_cast<unsigned char>(g >> 8);
    bytes.insert(bytes.end(), r.begin(), r.end());
  }
  WriteFile("MapEngSpec.data", bytes);
}

std::u16string U(std::string_view ascii) { return std::u16string(ascii.begin(), ascii.end()); }

}  // namespace lexoria::test
