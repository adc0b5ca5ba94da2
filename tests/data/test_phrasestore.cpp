// SPDX-License-Identifier: GPL-3.0-or-later
// English.dat and Japanese.dat: loading ranges into the phrase map, loading
// everything, reading Japanese records and showing the selected line.
#include <gtest/gtest.h>

#include <filesystem>

#include "fixture.h"

namespace lexoria {
namespace {

using test::Book;
using test::U;
using test::WriteEnglish;
using test::WriteJapanese;
using test::WriteNumberedEnglish;
using test::WriteTemplates;

class PhraseStore : public test::TempDirTest {};

TEST_F(PhraseStore, OpenSetsEachFlagByItsOwnOpen) {
  Book b;
  b.book.OpenPhraseFiles();
  EXPECT_FALSE(b.book.EnglishOpen());
  EXPECT_FALSE(b.book.JapaneseOpen());
  EXPECT_TRUE(b.book.FavouritesOpen());  // created empty on first open
  EXPECT_TRUE(std::filesystem::exists("favorite.dat"));
  EXPECT_EQ(std::filesystem::file_size("favorite.dat"), 0u);
  EXPECT_TRUE(b.Log().messages.empty());

  WriteNumberedEnglish(3);
  WriteJapanese({{u"p\r", u"a\r", u"b\r"}});
  b.book.OpenPhraseFiles();  // closes and reopens everything
  EXPECT_TRUE(b.book.EnglishOpen());
  EXPECT_TRUE(b.book.JapaneseOpen());
}

TEST_F(PhraseStore, LoadEnglishRangeWithoutTheFileChangesNothing) {
  WriteTemplates({{"Phrase 1"}});
  Book b;
  b.book.OpenPhraseFiles();
  b.book.LoadAllEnglish();  // no file: message, map stays empty
  ASSERT_EQ(b.Log().messages, std::vector<std::string>{"Can't read file"});
  b.book.FillTemplateRange(1, 1);
  ASSERT_EQ(b.book.Lines().size(), 1u);
  EXPECT_EQ(b.book.LoadEnglishRange(1, 1), 0);
  EXPECT_EQ(b.book.Lines().size(), 1u);
  EXPECT_EQ(b.Log().toControls, 0);
}

TEST_F(PhraseStore, BrowseFillsMapFromRecordsAndListFromTemplates) {
  WriteNumberedEnglish(6);
  WriteTemplates({{"Phrase 1"}, {"Phrase 2"}, {"Phrase 3"}, {"Phrase 4"}, {"Phrase 5"}, {"Phrase 6"}});
  Book b;
  b.book.OpenPhraseFiles();
  EXPECT_EQ(b.book.LoadEnglishRange(2, 4), 1);
  const PhraseMap expected{{u"Phrase 2", u"2"}, {u"Phrase 3", u"3"}, {u"Phrase 4", u"4"}};
  EXPECT_EQ(b.book.Map(), expected);
  EXPECT_EQ(b.LineTexts(), (std::vector<std::u16string>{u"Phrase 2", u"Phrase 3", u"Phrase 4"}));
  EXPECT_EQ(b.Log().toControls, 1);

  // The map is emptied before every refill.
  EXPECT_EQ(b.book.LoadEnglishRange(1, 1), 1);
  EXPECT_EQ(b.book.Map(), (PhraseMap{{u"Phrase 1", u"1"}}));
}

TEST_F(PhraseStore, MapValueIsTheRecordsOwnNumberAndLaterDuplicatesWin) {
  WriteEnglish({{u"\uFEFFA\r", 1}, {u"B\r", 2}, {u"Same\r", 3}, {u"Same\r", 4}, {u"Seven\r", 7}});
  WriteTemplates({{"A"}, {"B"}, {"Same"}, {"Same"}, {"Seven"}});
  WriteJapanese(
      {{u"p1\r", u"j1\r", u"k1\r"}, {}, {}, {u"p4\r", u"j4\r", u"k4\r"}, {}, {}, {u"p7\r", u"j7\r", u"k7\r"}});
  Book b;
  b.book.OpenPhraseFiles();
  ASSERT_EQ(b.book.LoadEnglishRange(1, 5), 1);
  EXPECT_EQ(b.book.Map().at(u"Same"), u"4");
  EXPECT_EQ(b.book.Map().at(u"Seven"), u"7");
  b.Select(2);  // the first "Same" line
  EXPECT_EQ(b.book.CurrentPhrase(), 4);
  EXPECT_EQ(b.book.JapaneseText(), u"j4");
  b.Select(4);
  EXPECT_EQ(b.book.CurrentPhrase(), 7);
  EXPECT_EQ(b.book.PronunciationText(), u"p7");
  EXPECT_EQ(b.Log().clips, (std::vector<std::int32_t>{4, 7}));
}

TEST_F(PhraseStore, ARangePastTheEndOfTheFileStopsWithWhatWasRead) {
  WriteNumberedEnglish(3);
  // Append half a record: it must not become a phrase.
  auto bytes = test::ReadFile("English.dat");
  bytes.insert(bytes.end(), 60, 'z');
  test::WriteFile("English.dat", bytes);
  WriteTemplates({{"Phrase 1"}, {"Phrase 2"}, {"Phrase 3"}});
  Book b;
  b.book.OpenPhraseFiles();
  EXPECT_EQ(b.book.LoadEnglishRange(2, 10), 1);
  EXPECT_EQ(b.book.Map().size(), 2u);
  EXPECT_EQ(b.LineTexts(), (std::vector<std::u16string>{u"Phrase 2", u"Phrase 3"}));  // template file ends too
  EXPECT_EQ(b.book.LoadEnglishRange(9, 12), 1);
  EXPECT_TRUE(b.book.Map().empty());
}

TEST_F(PhraseStore, OutsideBrowseModeOnlyTheMapIsFilled) {
  WriteNumberedEnglish(3);
  Book b;
  b.book.OpenPhraseFiles();
  WriteTemplates({{"Phrase 1"}});
  b.book.FillTemplateRange(1, 1);
  std::filesystem::remove("MapEngSpec.data");
  b.book.SetViewMode(kViewSearch);
  EXPECT_EQ(b.book.LoadEnglishRange(1, 3), 1);
  EXPECT_EQ(b.book.Map().size(), 3u);
  EXPECT_EQ(b.LineTexts(), std::vector<std::u16string>{u"Phrase 1"});
  EXPECT_TRUE(b.Log().messages.empty());
}

TEST_F(PhraseStore, BrowseWithoutTemplateFileEmptiesTheListAndSays) {
  WriteNumberedEnglish(3);
  WriteTemplates({{"Phrase 1"}});
  Book b;
  b.book.OpenPhraseFiles();
  b.book.FillTemplateRange(1, 1);
  std::filesystem::remove("MapEngSpec.data");
  EXPECT_EQ(b.book.LoadEnglishRange(1, 3), 1);
  EXPECT_TRUE(b.book.Lines().empty());
  EXPECT_EQ(b.Log().messages, std::vector<std::string>{"Can't read MapEngSpec file"});
}

TEST_F(PhraseStore, LoadAllEnglishReadsAtMost826RecordsOnItsOwnHandle) {
  Book b;
  b.book.OpenPhraseFiles();  // no English.dat yet: the held handle is closed
  WriteNumberedEnglish(830);
  b.book.LoadAllEnglish();
  EXPECT_EQ(b.book.Map().size(), 826u);
  EXPECT_EQ(b.book.Map().count(u"Phrase 826"), 1u);
  EXPECT_EQ(b.book.Map().count(u"Phrase 827"), 0u);
  EXPECT_EQ(b.book.Map().at(u"Phrase 1"), u"1");  // the mark is gone from phrase 1
  EXPECT_TRUE(b.Log().messages.empty());
}

TEST_F(PhraseStore, EveryLoaderStopsAfter826Records) {
  WriteNumberedEnglish(830);
  Book b;
  b.book.OpenPhraseFiles();
  b.book.SetViewMode(kViewSearch);
  b.book.LoadEnglishRange(820, 900);
  EXPECT_EQ(b.book.Map().size(), 7u);
  b.book.SetViewMode(kViewRelated);
  b.book.AddEnglishItems(826, 828);
  EXPECT_EQ(b.LineTexts(), std::vector<std::u16string>{u"Phrase 826"});
}

TEST_F(PhraseStore, RangeKeysOfTravelSignsAndTrainBus) {
  WriteNumberedEnglish(826);
  Book b;
  b.book.OpenPhraseFiles();
  b.book.SetViewMode(kViewSearch);  // map only
  const auto signs = PhraseRangeOf(205);
  ASSERT_TRUE(signs);
  b.book.LoadEnglishRange(signs->first, signs->last);
  EXPECT_EQ(b.book.Map().size(), 25u);
  EXPECT_EQ(b.book.Map().count(u"Phrase 251"), 1u);
  EXPECT_EQ(b.book.Map().count(u"Phrase 275"), 1u);
  const auto train = PhraseRangeOf(206);
  ASSERT_TRUE(train);
  b.book.LoadEnglishRange(train->first, train->last);
  EXPECT_EQ(b.book.Map().size(), 38u);
  EXPECT_EQ(b.book.Map().count(u"Phrase 213"), 1u);
  EXPECT_EQ(b.book.Map().count(u"Phrase 250"), 1u);
}

TEST_F(PhraseStore, ReadJapaneseRecordIsEmptyWhereThereIsNoRecord) {
  WriteJapanese({{u"\uFEFFp1\r", u"\uFEFFa1\r", u"\uFEFFb1\r"}, {u"p2\r", u"a2\r", u"b2\r"}});
  auto bytes = test::ReadFile("Japanese.dat");
  bytes.insert(bytes.end(), 300, 'q');  // a partial third record
  test::WriteFile("Japanese.dat", bytes);
  Book b;
  b.book.OpenPhraseFiles();
  const JapaneseRecord two = b.book.ReadJapaneseRecord(2);
  EXPECT_EQ(two.pronunciation, u"p2\r");
  EXPECT_EQ(two.second, u"b2\r");
  EXPECT_EQ(b.book.ReadJapaneseRecord(1).first, u"\uFEFFa1\r");  // nothing removed here
  for (const std::int32_t n : {0, -5, 3, 4, 826}) {
    const JapaneseRecord r = b.book.ReadJapaneseRecord(n);
    EXPECT_TRUE(r.pronunciation.empty() && r.first.empty() && r.second.empty()) << n;
  }
  // Reading again after a failed read still works (every read seeks first).
  EXPECT_EQ(b.book.ReadJapaneseRecord(2).first, u"a2\r");

  Book closed;
  std::filesystem::remove("Japanese.dat");
  closed.book.OpenPhraseFiles();
  EXPECT_TRUE(closed.book.ReadJapaneseRecord(1).pronunciation.empty());
}

class ShowSelected : public test::TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    WriteEnglish({{u"\uFEFFHello\r", 1}, {u"Thanks\r", 2}, {u"NoCr", 3}, {u"Empty\r", 4}});
    WriteTemplates({{"Hello"}, {"Thanks"}, {"NoCr"}, {"Empty"}});
    WriteJapanese({{u"\uFEFFKonnichiwa\r", u"\uFEFF\u4eca\u65e5\u306f\r", u"\uFEFF\u3053\u3093\r"},
                   {u"Arigato\r", u"First\r", u"Second\r"},
                   {u"NoCr", u"Jx", u"Kx"},
                   {u"", u"", u"Z"}});
    b.book.OpenPhraseFiles();
    ASSERT_EQ(b.book.LoadEnglishRange(1, 4), 1);
  }
  Book b;
};

TEST_F(ShowSelected, PhraseOneLosesItsMarkFromKeyAndBothTexts) {
  EXPECT_EQ(b.book.Lines()[0].text, u"Hello");
  b.Select(0);
  EXPECT_EQ(b.book.SelectedLineText(), u"Hello");
  EXPECT_EQ(b.book.CurrentPhrase(), 1);
  EXPECT_EQ(b.book.PronunciationText(), u"Konnichiwa");
  EXPECT_EQ(b.book.JapaneseText(), u"\u4eca\u65e5\u306f");
  EXPECT_EQ(b.book.CurrentJapaneseRecord().first, u"\uFEFF\u4eca\u65e5\u306f\r");
  EXPECT_EQ(b.Log().clips, std::vector<std::int32_t>{1});
  EXPECT_EQ(b.book.CurrentSelectionIndex(), 0);
}

TEST_F(ShowSelected, TheLastUnitGoesEvenWithoutCarriageReturnAndOtherPhrasesKeepTheirFirst) {
  b.Select(2);
  EXPECT_EQ(b.book.PronunciationText(), u"NoC");
  EXPECT_EQ(b.book.JapaneseText(), u"J");
  b.Select(3);
  EXPECT_EQ(b.book.PronunciationText(), u"");
  EXPECT_EQ(b.book.JapaneseText(), u"");
  b.Select(1);
  EXPECT_EQ(b.book.PronunciationText(), u"Arigato");
}

TEST_F(ShowSelected, SwitchingTheJapaneseFormChangesOnlyTheJapaneseText) {
  b.Select(1);
  EXPECT_EQ(b.book.JapaneseText(), u"First");
  b.book.SetJapaneseForm(false);
  b.book.ShowSelectedPhrase();
  EXPECT_EQ(b.book.JapaneseText(), u"Second");
  EXPECT_EQ(b.book.PronunciationText(), u"Arigato");
  EXPECT_EQ(b.book.CurrentPhrase(), 2);
  b.book.SetJapaneseForm(true);
  b.Select(3);
  b.book.SetJapaneseForm(false);
  b.book.ShowSelectedPhrase();
  EXPECT_EQ(b.book.JapaneseText(), u"");  // "Z" loses its last unit
}

// Mended: the original kept the phrase shown before as the current phrase,
// so the star, Play and Related went on acting on it.
TEST_F(ShowSelected, ALineNotInTheMapSaysSoAndLeavesNoPhraseSelected) {
  b.Select(1);
  EXPECT_TRUE(b.book.PhraseSelected());
  ASSERT_TRUE(b.book.ReplaceLineText(0, u"Not a phrase"));
  b.Select(0);
  EXPECT_EQ(b.Log().messages, std::vector<std::string>{"This phrase can't be found"});
  EXPECT_FALSE(b.book.PhraseSelected());
  EXPECT_EQ(b.book.CurrentPhrase(), 0);
  EXPECT_EQ(b.book.PronunciationText(), u"");
  EXPECT_EQ(b.book.JapaneseText(), u"");
  EXPECT_EQ(b.Log().clips, std::vector<std::int32_t>{2});
  EXPECT_EQ(b.book.SelectedLineText(), u"Not a phrase");
  EXPECT_EQ(b.book.CurrentSelectionIndex(), 0);
}

TEST_F(ShowSelected, EmptyListOrNoSelectionDoesNothing) {
  b.book.ClearList();
  b.Select(0);
  EXPECT_TRUE(b.Log().clips.empty());
  EXPECT_TRUE(b.Log().messages.empty());
  ASSERT_EQ(b.book.LoadEnglishRange(1, 4), 1);
  b.Select(-1);
  b.Select(17);
  EXPECT_TRUE(b.Log().clips.empty());
  EXPECT_TRUE(b.Log().messages.empty());
}

TEST_F(PhraseStore, LinesOf59UnitsAreFoundAndLongerOnesAreCut) {
  const std::u16string u59(59, u'w');
  std::u16string u60 = std::u16string(59, u'v') + u"Z";
  // A stored text of 60 units with no terminator in its field.
  std::vector<unsigned char> bytes;
  for (const auto& t : {u59 + u"\r", u60}) {
    EnglishBytes r = EncodeEnglishRecord(t, static_cast<std::int32_t>(bytes.size() / 124 + 1) + 1);
    if (t.size() == 60)
      for (std::size_t i = 0; i < 60; ++i) r[2 * i] = static_cast<unsigned char>(t[i]), r[2 * i + 1] = 0;
    bytes.insert(bytes.end(), r.begin(), r.end());
  }
  test::WriteFile("English.dat", bytes);
  WriteJapanese({{}, {u"two\r", u"", u""}, {u"three\r", u"", u""}});
  Book b;
  b.book.OpenPhraseFiles();
  b.book.SetViewMode(kViewRelated);
  b.book.AddEnglishItems(1, 2);
  ASSERT_EQ(b.book.Lines().size(), 2u);
  EXPECT_EQ(b.book.Lines()[0].text, u59);
  EXPECT_EQ(b.book.Lines()[1].text.size(), 59u);
  b.Select(0);
  EXPECT_EQ(b.book.SelectedLineText(), u59);
  EXPECT_EQ(b.book.PronunciationText(), u"two");
  b.Select(1);
  EXPECT_EQ(b.book.SelectedLineText().size(), 59u);
  EXPECT_EQ(b.book.PronunciationText(), u"three");
  EXPECT_TRUE(b.Log().messages.empty());

  EXPECT_TRUE(b.book.ReplaceLineText(0, std::u16string(70, u'r')));
  EXPECT_EQ(b.book.Lines()[0].text.size(), 59u);
  EXPECT_FALSE(b.book.ReplaceLineText(2, u"x"));
}

}  // namespace
}  // namespace lexoria
