// SPDX-License-Identifier: GPL-3.0-or-later
// The search index on small fixtures: words, stems, synonyms, slips,
// unfinished words, romaji and Japanese, one result per template line, and
// the cut below the relevance floor.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/phraseindex.h"
#include "data/searchwords.h"
#include "data/spelling.h"
#include "data/synonyms.h"

namespace lexoria {
namespace {

constexpr std::string_view kSynonyms =
    "# travellers' words\n"
    "toilet, restroom, washroom, loo\n"
    "\n"
    "cash machine, atm\n"
    "lonely\n"  // one member: no group
    "underground, subway, metro\n";

class Index : public ::testing::Test {
 protected:
  void SetUp() override {
    std::vector<IndexedPhrase> phrases = {
        {1, 1, u"Where is the [restroom]?", u"Toire wa doko desu ka?", u"トイレはどこですか？",
         u"といれはどこですか？"},
        {2, 1, u"Where is the [station]?", u"Eki wa doko desu ka?", u"駅はどこですか？", u"えきはどこですか？"},
        {3, 3, u"I'd like two taxis, please.", u"Takushī o nidai onegaishimasu.", u"", u""},
        {4, 4, u"Is there an ATM near here?", u"Chikaku ni ATM wa arimasu ka?", u"", u""},
        {5, 5, u"Which subway line goes to the hospital?", u"", u"", u""},
        {6, 6, u"Could I have some water?", u"Omizu o kudasai.", u"お水をください。", u"おみずをください。"},
        {7, 7, u"Good morning.", u"Ohayō gozaimasu.", u"おはようございます。", u"おはようございます。"},
        {8, 8, u"No.", u"Iie.", u"", u""},
        {9, 9, u"Is there a non-smoking room?", u"Kin'en no heya wa arimasu ka?", u"", u""},
    };
    // Many lines with a common word, for the floor.
    for (std::int32_t n = 10; n < 40; ++n)
      phrases.push_back({n, n,
                         u"I have no idea about item " + std::u16string(1, static_cast<char16_t>(u'a' + n - 10)) +
                             u" and other long things here",
                         u"Kore no koto wa wakarimasen.", u"", u""});
    index.Build(phrases, kSynonyms);
    ASSERT_TRUE(index.Built());
  }
  std::vector<std::int32_t> Find(std::u16string_view query) { return index.Search(query).phrases; }
  std::int32_t First(std::u16string_view query) {
    const auto found = Find(query);
    return found.empty() ? 0 : found.front();
  }
  PhraseIndex index;
};

TEST_F(Index, QueryTable) {
  struct Case {
    std::u16string query;
    std::int32_t first;  // 0: nothing found
  };
  const Case cases[] = {
      {u"station", 2},             // a group's line by the choice that holds the word
      {u"taxi", 3},                // stems: plural and singular meet
      {u"where toilet", 1},        // a synonym, with another word, in any order
      {u"washroom", 1},            // a synonym the book never uses
      {u"cash machine", 4},        // a synonym of two words
      {u"metro hospital", 5},      // every word counts
      {u"hospial", 5},             // one slip in a longer word
      {u"subwya", 5},              // two letters swapped are one slip
      {u"hosp", 5},                // an unfinished last word
      {u"nonsmoking", 9},          // a hyphenated word typed as one
      {u"non smoking", 9},         // or in two
      {u"kinen", 9},               // romaji with n' typed plainly
      {u"ohayou", 7},              // romaji long vowels any way
      {u"Ohay\u014D", 7},          //
      {u"mizu", 6},                // the polite o- of omizu
      {u"arigatogozaimasu", 0},    // nothing of it here
      {u"ohayougozaimasu", 7},     // two romaji words typed as one
      {u"\u30C8\u30A4\u30EC", 1},  // トイレ
      {u"\u3068\u3044\u308C", 1},  // といれ: katakana and hiragana meet
      {u"\u99C5", 2},              // 駅: one kanji
      {u"\u6C34", 6},              // 水
      {u"\u732B", 0},              // 猫: nowhere
      {u"xyzzy", 0},               //
      {u"?!", 0},                  // nothing to search for
      {u"", 0},                    //
  };
  for (const Case& c : cases) EXPECT_EQ(First(c.query), c.first) << ToUtf8(c.query);
}

TEST_F(Index, OneResultPerTemplateLineAndTheBestChoiceShows) {
  EXPECT_EQ(Find(u"where"), (std::vector<std::int32_t>{1}));  // phrases 1 and 2 are one line
  EXPECT_EQ(Find(u"eki"), (std::vector<std::int32_t>{2}));
}

TEST_F(Index, ACorrectionIsReportedOnlyWhenUsed) {
  EXPECT_EQ(index.Search(u"where is the hospial").corrected, u"where is the hospital");
  EXPECT_EQ(index.Search(u"hospital").corrected, u"");
  EXPECT_EQ(index.Search(u"hosp").corrected, u"");   // completed, not corrected
  EXPECT_EQ(index.Search(u"hosp ").corrected, u"");  // a finished word of four: no near word
  EXPECT_EQ(index.Search(u"xyzzy").corrected, u"");  // nothing near, nothing found, nothing said
}

TEST_F(Index, ACommonWordDoesNotFloodTheList) {
  const std::vector<std::int32_t> no = Find(u"no");
  ASSERT_FALSE(no.empty());
  EXPECT_EQ(no.front(), 8);   // "No." is the line about it
  EXPECT_LT(no.size(), 31u);  // not every line holding the word
  // Beside a rarer word, the common one only ranks.
  EXPECT_EQ(First(u"no idea item c"), 12);
}

TEST_F(Index, AnEmptyOrMissingIndexFindsNothing) {
  PhraseIndex empty;
  EXPECT_FALSE(empty.Built());
  EXPECT_TRUE(empty.Search(u"station").phrases.empty());
  empty.Build({}, "");
  EXPECT_TRUE(empty.Built());
  EXPECT_TRUE(empty.Search(u"station").phrases.empty());
}

TEST(SearchTokens, WordsRunsAndJoinedParts) {
  struct Case {
    std::u16string text;
    std::vector<std::u16string> words;
    std::u16string firstJoined;
  };
  const Case cases[] = {
      {u"Where's the WI-FI?", {u"where", u"the", u"wi", u"fi"}, u""},
      {u"wi-fi", {u"wi", u"fi"}, u"wifi"},
      {u"I don't know", {u"i", u"dont", u"know"}, u""},
      {u"I'll eat", {u"i", u"eat"}, u""},
      {u"Kin'en", {u"kinen"}, u""},
      {u"\uFF21\uFF34\uFF2D", {u"atm"}, u""},                            // full-width letters
      {u"eki\u99C5\u30A8\u30AD", {u"eki", u"\u99C5\u3048\u304D"}, u""},  // a Japanese run, katakana as hiragana
      {u"--- ...", {}, u""},
  };
  for (const Case& c : cases) {
    const std::vector<SearchToken> tokens = SearchTokens(c.text);
    std::vector<std::u16string> words;
    for (const SearchToken& token : tokens) words.push_back(token.text);
    EXPECT_EQ(words, c.words) << ToUtf8(c.text);
    if (!tokens.empty()) {
      EXPECT_EQ(tokens.front().joined, c.firstJoined) << ToUtf8(c.text);
    }
  }
}

TEST(EditDistance, SlipsCountOneEach) {
  struct Case {
    std::u16string a, b;
    std::size_t distance;
  };
  const Case cases[] = {
      {u"train", u"train", 0},      {u"trian", u"train", 1},
      {u"hospial", u"hospital", 1}, {u"resturant", u"restaurant", 1},
      {u"pharmcy", u"pharmacy", 1}, {u"ambulence", u"ambulance", 1},
      {u"abc", u"xyz", 3},          {u"", u"abc", 3},
      {u"receit", u"receipt", 1},
  };
  for (const Case& c : cases) EXPECT_EQ(EditDistance(c.a, c.b, 3), c.distance) << ToUtf8(c.a);
  EXPECT_EQ(EditDistance(u"abcdefgh", u"a", 2), 3u);  // over the limit: limit + 1
  EXPECT_EQ(AllowedEdits(3), 0u);
  EXPECT_EQ(AllowedEdits(5), 1u);
  EXPECT_EQ(AllowedEdits(9), 2u);
}

TEST(ParseSynonyms, GroupsOfTwoOrMoreCutIntoWords) {
  const std::vector<SynonymGroup> groups = ParseSynonyms(kSynonyms);
  ASSERT_EQ(groups.size(), 3u);
  EXPECT_EQ(groups[1], (SynonymGroup{{u"cash", u"machine"}, {u"atm"}}));
  EXPECT_TRUE(ParseSynonyms("").empty());
  EXPECT_TRUE(ParseSynonyms("  ,  ,\n#a, b\n").empty());
}

TEST(BuiltInSynonyms, IsTheContentList) {
  const std::vector<SynonymGroup> groups = ParseSynonyms(BuiltInSynonyms());
  EXPECT_GT(groups.size(), 50u);
}

}  // namespace
}  // namespace lexoria
