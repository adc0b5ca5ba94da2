// SPDX-License-Identifier: GPL-3.0-or-later
// Relate.dat: the related phrases of the phrase whose clip is loaded.
#include <gtest/gtest.h>

#include <filesystem>

#include "data/related.h"
#include "fixture.h"

namespace lexoria {
namespace {

using test::Book;

void WriteRelate(const std::vector<std::pair<std::int32_t, std::vector<std::int32_t>>>& rows, int rowCount = 826) {
  std::vector<unsigned char> bytes(static_cast<std::size_t>(rowCount) * kRelateRowSize, 0);
  for (const auto& [source, related] : rows)
    for (const std::int32_t n : related)
      bytes[static_cast<std::size_t>(source - 1) * kRelateRowSize + static_cast<std::size_t>(n - 1) / 8] |=
          static_cast<unsigned char>(0x80u >> ((n - 1) % 8));
  test::WriteFile("Relate.dat", bytes);
}

class Related : public test::TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    test::WriteEnglish(
        {{u"\uFEFFHello\r", 1}, {u"Two\r", 2}, {u"Three\r", 3}, {u"Where is [the station]?\r", 4}, {u"Five\t\r", 5}});
    test::WriteJapanese({{u"\uFEFFp1\r", u"\uFEFFj1\r", u""},
                         {u"p2\r", u"j2\r", u""},
                         {u"p3\r", u"j3\r", u""},
                         {u"p4\r", u"j4\r", u""},
                         {u"p5\r", u"j5\r", u""}});
    b.book.OpenPhraseFiles();
  }
  bool Show(std::int32_t clip) {
    b.book.SetCurrentClip(clip);
    return b.book.ShowRelatedPhrases();
  }
  Book b;
};

TEST_F(Related, PhraseOneAloneKeepsItsMarkAndIsStillFound) {
  WriteRelate({{2, {1}}});
  ASSERT_TRUE(Show(2));
  ASSERT_EQ(b.LineTexts(), std::vector<std::u16string>{u"\uFEFFHello"});
  EXPECT_EQ(b.book.Map(), (PhraseMap{{u"\uFEFFHello", u"1"}}));
  b.Select(0);
  EXPECT_TRUE(b.Log().messages.empty());
  EXPECT_EQ(b.book.CurrentPhrase(), 1);
  EXPECT_EQ(b.book.JapaneseText(), u"j1");
}

TEST_F(Related, LinesInAscendingPhraseNumberAndTabsRemoved) {
  WriteRelate({{1, {5, 3}}, {3, {3}}});
  ASSERT_TRUE(Show(1));
  EXPECT_EQ(b.LineTexts(), (std::vector<std::u16string>{u"Three", u"Five"}));
  ASSERT_TRUE(b.book.Lines()[0].item);
  EXPECT_EQ(b.book.Lines()[0].item->DisplayText(), u"Three");
  ASSERT_TRUE(Show(3));  // related to itself
  EXPECT_EQ(b.LineTexts(), std::vector<std::u16string>{u"Three"});
}

TEST_F(Related, AGroupPhraseShowsItsOwnTextWithItsChoiceInBrackets) {
  WriteRelate({{2, {4}}});
  ASSERT_TRUE(Show(2));
  EXPECT_EQ(b.LineTexts(), std::vector<std::u16string>{u"Where is [the station]?"});
  b.Select(0);
  EXPECT_EQ(b.book.CurrentPhrase(), 4);
}

TEST_F(Related, AskingAgainFollowsTheFirstRelatedPhraseShown) {
  WriteRelate({{2, {3, 5}}, {3, {1, 4}}});
  ASSERT_TRUE(Show(2));
  // What the window does on success: clip -1, then select and show line 0.
  b.book.SetCurrentClip(-1);
  b.Select(0);
  EXPECT_EQ(b.book.CurrentClip(), 3);
  ASSERT_TRUE(b.book.ShowRelatedPhrases());
  EXPECT_EQ(b.LineTexts(), (std::vector<std::u16string>{u"\uFEFFHello", u"Where is [the station]?"}));
}

TEST_F(Related, NothingToShowLeavesListMapAndModeAlone) {
  b.book.LoadAllEnglish();
  b.book.AddEnglishItems(2, 2);
  const auto lines = b.LineTexts();
  const PhraseMap map = b.book.Map();
  EXPECT_FALSE(Show(2));  // no Relate.dat
  WriteRelate({{1, {2}}});
  EXPECT_FALSE(Show(2));    // an empty row
  EXPECT_FALSE(Show(827));  // no such row
  EXPECT_FALSE(Show(-1));
  EXPECT_EQ(b.LineTexts(), lines);
  EXPECT_EQ(b.book.Map(), map);
  EXPECT_EQ(b.book.ViewMode(), kViewBrowse);
  EXPECT_TRUE(b.Log().messages.empty());
}

TEST_F(Related, WithoutEnglishDatTheListIsEmptiedAndTheResultIsTrue) {
  WriteRelate({{2, {1, 3}}});
  std::filesystem::remove("English.dat");
  b.book.OpenPhraseFiles();
  b.book.AddEnglishItems(1, 1);  // not open: nothing
  EXPECT_TRUE(b.book.Lines().empty());
  test::WriteTemplates({{"x"}});
  b.book.FillTemplateRange(1, 1);
  ASSERT_EQ(b.book.Lines().size(), 1u);
  EXPECT_TRUE(Show(2));
  EXPECT_TRUE(b.book.Lines().empty());
}

TEST_F(Related, TheLastPhraseAndAShortFileKeepingThePreviousRows) {
  WriteRelate({{5, {826, 2}}, {4, {3}}});
  ASSERT_TRUE(Show(5));
  EXPECT_EQ(b.LineTexts(), std::vector<std::u16string>{u"Two"});  // English.dat has no phrase 826
  // A file of two and a half rows: rows 3 on keep what the last read gave.
  WriteRelate({{1, {2}}}, 2);
  auto bytes = test::ReadFile("Relate.dat");
  bytes.insert(bytes.end(), 50, 0xFF);
  test::WriteFile("Relate.dat", bytes);
  ASSERT_TRUE(Show(4));
  EXPECT_EQ(b.LineTexts(), std::vector<std::u16string>{u"Three"});
  EXPECT_FALSE(Show(2));
  ASSERT_TRUE(Show(1));
  EXPECT_EQ(b.LineTexts(), std::vector<std::u16string>{u"Two"});
}

TEST_F(Related, AddEnglishItemsAddsToTheListAndTheMap) {
  b.book.AddEnglishItems(2, 3);
  b.book.AddEnglishItems(5, 9);  // past the end: stops with what was read
  EXPECT_EQ(b.LineTexts(), (std::vector<std::u16string>{u"Two", u"Three", u"Five"}));
  EXPECT_EQ(b.book.Map().size(), 3u);
  EXPECT_EQ(b.Log().toControls, 2);
}

}  // namespace
}  // namespace lexoria
