// Shared test fixture: a fresh temporary working directory per test (every
// data file name is relative to it), a host that records what the model asks
// of the window, and writers for small phrase files.
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

struct FakeHost : PhraseBookHost {
  std::vector<std::string> messages;
  std::vector<std::int32_t> clips;
  int toControls = 0;
  int fromControls = 0;
  int listChanged = 0;
  int selectCategory = 0;
  int repaints = 0;
  // What the controls hold, handed over by TransferFromControls.
  std::u16string controlKeyWord;
  std::int32_t controlExact = 0;
  PhraseBook* book = nullptr;
  bool clipSucceeds = true;

  void ShowMessage(std::string_view text) override { messages.emplace_back(text); }
  void TransferToControls() override;
  void TransferFromControls() override;
  void LoadClip(std::int32_t phrase) override;
  void PhraseListChanged() override { ++listChanged; }
  void SelectCategory() override;
  void RepaintTextArea() override { ++repaints; }
};

// A model with its fake host, files opened from the temporary directory.
struct Book {
  FakeHost host;
  PhraseBook book{host};
  Book() { host.book = &book; }
  std::vector<std::u16string> LineTexts() const;
  // Selects a line and shows it, as the window's selection handler does.
  void Select(int index) {
    book.SetSelection(index);
    book.ShowSelectedPhrase();
  }
};

void WriteFile(const std::string& name, const std::vector<unsigned char>& bytes);
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
