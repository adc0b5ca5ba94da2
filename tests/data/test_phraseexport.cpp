// SPDX-License-Identifier: GPL-3.0-or-later
// The export table and its writer, with recordings from a fake reader, and
// the UTF-8 conversion the table is written in.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "data/phraseexport.h"
#include "data/utf8.h"
#include "fixture.h"

namespace lexoria::test {
namespace {

namespace fs = std::filesystem;

using ExportTest = TempDirTest;

TEST(ExportTable, OneRowPerPhraseWithItsCellsCleaned) {
  const std::vector<ExportRow> rows = {
      {7, u"\uFEFFI'd like [a coffee].\r", u"\u30B3\u30FC\u30D2\u30FC\u3092 ", u"\u3053\u30FC\u3072\u30FC",
       u"K\u014Dh\u012B o\tkudasai\n"},
      {826, u"Help!", u"", u"", u""},
  };
  const std::string text = ExportTableText(rows);
  EXPECT_EQ(text,
            "#separator:tab\n#html:false\n#columns:English\tJapanese\tKana\tRomaji\tSound\n"
            "I'd like a coffee.\t\xE3\x82\xB3\xE3\x83\xBC\xE3\x83\x92\xE3\x83\xBC\xE3\x82\x92\t"
            "\xE3\x81\x93\xE3\x83\xBC\xE3\x81\xB2\xE3\x83\xBC\tK\xC5\x8Dh\xC4\xAB o kudasai\t[sound:0007.mp3]\n"
            "Help!\t\t\t\t[sound:0826.mp3]\n");
}

TEST(ExportTable, CategoryCodesAreTheButtonsOnly) {
  EXPECT_STREQ(ExportCategoryName(100), "Basic");
  EXPECT_STREQ(ExportCategoryName(1000), "Question");
  for (int code : {0, 1, 150, 1100, -100, 2000}) EXPECT_EQ(ExportCategoryName(code), nullptr) << code;
}

TEST_F(ExportTest, WritesTheRecordingsAndThenTheTable) {
  const std::vector<ExportRow> rows = {{1, u"One", u"", u"", u""}, {2, u"Two", u"", u"", u""}};
  std::vector<int> asked;
  const auto reader = [&](std::int32_t n, std::vector<std::uint8_t>& stream, std::string&) {
    asked.push_back(n);
    stream = {0xFF, 0xF3, static_cast<std::uint8_t>(n)};
    return true;
  };
  std::string error;
  ASSERT_TRUE(WriteExport("deck/inner", rows, reader, error)) << error;
  EXPECT_EQ(asked, (std::vector<int>{1, 2}));
  EXPECT_EQ(ReadFile("deck/inner/0002.mp3"), (std::vector<unsigned char>{0xFF, 0xF3, 2}));
  EXPECT_TRUE(fs::exists("deck/inner/phrases.tsv"));
  // No temporary file is left beside them.
  EXPECT_EQ(std::distance(fs::directory_iterator("deck/inner"), fs::directory_iterator{}), 3);
}

TEST_F(ExportTest, FailuresSayWhyAndLeaveNoTable) {
  const std::vector<ExportRow> rows = {{1, u"One", u"", u"", u""}, {2, u"Two", u"", u"", u""}};
  const auto good = [](std::int32_t, std::vector<std::uint8_t>& s, std::string&) {
    s = {0xFF, 0xFB};
    return true;
  };
  const auto secondMissing = [](std::int32_t n, std::vector<std::uint8_t>& s, std::string& why) {
    why = "no such clip";
    s = {0xFF, 0xFB};
    return n != 2;
  };
  WriteFile("plain", {1});
  struct Case {
    const char* folder;
    std::vector<ExportRow> rows;
    ExportClipReader reader;
    const char* says;
  };
  const std::vector<Case> cases = {
      {"a", {}, good, "no phrases"},
      {"plain", rows, good, "is not a folder"},
      {"plain/below", rows, good, "cannot make the folder"},
      {"b", rows, secondMissing, "phrase 2 has no recording: no such clip"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.folder);
    std::string error;
    EXPECT_FALSE(WriteExport(c.folder, c.rows, c.reader, error));
    EXPECT_NE(error.find(c.says), std::string::npos) << error;
    EXPECT_FALSE(fs::exists(fs::path(c.folder) / "phrases.tsv"));
  }
}

TEST_F(ExportTest, CategoryRowsComeFromThePhraseFiles) {
  WriteNumberedEnglish(20);
  WriteJapanese(std::vector<JapaneseRecord>(20, JapaneseRecord{u"romaji", u"\u99C5", u"\u3048\u304D"}));
  std::vector<ExportRow> rows;
  std::string error;
  ASSERT_TRUE(CategoryExportRows({}, 100, rows, error)) << error;
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ(rows.front().number, 1);
  EXPECT_EQ(rows.front().japanese, u"\u99C5");
  EXPECT_EQ(rows.front().romaji, u"romaji");
  // The fixture holds 20 phrases: the rows stop where English.dat does.
  EXPECT_LE(rows.size(), 20u);
  EXPECT_FALSE(CategoryExportRows({}, 150, rows, error));
  EXPECT_NE(error.find("no category 150"), std::string::npos);
  fs::remove("Japanese.dat");
  EXPECT_FALSE(CategoryExportRows({}, 100, rows, error));
  EXPECT_NE(error.find("Japanese.dat"), std::string::npos);
}

TEST_F(ExportTest, FavouriteRowsKeepFileOrderAndSkipStrangers) {
  WriteNumberedEnglish(5);
  WriteJapanese(std::vector<JapaneseRecord>(5, JapaneseRecord{u"r", u"j", u"k"}));
  std::vector<unsigned char> favourites;
  for (const auto& [text, n] :
       std::vector<std::pair<std::u16string, int>>{{u"Three", 3}, {u"Lost", 900}, {u"One", 1}}) {
    const EnglishBytes record = EncodeEnglishRecord(text, n);
    favourites.insert(favourites.end(), record.begin(), record.end());
  }
  WriteFile("favorite.dat", favourites);
  std::vector<ExportRow> rows;
  std::string error;
  ASSERT_TRUE(FavouriteExportRows({}, rows, error)) << error;
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].number, 3);
  EXPECT_EQ(rows[0].english, u"Three");
  EXPECT_EQ(rows[1].number, 1);
}

TEST(Utf8, RoundTripsAndRefusesMalformedBytes) {
  const std::u16string text = u"a\u00E9\u99C5\U0001F600";
  std::u16string back;
  ASSERT_TRUE(FromUtf8(ToUtf8(text), back));
  EXPECT_EQ(back, text);
  EXPECT_EQ(ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
  for (const char* bad : {"\x80", "\xC3", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE9\xA7", "\xFF"})
    EXPECT_FALSE(FromUtf8(bad, back)) << bad;
}

}  // namespace
}  // namespace lexoria::test
