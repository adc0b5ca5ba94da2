// SPDX-License-Identifier: GPL-3.0-or-later
// Shared test fixture: a fresh temporary working directory per test (every
// data file name is relative to it), a log of what the model's changes
// would have the window do, and writers for small phrase files.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "data/phrasebook.h"
#include "data/records.h"

namespace lexoria::test {

class TempDirTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  std::filesystem::path dir_;
  std::filesystem::path previous_;
};

// What the window does with the book's changes, recorded: the messages it
// would show, the clips it would load (succeeding unless told otherwise),
// and how often it would transfer, refill the list, select the favourites
// category and read the controls.
struct ChangeLog {
  std::vector<std::string> messages;
  std::vector<std::int32_t> clips;
  int toControls = 0;  // PhraseShown
  int repaints = 0;    // PhraseShown repaints the text area too
  int fromControls = 0;
  int listChanged = 0;
  int selectCategory = 0;
  // What the controls hold, read back before a search.
  std::u16string controlKeyWord;
  std::int32_t controlExact = 0;
  bool clipSucceeds = true;
};

// A model with what its window would do, files opened from the temporary
// directory.
struct Book {
  PhraseBook book;
  // The changes so far, taken from the book.
  ChangeLog& Log();
  std::vector<std::u16string> LineTexts() const;
  // Selects a line and shows it, as the window's selection handler does.
  void Select(int index) {
    book.SetSelection(index);
    book.ShowSelectedPhrase();
    Log();
  }
  // The key word and the switch from the controls, then the search, as the
  // window's search handler does.
  void SearchPhrases();
  // Button 1026 as the window runs it: the favourites category when there
  // are favourites.
  void ShowFavourites();

 private:
  ChangeLog log_;
};

void WriteFile(const std::string& name, const std::vector<unsigned char>& bytes);
// What a favourites rewrite left behind in the folder: names it writes
// (temp.dat-XXXXXX), empty when it cleaned up.
std::vector<std::string> ScratchFiles(const std::filesystem::path& folder = ".");
std::vector<unsigned char> ReadFile(const std::string& name);

struct EnglishEntry {
  std::u16string text;  // as stored, CR and mark included
  std::int32_t number;
};
void WriteEnglish(const std::vector<EnglishEntry>& entries, const std::string& name = "English.dat");
// n records "Phrase <k>\r" numbered k = 1..n, record 1 with the mark.
void WriteNumberedEnglish(int n);
void WriteJapanese(const std::vector<JapaneseRecord>& records);
struct TemplateEntry {
  std::string text;
  std::int16_t groupSize = 1;
};
void WriteTemplates(const std::vector<TemplateEntry>& entries);

std::u16string U(std::string_view ascii);

}  // namespace lexoria::test
