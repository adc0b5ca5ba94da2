// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/anyscript.h"

namespace lexoria {
namespace {

constexpr char16_t kDropped = 0;
constexpr char16_t kWordEnd = 1;

// The romaji unit a character stands for: a plain lower-case letter or
// digit, kDropped, kWordEnd, or the character itself (anything else, kept so
// that it can never meet a letter).
char16_t RomajiUnit(char16_t c) {
  if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c - u'A' + u'a');
  if ((c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9')) return c;
  if (c == u'\uFEFF') return kDropped;
  // n' and the like split syllables: the next one starts a word of its own.
  if (c == u'\'' || c == u'`' || c == u'\u2018' || c == u'\u2019') return kWordEnd;
  if (c < 0x80 || c == u'\u3000') return kWordEnd;
  switch (c) {
    case u'\u0101':
    case u'\u0100':
    case u'\u00E2':
    case u'\u00C2': return u'a';
    case u'\u0113':
    case u'\u0112':
    case u'\u00EA':
    case u'\u00CA': return u'e';
    case u'\u012B':
    case u'\u012A':
    case u'\u00EE':
    case u'\u00CE': return u'i';
    case u'\u014D':
    case u'\u014C':
    case u'\u00F4':
    case u'\u00D4': return u'o';
    case u'\u016B':
    case u'\u016A':
    case u'\u00FB':
    case u'\u00DB': return u'u';
    case u'\u2010':
    case u'\u2011':
    case u'\u2013':
    case u'\u2014': return kWordEnd;
    default: return c;
  }
}

bool VowelOrY(char16_t c) { return c == u'a' || c == u'i' || c == u'u' || c == u'e' || c == u'o' || c == u'y'; }

// Appends one word with its long vowels shortened.
void AppendWord(std::u16string& out, const std::u16string& word) {
  for (std::size_t i = 0; i < word.size(); ++i) {
    const char16_t c = word[i];
    out.push_back(c);
    if (c == u'o') {
      while (i + 1 < word.size()) {
        const char16_t next = word[i + 1];
        const bool longMark =
            next == u'o' || next == u'u' || (next == u'h' && (i + 2 >= word.size() || !VowelOrY(word[i + 2])));
        if (!longMark) break;
        ++i;
      }
    } else if (VowelOrY(c) && c != u'y') {
      while (i + 1 < word.size() && word[i + 1] == c) ++i;
    }
  }
}

bool JapanesePunctuation(char16_t c) {
  return (c >= u'\u3000' && c <= u'\u3003') || (c >= u'\u3008' && c <= u'\u3011') || c == u'\u30FB' ||
         (c >= u'\uFF01' && c <= u'\uFF0F') || (c >= u'\uFF1A' && c <= u'\uFF20') || c == u'\uFEFF';
}

}  // namespace

std::u16string FoldRomaji(std::u16string_view text) { return FoldRomajiWords(text).text; }

FoldedRomaji FoldRomajiWords(std::u16string_view text) {
  FoldedRomaji folded;
  std::u16string word;
  auto endWord = [&] {
    if (word.empty()) return;
    folded.wordStarts.push_back(folded.text.size());
    AppendWord(folded.text, word);
    word.clear();
  };
  for (const char16_t c : text) {
    const char16_t unit = RomajiUnit(c);
    if (unit == kDropped) continue;
    if (unit == kWordEnd)
      endWord();
    else
      word.push_back(unit);
  }
  endWord();
  return folded;
}

std::u16string FoldJapanese(std::u16string_view text) {
  std::u16string out;
  for (char16_t c : text) {
    if (c >= u'\u30A1' && c <= u'\u30F6') c = static_cast<char16_t>(c - 0x60);
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    const bool asciiKept = (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9');
    if ((c < 0x80 && !asciiKept) || JapanesePunctuation(c)) continue;
    out.push_back(c);
  }
  return out;
}

AnyScriptKey::AnyScriptKey(std::u16string_view keyWord, bool exact)
    : romaji_(FoldRomaji(keyWord)), japanese_(FoldJapanese(keyWord)), exact_(exact) {}

bool AnyScriptKey::Holds(const std::u16string& folded, const std::u16string& key) const {
  if (key.empty()) return false;
  return exact_ ? folded == key : folded.find(key) != std::u16string::npos;
}

bool AnyScriptKey::HoldsRomaji(std::u16string_view pronunciation) const {
  if (romaji_.empty()) return false;
  const FoldedRomaji folded = FoldRomajiWords(pronunciation);
  if (exact_) return folded.text == romaji_;
  for (const std::size_t start : folded.wordStarts)
    if (folded.text.compare(start, romaji_.size(), romaji_) == 0) return true;
  return false;
}

bool AnyScriptKey::Matches(const JapaneseRecord& record) const {
  return HoldsRomaji(record.pronunciation) || Holds(FoldJapanese(record.first), japanese_) ||
         Holds(FoldJapanese(record.second), japanese_);
}

}  // namespace lexoria
