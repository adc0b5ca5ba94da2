// SPDX-License-Identifier: GPL-3.0-or-later
// Damaged data files: the start-up check names the file, and the model shows
// nothing of a damaged record while everything else keeps working.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>

#include "data/datacheck.h"
#include "data/wellformed.h"
#include "fixture.h"
#include "sound/archivecheck.h"
#include "sound/cliparchive.h"

namespace lexoria {
namespace {

namespace fs = std::filesystem;
using test::U;

// 826 phrases "Phrase n" with "Pron n", "Kanji n", "Kana n", one template
// line each, phrase n related to n + 1, and one small clip each.
void WriteGoodSet() {
  test::WriteNumberedEnglish(kPhraseCount);
  std::vector<JapaneseRecord> japanese;
  std::vector<test::TemplateEntry> templates;
  std::vector<unsigned char> relate(static_cast<std::size_t>(kPhraseCount) * kRelateRowSize, 0);
  std::vector<std::vector<std::uint8_t>> clips;
  for (int n = 1; n <= kPhraseCount; ++n) {
    const std::u16string lead = n == 1 ? u"\uFEFF" : u"";
    const std::string k = std::to_string(n);
    japanese.push_back({lead + U("Pron " + k + "\r"), lead + U("Kanji " + k + "\r"), lead + U("Kana " + k + "\r")});
    templates.push_back({"Phrase " + k});
    const int next = n % kPhraseCount + 1;
    relate[static_cast<std::size_t>(n - 1) * kRelateRowSize + static_cast<std::size_t>(next - 1) / 8] |=
        static_cast<unsigned char>(0x80 >> ((next - 1) % 8));
    clips.push_back(std::vector<std::uint8_t>(16, static_cast<std::uint8_t>(n)));
  }
  test::WriteJapanese(japanese);
  test::WriteTemplates(templates);
  test::WriteFile("Relate.dat", relate);
  ASSERT_TRUE(sound::WriteArchive(fs::current_path(), clips));
}

enum class Damage { Empty, CutMidRecord, AllFF, Random, OneRecordFF };

struct DamageCase {
  const char* file;
  std::size_t recordSize;
  Damage damage;
};

void Apply(const DamageCase& c) {
  auto bytes = test::ReadFile(c.file);
  std::mt19937 random(1402);
  switch (c.damage) {
    case Damage::Empty: bytes.clear(); break;
    case Damage::CutMidRecord: bytes.resize(bytes.size() - c.recordSize / 2); break;
    case Damage::AllFF: std::fill(bytes.begin(), bytes.end(), 0xFF); break;
    case Damage::Random:
      for (auto& b : bytes) b = static_cast<unsigned char>(random());
      break;
    case Damage::OneRecordFF:
      std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>(154 * c.recordSize), c.recordSize, 0xFF);
      break;
  }
  test::WriteFile(c.file, bytes);
}

std::string Name(const ::testing::TestParamInfo<DamageCase>& info) {
  static const char* const damages[] = {"Empty", "Cut", "AllFF", "Random", "Record155FF"};
  std::string file = info.param.file;
  file.erase(std::remove(file.begin(), file.end(), '.'), file.end());
  return file + "_" + damages[static_cast<int>(info.param.damage)];
}

// A text the good set could show: a known prefix and a number, or nothing.
bool Genuine(const std::u16string& text) {
  if (text.empty()) return true;
  std::u16string t = text;
  if (t[0] == u'\uFEFF') t.erase(0, 1);
  for (const char* prefix : {"Phrase ", "Pron ", "Kanji ", "Kana "}) {
    const std::u16string p = U(prefix);
    if (t.compare(0, p.size(), p) == 0 && std::all_of(t.begin() + static_cast<std::ptrdiff_t>(p.size()), t.end(),
                                                      [](char16_t u) { return u >= u'0' && u <= u'9'; }))
      return true;
  }
  return false;
}

class DamagedFile : public test::TempDirTest, public ::testing::WithParamInterface<DamageCase> {};

TEST_P(DamagedFile, IsNamedOnceAndShowsNoGarbage) {
  WriteGoodSet();
  ASSERT_TRUE(DamagedPhraseFiles({}).empty());
  ASSERT_TRUE(sound::DamagedArchiveFiles({}, kPhraseCount).empty());
  const DamageCase& c = GetParam();
  Apply(c);

  std::vector<std::string> named = DamagedPhraseFiles({});
  const auto archive = sound::DamagedArchiveFiles({}, kPhraseCount);
  named.insert(named.end(), archive.begin(), archive.end());
  EXPECT_EQ(named, std::vector<std::string>{c.file});
  EXPECT_EQ(DamagedFilesMessage(named),
            std::string("The data file ") + c.file + " is damaged. Please reinstall the program!");

  // The model over the damaged set: every line of the whole range, each
  // shown, then its related phrases; nothing but genuine texts appears.
  test::Book b;
  b.book.SetPhraseFilesDamaged(true);
  b.book.OpenPhraseFiles();
  b.book.SetViewMode(kViewBrowse);
  ASSERT_EQ(b.book.LoadEnglishRange(1, kPhraseCount), 1);
  const auto lines = b.LineTexts();
  int shown = 0;
  for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
    ASSERT_TRUE(Genuine(lines[static_cast<std::size_t>(i)])) << i;
    b.Select(i);
    ASSERT_TRUE(Genuine(b.book.PronunciationText())) << i;
    ASSERT_TRUE(Genuine(b.book.JapaneseText())) << i;
    if (b.book.PhraseSelected()) ++shown;
  }
  if (b.book.ShowRelatedPhrasesOf(2) == RelatedResult::Listed) {
    for (const auto& line : b.LineTexts()) ASSERT_TRUE(Genuine(line));
  }
  EXPECT_TRUE(b.Log().messages.empty()) << b.Log().messages[0];

  // What the other files hold still works.
  const std::string file = c.file;
  if (file != "English.dat" && file != "MapEngSpec.data") {
    EXPECT_EQ(shown, kPhraseCount);
  }
  if (c.damage == Damage::OneRecordFF) {
    EXPECT_GE(shown, kPhraseCount - 1);
    EXPECT_GE(lines.size(), static_cast<std::size_t>(kPhraseCount - 1));
  }
}

std::vector<DamageCase> Cases() {
  const DamageCase files[] = {{"English.dat", kEnglishRecordSize, Damage::Empty},
                              {"Japanese.dat", kJapaneseRecordSize, Damage::Empty},
                              {"MapEngSpec.data", kTemplateRecordSize, Damage::Empty},
                              {"Relate.dat", kRelateRowSize, Damage::Empty},
                              {"data.idx", sound::kIndexEntrySize, Damage::Empty}};
  std::vector<DamageCase> cases;
  for (DamageCase f : files)
    for (Damage d : {Damage::Empty, Damage::CutMidRecord, Damage::AllFF, Damage::Random, Damage::OneRecordFF}) {
      f.damage = d;
      cases.push_back(f);
    }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(DataCheck, DamagedFile, ::testing::ValuesIn(Cases()), Name);

class DataCheck : public test::TempDirTest {};

TEST_F(DataCheck, MissingFilesAreLeftToTheirOwnMessagesAndSeveralAreNamedTogether) {
  EXPECT_TRUE(DamagedPhraseFiles({}).empty());
  EXPECT_TRUE(sound::DamagedArchiveFiles({}, kPhraseCount).empty());
  test::WriteFile("English.dat", {1, 2, 3});
  test::WriteFile("Relate.dat", {});
  EXPECT_EQ(DamagedPhraseFiles({}), (std::vector<std::string>{"English.dat", "Relate.dat"}));
  EXPECT_EQ(DamagedFilesMessage({"English.dat", "Relate.dat"}),
            "The data files English.dat, Relate.dat are damaged. Please reinstall the program!");
  // Found in the data folder, not the working one.
  fs::create_directory("share");
  fs::rename("English.dat", "share/English.dat");
  EXPECT_EQ(DamagedPhraseFiles({"share", {}}), (std::vector<std::string>{"English.dat"}));
}

TEST(WellFormed, TextRules) {
  EXPECT_TRUE(WellFormedText(u"\uFEFFCaf\u00E9 \u6771\u4EAC\t\r\n"));
  EXPECT_TRUE(WellFormedText(u"\U0001F600"));  // a pair
  EXPECT_FALSE(WellFormedText(u"a\uFEFF"));
  EXPECT_FALSE(WellFormedText(std::u16string(1, char16_t{0xD800})));
  EXPECT_FALSE(WellFormedText(std::u16string(1, char16_t{0xDC00})));
  EXPECT_FALSE(WellFormedText(u"\uFFFF"));
  EXPECT_FALSE(WellFormedText(u"\uE000"));
  EXPECT_FALSE(WellFormedText(u"\x01"));
  EXPECT_FALSE(WellFormedText(u"\x85"));
}

TEST(WellFormed, TemplateRules) {
  auto make = [](std::string_view text, std::int16_t group = 1) {
    TemplateBytes b{};
    std::copy(text.begin(), text.end(), b.begin());
    b[176] = static_cast<unsigned char>(group & 0xFF);
    b[177] = static_cast<unsigned char>((group >> 8) & 0xFF);
    return b;
  };
  EXPECT_TRUE(WellFormedTemplate(make("Where is [the station|the airport]?", 2)));
  EXPECT_TRUE(WellFormedTemplate(make("Caf\xE9 [cr\xE8me] two\nlines")));
  EXPECT_TRUE(WellFormedTemplate(make("")));
  EXPECT_FALSE(WellFormedTemplate(make("[a|[b]]")));
  EXPECT_FALSE(WellFormedTemplate(make("a]")));
  EXPECT_FALSE(WellFormedTemplate(make("[a")));
  EXPECT_FALSE(WellFormedTemplate(make("a|b")));
  EXPECT_FALSE(WellFormedTemplate(make("a\x01")));
  EXPECT_FALSE(WellFormedTemplate(make("a", 827)));
  TemplateBytes padded = make("a");
  padded[100] = 'x';
  EXPECT_FALSE(WellFormedTemplate(padded));
  TemplateBytes unterminated = make(std::string(176, 'a'));
  EXPECT_FALSE(WellFormedTemplate(unterminated));
}

}  // namespace
}  // namespace lexoria
