// SPDX-License-Identifier: GPL-3.0-or-later
// The any-script key-word search: romaji and Japanese matches after the
// English ones, one line per template line, over a small phrase book.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/anyscript.h"
#include "fixture.h"

namespace lexoria {
namespace {

using test::Book;
using test::U;

TEST(FoldRomaji, LongVowelsCaseMarksAndSeparatorsFoldAlike) {
  struct Case {
    std::u16string text;
    std::u16string folded;
  };
  const Case cases[] = {
      {u"Ohay\u014D gozaimasu.", u"ohayogozaimasu"},
      {u"ohayou", u"ohayo"},
      {u"OHAYOO", u"ohayo"},
      {u"ohayoh", u"ohayo"},
      {u"T\u014Dky\u014D", u"tokyo"},
      {u"Tohkyoh", u"tokyo"},
      {u"Toukyou", u"tokyo"},
      {u"T\u00F4ky\u00F4", u"tokyo"},  // circumflex, as some keyboards type it
      {u"k\u016Bk\u014D", u"kuko"},
      {u"kuukou", u"kuko"},
      {u"nan'eki", u"naneki"},
      {u"nan\u2019eki", u"naneki"},
      {u"o-cha", u"ocha"},
      {u"kono uchi", u"konouchi"},  // a long mark never reaches across words
      {u"ohashi", u"ohashi"},       // h before a vowel begins a syllable
      {u"?!", u""},
  };
  for (const Case& c : cases) EXPECT_EQ(FoldRomaji(c.text), c.folded) << std::string(c.text.begin(), c.text.end());
}

TEST(FoldJapanese, KatakanaMeetHiraganaAndPunctuationGoes) {
  EXPECT_EQ(FoldJapanese(u"\uFEFF\u30B7\u30E3\u30C8\u30EB\u30D0\u30B9\u3002\r"),
            u"\u3057\u3083\u3068\u308B\u3070\u3059");
  EXPECT_EQ(FoldJapanese(u"\u99C5\u3067\u3059\u304B\uFF1F"), u"\u99C5\u3067\u3059\u304B");  // 駅ですか？
  EXPECT_EQ(FoldJapanese(u"ATM\u306F"), u"atm\u306F");
  EXPECT_EQ(FoldJapanese(u"\u30FC"), u"\u30FC");  // the long-vowel mark stays
}

// Phrases 1-7: two singles, a group of three, two more singles.
class AnyScriptSearch : public test::TempDirTest {
 protected:
  void SetUp() override {
    test::TempDirTest::SetUp();
    test::WriteEnglish({{u"\uFEFFGood morning.\r", 1},
                        {u"Thank you.\r", 2},
                        {u"Where is [the airport]?\r", 3},
                        {u"Where is [the station]?\r", 4},
                        {u"Where is [the port]?\r", 5},
                        {u"Let's meet at the station.\r", 6},
                        {u"Coffee, please.\r", 7}});
    test::WriteTemplates({{"Good morning."},
                          {"Thank you."},
                          {"Where is [the airport|the station|the port]?", 3},
                          {"unused", 3},
                          {"unused", 3},
                          {"Let's meet at the station."},
                          {"Coffee, please."}});
    test::WriteJapanese({
        {u"\uFEFFOhay\u014D gozaimasu.\r", u"\uFEFF\u304A\u306F\u3088\u3046\u3054\u3056\u3044\u307E\u3059\u3002\r",
         u"\uFEFF\u304A\u306F\u3088\u3046\u3054\u3056\u3044\u307E\u3059\u3002\r"},
        {u"Arigat\u014D gozaimasu.\r", u"\u3042\u308A\u304C\u3068\u3046\u3054\u3056\u3044\u307E\u3059\u3002\r",
         u"\u3042\u308A\u304C\u3068\u3046\u3054\u3056\u3044\u307E\u3059\u3002\r"},
        {u"K\u016Bk\u014D wa doko desu ka?\r", u"\u7A7A\u6E2F\u306F\u3069\u3053\u3067\u3059\u304B\uFF1F\r",
         u"\u304F\u3046\u3053\u3046\u306F\u3069\u3053\u3067\u3059\u304B\uFF1F\r"},
        {u"Eki wa doko desu ka?\r", u"\u99C5\u306F\u3069\u3053\u3067\u3059\u304B\uFF1F\r",
         u"\u3048\u304D\u306F\u3069\u3053\u3067\u3059\u304B\uFF1F\r"},
        {u"Minato wa doko desu ka?\r", u"\u6E2F\u306F\u3069\u3053\u3067\u3059\u304B\uFF1F\r",
         u"\u307F\u306A\u3068\u306F\u3069\u3053\u3067\u3059\u304B\uFF1F\r"},
        {u"Eki de aimash\u014D.\r", u"\u99C5\u3067\u4F1A\u3044\u307E\u3057\u3087\u3046\u3002\r",
         u"\u3048\u304D\u3067\u3042\u3044\u307E\u3057\u3087\u3046\u3002\r"},
        {u"K\u014Dh\u012B o kudasai.\r", u"\u30B3\u30FC\u30D2\u30FC\u3092\u304F\u3060\u3055\u3044\u3002\r",
         u"\u30B3\u30FC\u30D2\u30FC\u3092\u304F\u3060\u3055\u3044\u3002\r"},
    });
    b.book.OpenPhraseFiles();
  }
  std::vector<std::u16string> Run(std::u16string key, int exact = 0) {
    b.Log().messages.clear();
    b.book.LoadAllEnglish();
    b.Log().controlKeyWord = std::move(key);
    b.Log().controlExact = exact;
    b.SearchPhrases();
    return b.LineTexts();
  }
  Book b;
};

TEST_F(AnyScriptSearch, QueryTable) {
  using Lines = std::vector<std::u16string>;
  const std::u16string airport = u"Where is [the airport]?";
  const std::u16string station = u"Where is [the station]?";
  const std::u16string meet = u"Let's meet at the station.";
  struct Case {
    std::u16string key;
    int exact;
    Lines lines;
  };
  const Case cases[] = {
      // English words, best first; a group line shows the choice that holds them.
      {u"station", 0, {station, meet}},
      {u"STATION", 0, {station, meet}},
      {u"thank you.", 1, {u"Thank you."}},
      // Romaji, with its long vowels typed any way.
      {u"ohayo", 0, {u"Good morning."}},
      {u"ohayou", 0, {u"Good morning."}},
      {u"Ohay\u014D", 0, {u"Good morning."}},
      {u"OHAYOH GOZAIMASU", 0, {u"Good morning.", u"Thank you."}},  // both words first, then one
      {u"eki", 0, {meet, station}},  // the shorter line first; the group line shows its own choice
      {u"kuukou", 0, {airport}},
      {u"ki", 0, {}},                        // from the start of a romaji word only: not "eki", "Kūkō"
      {u"doko", 0, {airport}},               // the group of three listed once, by its first match
      {u"coffee", 0, {u"Coffee, please."}},  // found by English, listed once
      {u"kohi", 0, {u"Coffee, please."}},
      {u"koohii", 0, {u"Coffee, please."}},
      // Kana (either script) and kanji, in either rendering.
      {u"\u99C5", 0, {station, meet}},                          // 駅
      {u"\u3048\u304D", 0, {station, meet}},                    // えき
      {u"\u30A8\u30AD", 0, {station, meet}},                    // エキ
      {u"\u3042\u308A\u304C\u3068\u3046", 0, {u"Thank you."}},  // ありがとう
      {u"\u3053\u30FC\u3072\u30FC", 0, {u"Coffee, please."}},   // こーひー
      {u"\u304F\u3046\u3053\u3046", 0, {airport}},              // くうこう, kana-only form
      // Exact match: the whole romaji or rendering, punctuation aside.
      {u"eki wa doko desu ka", 1, {station}},
      {u"eki", 1, {}},
      {u"\u99C5\u306F\u3069\u3053\u3067\u3059\u304B", 1, {station}},
      // No match anywhere.
      {u"xyzzy", 0, {}},
      {u"\u732B", 0, {}},
      {u"...", 0, {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Run(c.key, c.exact), c.lines) << std::string(c.key.begin(), c.key.end());
    const bool found = !c.lines.empty();
    EXPECT_EQ(b.Log().messages,
              found ? std::vector<std::string>{} : std::vector<std::string>{"This item can't be found!"});
  }
}

TEST_F(AnyScriptSearch, AGroupLineShowsTheMatchedChoiceAndLeadsToItsPhrase) {
  ASSERT_EQ(Run(u"minato"), std::vector<std::u16string>{u"Where is [the port]?"});
  const ListLine& line = b.book.Lines()[0];
  ASSERT_TRUE(line.item);
  EXPECT_EQ(line.item->TemplateText(), u"Where is [the airport|the station|the port]?");
  b.book.SetSelection(0);
  b.book.ShowSelectedPhrase();
  EXPECT_EQ(b.book.CurrentPhrase(), 5);
  EXPECT_EQ(b.book.PronunciationText(), u"Minato wa doko desu ka?");
}

TEST_F(AnyScriptSearch, AnIndexBuiltBeforeTheMapIsFilledKnowsEveryPhrase) {
  b.book.ClearMap();
  b.book.PrepareSearch();  // as the window does once it is on screen
  EXPECT_EQ(Run(u"station"), (std::vector<std::u16string>{u"Where is [the station]?", u"Let's meet at the station."}));
}

TEST_F(AnyScriptSearch, WithoutJapaneseDatOnlyEnglishIsSearched) {
  std::filesystem::remove("Japanese.dat");
  b.book.OpenPhraseFiles();
  EXPECT_EQ(Run(u"eki"), std::vector<std::u16string>{});
  EXPECT_EQ(Run(u"station").size(), 2u);
}

}  // namespace
}  // namespace lexoria
