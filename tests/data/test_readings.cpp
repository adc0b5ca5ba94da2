// SPDX-License-Identifier: GPL-3.0-or-later
// The readings file: annotated sentences split into words with readings,
// damaged lines left out for their phrase alone.
#include <gtest/gtest.h>

#include <filesystem>

#include "data/readings.h"
#include "data/utf8.h"
#include "fixture.h"

namespace lexoria::test {
namespace {

std::u16string W(const char* utf8) {
  std::u16string out;
  EXPECT_TRUE(FromUtf8(utf8, out)) << utf8;
  return out;
}

TEST(Readings, AnnotatedTextsSplitIntoWordsAndPlainText) {
  struct Case {
    const char* annotated;
    std::vector<std::pair<const char*, const char*>> segments;  // base, reading ("" plain)
  };
  const std::vector<Case> cases = {
      {"駅{えき}へはどう行{い}けばいいですか？",
       {{"駅", "えき"}, {"へはどう", ""}, {"行", "い"}, {"けばいいですか？", ""}}},
      {"東京駅{とうきょうえき}", {{"東京駅", "とうきょうえき"}}},
      // Only the kanji just before the brace: kana before them stays plain.
      {"お茶{ちゃ}を", {{"お", ""}, {"茶", "ちゃ"}, {"を", ""}}},
      // The marker takes the whole word, kana included, and is not shown.
      {"｜お茶{おちゃ}を", {{"お茶", "おちゃ"}, {"を", ""}}},
      {"これは｜日本語{にほんご}です", {{"これは", ""}, {"日本語", "にほんご"}, {"です", ""}}},
      {"時々{ときどき}", {{"時々", "ときどき"}}},
      {"一ヶ月{いっかげつ}", {{"一ヶ月", "いっかげつ"}}},
      {"ありがとう", {{"ありがとう", ""}}},
      // Two words side by side: each reading ends the word before the next.
      {"日本{にほん}語{ご}", {{"日本", "にほん"}, {"語", "ご"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.annotated);
    RubyText segments;
    ASSERT_TRUE(ParseAnnotated(W(c.annotated), segments));
    ASSERT_EQ(segments.size(), c.segments.size());
    for (std::size_t i = 0; i < segments.size(); ++i) {
      EXPECT_EQ(segments[i].base, W(c.segments[i].first)) << i;
      EXPECT_EQ(segments[i].reading, W(c.segments[i].second)) << i;
    }
  }
  RubyText segments;
  ASSERT_TRUE(ParseAnnotated(W("駅{えき}へはどう行{い}けばいいですか？"), segments));
  EXPECT_EQ(PlainText(segments), W("駅へはどう行けばいいですか？"));
}

TEST(Readings, DamagedAnnotationsAreRefused) {
  for (const char* bad :
       {"駅{えき", "駅{}", "{えき}", "かな{かな}", "駅}", "駅{え{き}}", "｜駅", "駅{え｜き}", "｜｜駅{えき}"}) {
    RubyText segments;
    EXPECT_FALSE(ParseAnnotated(W(bad), segments)) << bad;
  }
}

TEST(Readings, AFileKeepsItsGoodLinesAndDropsTheDamagedOnes) {
  const std::string text =
      "\xEF\xBB\xBF"
      "0001\t駅{えき}\r\n"
      "0002\t駅{えき\n"   // damaged: no closing brace
      "3\t行{い}く\n"     // any number of digits up to four
      "0827\t駅{えき}\n"  // beyond the last phrase
      "0000\t駅{えき}\n"
      "abcd\t駅{えき}\n"
      "0004 駅{えき}\n"      // no tab
      "0005\t\xFF\xFE\n"     // not UTF-8
      "0001\t別{べつ}\n"     // a second line for phrase 1: the first wins
      "0826\t最後{さいご}";  // the last line needs no line feed
  const Readings readings = ParseReadings(text);
  ASSERT_EQ(readings.size(), 3u);
  EXPECT_EQ(readings.at(1), (RubyText{{W("駅"), W("えき")}}));
  EXPECT_EQ(readings.at(3).front().reading, W("い"));
  EXPECT_EQ(readings.at(826).front().base, W("最後"));
}

using ReadingsFile = TempDirTest;

TEST_F(ReadingsFile, AMissingFileMeansNoFuriganaNotAnError) {
  Readings readings{{1, {}}};
  EXPECT_EQ(LoadReadings("Readings.txt", readings), ReadingsLoad::Missing);
  EXPECT_TRUE(readings.empty());
  WriteFile("Readings.txt", {'1', '\t', 'a', '\n'});
  EXPECT_EQ(LoadReadings("Readings.txt", readings), ReadingsLoad::Loaded);
  EXPECT_EQ(readings.size(), 1u);
  std::filesystem::create_directory("folder");
  EXPECT_NE(LoadReadings("folder", readings), ReadingsLoad::Missing);
}

}  // namespace
}  // namespace lexoria::test
