// SPDX-License-Identifier: GPL-3.0-or-later
// Record layouts, text cleaning, CItem display texts, WidenLine, the range
// table and the bit test: the pure parts of the phrase data.
#include <gtest/gtest.h>

#include "data/item.h"
#include "data/phraserange.h"
#include "data/records.h"
#include "data/related.h"
#include "fixture.h"

namespace lexoria {
namespace {

using test::U;

TEST(EnglishRecord, LayoutIsTextTerminatorZerosThenLittleEndianNumber) {
  const EnglishBytes b = EncodeEnglishRecord(u"Hi\r", 0x01020304);
  const std::vector<unsigned char> head(b.begin(), b.begin() + 8);
  EXPECT_EQ(head, (std::vector<unsigned char>{'H', 0, 'i', 0, '\r', 0, 0, 0}));
  for (std::size_t i = 8; i < 120; ++i) ASSERT_EQ(b[i], 0) << i;
  EXPECT_EQ(b[120], 0x04);
  EXPECT_EQ(b[123], 0x01);
  const EnglishRecord r = DecodeEnglishRecord(b);
  EXPECT_EQ(r.text, u"Hi\r");
  EXPECT_EQ(r.number, 0x01020304);
}

TEST(EnglishRecord, EncodingKeepsTheTerminatorInsideTheField) {
  const std::u16string longText(80, u'x');
  const EnglishBytes b = EncodeEnglishRecord(longText, 5);
  EXPECT_EQ(DecodeEnglishRecord(b).text, std::u16string(59, u'x'));
  EXPECT_EQ(b[118], 0);
  EXPECT_EQ(b[119], 0);
}

TEST(EnglishRecord, DecodingAnUnterminatedFieldStopsAtItsEnd) {
  EnglishBytes b{};
  for (std::size_t i = 0; i < 120; i += 2) b[i] = 'a';
  b[120] = 7;
  const EnglishRecord r = DecodeEnglishRecord(b);
  EXPECT_EQ(r.text.size(), 60u);
  EXPECT_EQ(r.number, 7);
}

TEST(JapaneseRecord, ThreeFieldsOf110UnitsEachCutTo109) {
  JapaneseRecord in{u"ko\r", std::u16string(120, u'\u3042'), u"x\ty\r"};
  const JapaneseBytes b = EncodeJapaneseRecord(in);
  EXPECT_EQ(b[220], 0x42);
  EXPECT_EQ(b[221], 0x30);
  EXPECT_EQ(b[440], 'x');
  const JapaneseRecord out = DecodeJapaneseRecord(b);
  EXPECT_EQ(out.pronunciation, u"ko\r");
  EXPECT_EQ(out.first, std::u16string(109, u'\u3042'));
  EXPECT_EQ(out.second, u"x\ty\r");
}

TEST(TemplateRecord, TextUpToZeroByteAndSignedGroupSize) {
  TemplateBytes b{};
  b[0] = 'A';
  b[1] = '\xE9';
  b[176] = 0xFE;
  b[177] = 0xFF;
  const TemplateRecord r = DecodeTemplateRecord(b);
  EXPECT_EQ(r.text, std::string("A\xE9"));
  EXPECT_EQ(r.groupSize, -2);
}

TEST(Cleaning, ControlUnitsGoAndPhraseOneLosesItsMark) {
  struct Case {
    std::u16string stored;
    std::int32_t number;
    std::u16string cleaned;
  };
  const Case cases[] = {
      {u"\uFEFFHello\r", 1, u"Hello"},
      {u"\uFEFFHello\r", 2, u"\uFEFFHello"},  // only the number field decides
      {u"A\tB\nC\r\r", 9, u"ABC"},
      {u"\r", 1, u""},
      {u"Xyz", 3, u"Xyz"},
      {u"", 1, u""},
  };
  for (const Case& c : cases) EXPECT_EQ(CleanEnglishText({c.stored, c.number}), c.cleaned);
  EXPECT_EQ(RemoveBrackets(u"Go to [the airport]] now["), u"Go to the airport now");
}

TEST(NumberText, DecimalRoundTrip) {
  EXPECT_EQ(NumberText(826), u"826");
  EXPECT_EQ(NumberText(-1), u"-1");
  EXPECT_EQ(ParseNumberText(u"826"), 826);
  EXPECT_EQ(ParseNumberText(u"12abc"), 12);
  EXPECT_EQ(ParseNumberText(u""), 0);
  EXPECT_EQ(ParseNumberText(u"-3"), -3);
  EXPECT_EQ(ParseNumberText(u"99999999999"), INT32_MAX);
}

TEST(CItem, DisplayTextKeepsTheFirstAlternativeInBrackets) {
  struct Case {
    const char16_t* templ;
    const char16_t* display;
  };
  const Case cases[] = {
      {u"Hello.", u"Hello."},
      {u"Where is [the airport|the station]?", u"Where is [the airport]?"},
      {u"[a|b] and [c|d|e].", u"[a] and [c]."},
      {u"One [only] slot", u"One [only] slot"},
      {u"[x|y]", u"[x]"},
      {u"Mixed [only] and [p|q]", u"Mixed [only] and [p]"},
      {u"Broken [a|b", u"Broken [a|b"},  // malformed text stays as it is
      {u"", u""},
  };
  for (const Case& c : cases) {
    const CItem item(c.templ);
    EXPECT_EQ(item.TemplateText(), c.templ);
    EXPECT_EQ(item.DisplayText(), c.display) << std::string(item.TemplateText().begin(), item.TemplateText().end());
  }
  const CItem both(u"t[a|b]", u"shown");
  EXPECT_EQ(both.DisplayText(), u"shown");
  const CItem none;
  EXPECT_TRUE(none.TemplateText().empty() && none.DisplayText().empty());
}

TEST(WidenLine, CopiesUpToLineFeedOrZeroAndTerminates) {
  char16_t dest[8];
  std::fill(std::begin(dest), std::end(dest), u'#');
  EXPECT_EQ(WidenLine(dest, std::string_view("ab\ncd", 5), 8), 2u);
  EXPECT_EQ(std::u16string(dest), u"ab");

  std::fill(std::begin(dest), std::end(dest), u'#');
  EXPECT_EQ(WidenLine(dest, std::string_view("a\xE9\0z", 4), 8), 2u);
  EXPECT_EQ(std::u16string(dest), u"a\u00E9");  // Latin-1: the byte's own code point

  // First byte zero: the destination is left untouched.
  std::fill(std::begin(dest), std::end(dest), u'#');
  EXPECT_EQ(WidenLine(dest, std::string_view("\0x", 2), 8), 0u);
  EXPECT_EQ(dest[0], u'#');

  // Capacity bounds the copy, terminator included.
  std::fill(std::begin(dest), std::end(dest), u'#');
  EXPECT_EQ(WidenLine(dest, "abcdefghij", 4), 3u);
  EXPECT_EQ(std::u16string(dest), u"abc");
  EXPECT_EQ(dest[4], u'#');
}

TEST(LowerAscii, OnlyAToZ) { EXPECT_EQ(LowerAscii(u"HeLLo, [A|Z]! \u00C9\u0130"), u"hello, [a|z]! \u00C9\u0130"); }

TEST(PhraseRangeOf, EveryRowAndKeysInNoRow) {
  struct Case {
    std::int32_t key, first, last;
  };
  const Case rows[] = {
      {100, 1, 154},    {101, 1, 7},      {102, 8, 23},     {103, 24, 41},    {104, 42, 50},    {105, 51, 81},
      {106, 82, 92},    {107, 93, 154},   {200, 155, 314},  {201, 155, 161},  {202, 162, 165},  {203, 166, 172},
      {204, 173, 212},  {205, 251, 275},  {206, 213, 250},  {207, 276, 293},  {208, 294, 299},  {209, 300, 305},
      {210, 306, 314},  {300, 315, 475},  {301, 315, 325},  {302, 326, 340},  {303, 341, 406},  {304, 407, 413},
      {305, 414, 475},  {400, 476, 552},  {401, 476, 480},  {402, 481, 491},  {403, 492, 515},  {404, 516, 521},
      {405, 522, 534},  {406, 535, 544},  {407, 545, 552},  {500, 553, 571},  {501, 553, 562},  {502, 563, 571},
      {600, 572, 615},  {601, 572, 595},  {602, 596, 601},  {603, 602, 615},  {700, 616, 657},  {701, 616, 647},
      {702, 648, 653},  {703, 654, 657},  {800, 658, 713},  {801, 658, 672},  {802, 673, 701},  {803, 702, 705},
      {804, 706, 713},  {900, 714, 755},  {901, 714, 740},  {902, 741, 749},  {903, 750, 755},  {1000, 756, 826},
      {1001, 756, 763}, {1002, 764, 786}, {1003, 787, 798}, {1004, 799, 802}, {1005, 803, 826},
  };
  for (const Case& c : rows) {
    const auto r = PhraseRangeOf(c.key);
    ASSERT_TRUE(r.has_value()) << c.key;
    EXPECT_EQ(r->first, c.first) << c.key;
    EXPECT_EQ(r->last, c.last) << c.key;
  }
  for (const std::int32_t key : {0, 99, 108, 211, 306, 408, 503, 604, 704, 805, 904, 1006, 1100, -100})
    EXPECT_FALSE(PhraseRangeOf(key).has_value()) << key;
}

TEST(IsBitSet, MostSignificantBitFirst) {
  EXPECT_EQ(IsBitSet(0, 0x80), 1);
  EXPECT_EQ(IsBitSet(7, 0x80), 0);
  EXPECT_EQ(IsBitSet(7, 0x01), 1);
  EXPECT_EQ(IsBitSet(3, 0x10), 1);
  EXPECT_EQ(IsBitSet(4, 0x10), 0);
  EXPECT_EQ(IsBitSet(-1, 0xFF), -1);
  EXPECT_EQ(IsBitSet(8, 0xFF), -1);
}

}  // namespace
}  // namespace lexoria
