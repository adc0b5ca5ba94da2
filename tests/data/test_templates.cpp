// SPDX-License-Identifier: GPL-3.0-or-later
// MapEngSpec.data: one line per template group when browsing, and the
// key-word search over the template lines.
#include <gtest/gtest.h>

#include <filesystem>

#include "fixture.h"

namespace lexoria {
namespace {

using test::Book;
using test::U;
using test::WriteTemplates;

class Templates : public test::TempDirTest {
 protected:
  std::vector<std::string> Messages() { return b.Log().messages; }
  Book b;
};

// Twelve singles, then a group of 3 headed by phrase 10... built per test.
std::vector<test::TemplateEntry> Singles(int n) {
  std::vector<test::TemplateEntry> v;
  for (int k = 1; k <= n; ++k) v.push_back({"Line " + std::to_string(k)});
  return v;
}

TEST_F(Templates, AGroupShowsOneLineAndTheNextLineComesAfterIt) {
  auto t = Singles(15);
  t[9] = {"Go to [the airport|the station|the port].", 3};
  t[10] = {"unused 11", 3};
  t[11] = {"unused 12", 3};
  WriteTemplates(t);
  b.book.FillTemplateRange(9, 14);
  EXPECT_EQ(b.LineTexts(), (std::vector<std::u16string>{u"Line 9", u"Go to [the airport].", u"Line 13", u"Line 14"}));
  const ListLine& group = b.book.Lines()[1];
  ASSERT_TRUE(group.item);
  EXPECT_EQ(group.item->TemplateText(), u"Go to [the airport|the station|the port].");
  EXPECT_EQ(group.item->DisplayText(), group.text);
  EXPECT_GE(b.Log().listChanged, 1);
}

TEST_F(Templates, ARangeEndingInsideAGroupEndsWithItsHead) {
  auto t = Singles(8);
  t[4] = {"Head [a|b|c]", 3};
  t[5] = {"x", 3};
  t[6] = {"y", 3};
  WriteTemplates(t);
  b.book.FillTemplateRange(4, 5);
  EXPECT_EQ(b.LineTexts(), (std::vector<std::u16string>{u"Line 4", u"Head [a]"}));
  b.book.FillTemplateRange(1, 8);  // the list is emptied first
  EXPECT_EQ(b.book.Lines().size(), 6u);
}

TEST_F(Templates, GroupSkippingFollowsTheSizeOfTheRecordLastRead) {
  // The second record of the group says 2, so only one further record goes.
  auto t = Singles(6);
  t[0] = {"Head [a|b|c]", 3};
  t[1] = {"x", 2};
  WriteTemplates(t);
  b.book.FillTemplateRange(1, 6);
  EXPECT_EQ(b.LineTexts(), (std::vector<std::u16string>{u"Head [a]", u"Line 3", u"Line 4", u"Line 5", u"Line 6"}));
  // Sizes of 1 or less (0, negative) mark single phrases.
  WriteTemplates({{"A", 0}, {"B", -4}, {"C", 1}});
  b.book.FillTemplateRange(1, 3);
  EXPECT_EQ(b.LineTexts(), (std::vector<std::u16string>{u"A", u"B", u"C"}));
}

TEST_F(Templates, AShortFileEndsTheFillAndAMissingOneSays) {
  auto t = Singles(3);
  t[2] = {"Head [a|b]", 2};  // the group's second record is missing
  WriteTemplates(t);
  b.book.FillTemplateRange(2, 9);
  EXPECT_EQ(b.LineTexts(), (std::vector<std::u16string>{u"Line 2", u"Head [a]"}));
  EXPECT_TRUE(Messages().empty());

  std::filesystem::remove("MapEngSpec.data");
  b.book.FillTemplateRange(1, 2);
  EXPECT_EQ(Messages(), std::vector<std::string>{"Can't read MapEngSpec file"});
  EXPECT_EQ(b.book.Lines().size(), 2u);  // not touched
}

TEST_F(Templates, TemplateTextIsLatin1AndKeepsItsLineFeedInTheLine) {
  WriteTemplates({{"Caf\xE9 [cr\xE8me|lait]"}, {"Two\nlines"}});
  b.book.FillTemplateRange(1, 2);
  EXPECT_EQ(b.LineTexts(), (std::vector<std::u16string>{u"Caf\u00E9 [cr\u00E8me]", u"Two\nlines"}));
}

class Search : public Templates {
 protected:
  void SetUp() override {
    Templates::SetUp();
    WriteTemplates({{"Hello"},
                    {"Hello, how are you?"},
                    {"Where is [the airport|the station]?", 2},
                    {"unused group record", 2},
                    {"[Red|Blue] car and [big|small] house"},
                    {"\xC9t\xE9 and hello again"},
                    {"First line\nhidden words"},
                    {"Last record"}});
  }
  std::vector<std::u16string> Run(std::string_view key, int exact = 0) {
    b.Log().messages.clear();
    b.Log().controlKeyWord = U(key);
    b.Log().controlExact = exact;
    b.SearchPhrases();
    return b.LineTexts();
  }
};

TEST_F(Search, FindsWordsInAnyOrderTheShortestLineFirst) {
  const std::vector<std::u16string> hello = Run("hello");
  ASSERT_EQ(hello.size(), 3u);
  EXPECT_EQ(hello[0], u"Hello");  // the line that is about nothing else
  EXPECT_EQ(Run("HELLO"), hello);
  EXPECT_EQ(Run("you, how?")[0], u"Hello, how are you?");  // any order, punctuation parts words
  EXPECT_EQ(b.Log().fromControls, 3);
  EXPECT_TRUE(b.Log().messages.empty());
}

TEST_F(Search, AnyAlternativeFindsTheGroupShownWithItsFirst) {
  EXPECT_EQ(Run("airport"), std::vector<std::u16string>{u"Where is [the airport]?"});
  EXPECT_EQ(Run("station"), std::vector<std::u16string>{u"Where is [the airport]?"});
  EXPECT_EQ(Run("unused"), std::vector<std::u16string>{});  // the group's other records are never searched
  EXPECT_EQ(b.Log().messages, std::vector<std::string>{"This item can't be found!"});
  EXPECT_EQ(Run("small"), std::vector<std::u16string>{u"[Red] car and [big] house"});
}

TEST_F(Search, ExactMatchWantsTheWholeLine) {
  EXPECT_EQ(Run("hello", 1), std::vector<std::u16string>{u"Hello"});
  EXPECT_EQ(Run("where is [the airport]?", 1), std::vector<std::u16string>{});
  EXPECT_EQ(Run("where is [the airport|the station]?", 1), std::vector<std::u16string>{u"Where is [the airport]?"});
  EXPECT_EQ(Run("first line", 1), std::vector<std::u16string>{u"First line\nhidden words"});
}

TEST_F(Search, OnlyAToZAreLowered) {
  EXPECT_EQ(Run("\u00E9t\u00E9"), std::vector<std::u16string>{});
  b.Log().controlKeyWord = u"\u00C9T\u00E9";  // T lowers, the accented letters stay
  b.SearchPhrases();
  EXPECT_EQ(b.LineTexts(), std::vector<std::u16string>{u"\u00C9t\u00E9 and hello again"});
}

TEST_F(Search, TextAfterALineFeedIsNotSearchedAndTheLastRecordIsSeenOnce) {
  EXPECT_EQ(Run("hidden"), std::vector<std::u16string>{});
  EXPECT_EQ(Run("last record"), std::vector<std::u16string>{u"Last record"});
}

TEST_F(Search, EmptyKeyWordOrMissingFileKeepsTheList) {
  Run("hello");
  ASSERT_EQ(b.book.Lines().size(), 3u);
  EXPECT_EQ(Run(""), b.LineTexts());
  EXPECT_EQ(b.book.Lines().size(), 3u);
  std::filesystem::remove("MapEngSpec.data");
  EXPECT_EQ(Run("car").size(), 3u);
  EXPECT_TRUE(b.Log().messages.empty());
}

TEST_F(Search, AVeryLongKeyWordIsCutForTheSearchAndKeptInTheBox) {
  // The search copy holds 511 units; no template line (at most 175 bytes)
  // can hold that many, so a long key word finds nothing and harms nothing.
  EXPECT_EQ(Run(std::string(5000, 'l')), std::vector<std::u16string>{});
  EXPECT_EQ(b.book.KeyWord().size(), 5000u);
  EXPECT_EQ(b.Log().messages, std::vector<std::string>{"This item can't be found!"});
}

TEST_F(Search, AnEmptyRecordIsSearchedOnItsOwnText) {
  WriteTemplates({{"Hello there"}, {""}, {"Bye"}});
  EXPECT_EQ(Run("hello"), std::vector<std::u16string>{u"Hello there"});
}

}  // namespace
}  // namespace lexoria
