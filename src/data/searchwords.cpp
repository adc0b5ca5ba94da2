// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/searchwords.h"

namespace lexoria {
namespace {

bool JapaneseUnit(char16_t c) {
  return (c >= u'\u3041' && c <= u'\u309F') || (c >= u'\u30A0' && c <= u'\u30FF' && c != u'\u30FB') ||
         (c >= u'\u3400' && c <= u'\u4DBF') || (c >= u'\u4E00' && c <= u'\u9FFF') || c == u'\u3005' ||
         (c >= u'\uF900' && c <= u'\uFAFF') || (c >= u'\uFF66' && c <= u'\uFF9F') || (c >= 0xD800 && c <= 0xDFFF);
}

// Full-width letters and digits (ＡＴＭ) read as their ASCII selves.
char16_t NarrowUnit(char16_t c) {
  if (c >= u'\uFF10' && c <= u'\uFF19') return static_cast<char16_t>(c - 0xFF10 + u'0');
  if (c >= u'\uFF21' && c <= u'\uFF3A') return static_cast<char16_t>(c - 0xFF21 + u'a');
  if (c >= u'\uFF41' && c <= u'\uFF5A') return static_cast<char16_t>(c - 0xFF41 + u'a');
  if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c - u'A' + u'a');
  return c;
}

bool WordUnit(char16_t c) {
  if ((c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9')) return true;
  // Latin letters with marks (the macrons of romaji, a typed "café").
  return c >= 0xC0 && c < 0x2000 && c != 0xD7 && c != 0xF7;
}

bool Apostrophe(char16_t c) { return c == u'\'' || c == u'\u2019' || c == u'`'; }
bool Hyphen(char16_t c) { return c == u'-' || c == u'\u2010' || c == u'\u2011'; }

}  // namespace

std::vector<SearchToken> SearchTokens(std::u16string_view text) {
  std::vector<SearchToken> tokens;
  std::vector<bool> hyphenAfter;  // the word was ended by a hyphen inside a word
  SearchToken current;
  auto end = [&](bool hyphen) {
    if (current.text.empty()) return;
    tokens.push_back(std::move(current));
    hyphenAfter.push_back(hyphen);
    current = SearchToken{};
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = NarrowUnit(text[i]);
    if (JapaneseUnit(c)) {
      if (!current.japanese) end(false);
      current.japanese = true;
      // Katakana and hiragana meet as hiragana.
      current.text.push_back(c >= u'\u30A1' && c <= u'\u30F6' ? static_cast<char16_t>(c - 0x60) : c);
      continue;
    }
    if (current.japanese) end(false);
    if (WordUnit(c)) {
      current.text.push_back(c);
      continue;
    }
    const bool inWord = !current.text.empty() && i + 1 < text.size() && WordUnit(NarrowUnit(text[i + 1]));
    if (Apostrophe(c) && inWord) {
      // "I'll", "it's", "we're": the word before the apostrophe is the one
      // that counts. "Don't" keeps its "t" ("dont"), and a romaji "kin'en"
      // stays one word ("kinen").
      std::size_t k = i + 1;
      std::u16string rest;
      while (k < text.size() && WordUnit(NarrowUnit(text[k]))) rest.push_back(NarrowUnit(text[k++]));
      if (rest == u"ll" || rest == u"re" || rest == u"ve" || rest == u"m" || rest == u"d" || rest == u"s") i = k - 1;
      continue;
    }
    end(Hyphen(c) && inWord);
  }
  end(false);
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    if (!hyphenAfter[i] || (i > 0 && hyphenAfter[i - 1])) continue;
    std::u16string joined = tokens[i].text;
    for (std::size_t k = i; k < tokens.size() && hyphenAfter[k] && k + 1 < tokens.size(); ++k)
      joined += tokens[k + 1].text;
    tokens[i].joined = std::move(joined);
  }
  return tokens;
}

std::vector<std::u16string> JapanesePairs(std::u16string_view run) {
  std::vector<std::u16string> pairs;
  if (run.size() == 1) pairs.emplace_back(run);
  for (std::size_t i = 0; i + 1 < run.size(); ++i) pairs.emplace_back(run.substr(i, 2));
  return pairs;
}

}  // namespace lexoria
