// SPDX-License-Identifier: GPL-3.0-or-later
// How the ranked search cuts text into what it indexes and looks up: Latin
// words (lower case, apostrophes dropped, hyphenated words in parts) and runs
// of Japanese characters, each side cut the same way.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "data/utf8.h"

namespace lexoria {

struct SearchToken {
  bool japanese = false;  // a run of kana and kanji, katakana as hiragana
  std::u16string text;    // a Latin word as typed (lower case), or the run
  // Set on the first part of "wi-fi" and its kin: the parts joined, which
  // is how such words are often typed.
  std::u16string joined;
};

// Words and Japanese runs in text order. Spaces, punctuation and symbols
// part them; an apostrophe inside a word is dropped ("don't" -> "dont"),
// with the short endings after it ("I'll" -> "i", "men's" -> "men").
std::vector<SearchToken> SearchTokens(std::u16string_view text);

// The character pairs of a Japanese run (a single character when that is
// all).
std::vector<std::u16string> JapanesePairs(std::u16string_view run);

}  // namespace lexoria
