// SPDX-License-Identifier: GPL-3.0-or-later
// The ranked key-word search: a search engine index over every phrase's
// English, romaji and Japanese, built in memory from the phrase files.
//
// How data flows: the phrase book hands Build() one IndexedPhrase per phrase
// and the synonym list; Build() turns each into three documents (English
// words by their stems, romaji words folded as anyscript.h folds them,
// Japanese as character pairs), so that each script is weighed against its
// own length. Search() reads the query as words and Japanese runs, corrects a
// word nothing holds to the nearest one the index knows, widens each word to
// its synonyms, and ranks with BM25: more of the words, and rarer ones, rank
// higher. One result per template line, best first, the weak tail cut.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace lexoria {

struct IndexedPhrase {
  std::int32_t number = 0;  // phrase number
  std::int32_t head = 0;    // its template line's head: one result per line
  std::u16string english;   // its own English text, brackets kept or not
  std::u16string pronunciation;
  std::u16string first;   // kanji and kana
  std::u16string second;  // kana
};

struct SearchHits {
  std::vector<std::int32_t> phrases;  // best first, one per template line
  // The query as searched when a word was corrected ("Showing results for
  // ..."); empty when every word was searched as typed.
  std::u16string corrected;
};

class PhraseIndex {
 public:
  PhraseIndex();
  ~PhraseIndex();
  PhraseIndex(const PhraseIndex&) = delete;
  PhraseIndex& operator=(const PhraseIndex&) = delete;

  // Replaces the index. synonyms: the text of content/synonyms.txt.
  void Build(const std::vector<IndexedPhrase>& phrases, std::string_view synonyms);
  bool Built() const;
  SearchHits Search(std::u16string_view query) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// The synonym list compiled into the program (content/synonyms.txt).
std::string_view BuiltInSynonyms();

}  // namespace lexoria
