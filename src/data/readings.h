// SPDX-License-Identifier: GPL-3.0-or-later
// Readings.txt: the kana reading of every word that holds kanji, for
// furigana. UTF-8, one line per phrase: "NNNN<TAB>annotated", where the
// annotated text is the phrase's Japanese with "{kana}" after each such
// word: 駅{えき}へはどう行{い}けばいいですか？. The word (the base) is the
// run of kanji just before "{", or the text from a "｜" to "{" when the
// marker is there. A missing file means no furigana; a damaged line is
// left out for its phrase alone.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace lexoria {

inline constexpr char kReadingsFileName[] = "Readings.txt";

// A piece of the sentence: a word with its reading, or plain text (no
// reading).
struct RubySegment {
  std::u16string base;
  std::u16string reading;
  friend bool operator==(const RubySegment&, const RubySegment&) = default;
};
using RubyText = std::vector<RubySegment>;

// Phrase number -> its annotated sentence.
using Readings = std::map<std::int32_t, RubyText>;

// Kanji as a base counts them: the CJK blocks, 々, ヶ, 〆.
bool IsKanji(char16_t c);

// The segments of one annotated text; false when it is damaged (a "{" with
// no base or no "}", an empty reading, a stray "}" or "｜", a brace in a
// reading).
bool ParseAnnotated(std::u16string_view annotated, RubyText& segments);
// The sentence without its readings: what is on show and what a screen
// reader reads.
std::u16string PlainText(const RubyText& segments);

// Every good line of a Readings.txt text; the first line of a phrase wins.
Readings ParseReadings(std::string_view text);

enum class ReadingsLoad { Loaded, Missing, Failed };
ReadingsLoad LoadReadings(const std::filesystem::path& path, Readings& readings);

}  // namespace lexoria
