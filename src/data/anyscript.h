// SPDX-License-Identifier: GPL-3.0-or-later
// The key-word search beyond English: a key word also finds a phrase whose
// romaji or Japanese rendering holds it. Both sides are folded the same way
// before a plain substring test, so that the spellings a traveller types
// meet the spelling stored.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "data/records.h"

namespace lexoria {

// Romaji for comparison: A-Z and the macron and circumflex vowels become
// plain lower-case letters; spaces, hyphens, apostrophes and punctuation end
// a word and go. Within a word a long o (oo, ou, oh before a
// consonant or the word's end) becomes o and a doubled vowel (uu, ii...) one
// vowel, so that "Ohayō", "ohayo", "ohayou" and "ohayoh" all fold to "ohayo".
std::u16string FoldRomaji(std::u16string_view text);

// The same, with where each word begins in the folded text.
struct FoldedRomaji {
  std::u16string text;
  std::vector<std::size_t> wordStarts;
};
FoldedRomaji FoldRomajiWords(std::u16string_view text);

// Japanese for comparison: katakana become hiragana; spaces, punctuation,
// control units and the byte-order mark go.
std::u16string FoldJapanese(std::u16string_view text);

// One key word, folded once, tested against many Japanese.dat records.
class AnyScriptKey {
 public:
  // exact: the whole folded field must equal the folded key word.
  AnyScriptKey(std::u16string_view keyWord, bool exact);
  // The pronunciation as romaji (the key word from the start of one of its
  // words, so that "eki" finds "Eki wa" but not "dekimasu"), or either
  // rendering as Japanese (anywhere: it has no words to start).
  bool Matches(const JapaneseRecord& record) const;
  // Nothing of the key word is left to compare (punctuation only).
  bool Empty() const { return romaji_.empty() && japanese_.empty(); }

 private:
  bool Holds(const std::u16string& folded, const std::u16string& key) const;
  bool HoldsRomaji(std::u16string_view pronunciation) const;

  std::u16string romaji_;
  std::u16string japanese_;
  bool exact_;
};

}  // namespace lexoria
