// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/phraseindex.h"

#include <xapian.h>

#include <algorithm>
#include <array>
#include <map>
#include <set>

#include "data/anyscript.h"
#include "data/searchwords.h"
#include "data/spelling.h"
#include "data/synonyms.h"

namespace lexoria {
namespace {

// The three scripts, each in an index of its own, so that each is weighed
// against its own length and its own word counts: a long Japanese rendering
// does not bury an English word, and "the" is common among English lines,
// not among all lines of every script.
enum Script : std::size_t { kEnglish, kRomaji, kJapanese, kScripts };

// Every document of a template line carries its head here: one result per line.
constexpr Xapian::valueno kHeadSlot = 0;
// Romaji shares many short words with English ("no", "to", "go"): a romaji
// match counts for less than the same English word.
constexpr double kRomajiWeight = 0.5;
// A synonym finds the phrase, but the word as typed finds it first.
constexpr double kSynonymWeight = 0.7;
// Function words say little of what is wanted beside the other words.
constexpr double kFunctionWordWeight = 0.25;
// Results weaker than this share of the best one are noise, not answers.
constexpr double kRelevanceFloor = 0.35;
constexpr Xapian::doccount kMostResults = 25;
// A query longer than this many words is cut: nobody types more, and every
// word costs a posting list.
constexpr std::size_t kMostQueryWords = 24;
// The most words the last, unfinished word of a query is completed to.
constexpr std::size_t kMostCompletions = 8;
// BM25 with full length normalisation: the lines are short, and of two lines
// holding the word the shorter is about it.
constexpr double kBm25K1 = 1.2;
constexpr double kBm25B = 1.0;
constexpr double kBm25MinLength = 0.01;

// English words that weigh little next to others ("where is the station").
constexpr std::array kFunctionWords = {
    u"a",     u"an",   u"and",  u"any", u"are", u"as",   u"at",   u"be",     u"by",     u"can",  u"could", u"do",
    u"does",  u"for",  u"from", u"get", u"has", u"have", u"here", u"i",      u"in",     u"is",   u"it",    u"its",
    u"me",    u"may",  u"my",   u"of",  u"on",  u"or",   u"our",  u"please", u"should", u"some", u"that",  u"the",
    u"there", u"this", u"to",   u"us",  u"was", u"we",   u"will", u"with",   u"would",  u"you",  u"your",
};

bool FunctionWord(std::u16string_view word) {
  return std::find(kFunctionWords.begin(), kFunctionWords.end(), word) != kFunctionWords.end();
}

// Romaji and Japanese terms carry a prefix; English stems have none.
std::string Prefixed(char prefix, std::u16string_view text) {
  std::string term(1, prefix);
  term += ToUtf8(text);
  return term;
}
std::string RomajiTerm(std::u16string_view folded) { return Prefixed('R', folded); }
std::string JapaneseTerm(std::u16string_view pair) { return Prefixed('J', pair); }

Xapian::Query Combined(Xapian::Query::op op, const std::vector<Xapian::Query>& parts) {
  return parts.size() == 1 ? parts.front() : Xapian::Query(op, parts.begin(), parts.end());
}

}  // namespace

struct PhraseIndex::Impl {
  Impl() {
    for (Xapian::WritableDatabase& database : db)
      database = Xapian::WritableDatabase(std::string(), Xapian::DB_BACKEND_INMEMORY);
  }
  std::array<Xapian::WritableDatabase, kScripts> db;
  std::array<std::vector<std::int32_t>, kScripts> phraseOfDocument;  // by document id - 1
  Xapian::Stem stem{"english"};
  std::vector<SynonymGroup> groups;
  // A member's word stems joined by spaces -> the groups it is in.
  std::multimap<std::string, std::size_t> groupsOfMember;
  std::size_t longestMember = 1;
  // Words a typed word may be corrected or completed to, with how often the
  // index holds them (a more common word wins a tie).
  std::map<std::u16string, unsigned> vocabulary;
  bool built = false;

  std::string EnglishTerm(std::u16string_view word) const { return stem(ToUtf8(word)); }
  std::string MemberKey(const std::vector<std::u16string>& words) const;
  void AddDocument(Script script, const IndexedPhrase& phrase, Xapian::Document& document);
  void AddEnglish(const IndexedPhrase& phrase);
  void AddRomaji(const IndexedPhrase& phrase);
  void AddJapanese(const IndexedPhrase& phrase);
  void AddSynonyms(std::string_view text);
  bool Known(const std::u16string& word) const;
  std::vector<std::u16string> Completions(const std::u16string& prefix) const;
  std::u16string Correction(const std::u16string& word) const;
  Xapian::Query EnglishQuery(const std::vector<std::u16string>& forms) const;
  Xapian::Query RomajiQuery(const std::vector<std::u16string>& forms) const;
  Xapian::Query MemberQuery(const SynonymMember& member) const;
};

std::string PhraseIndex::Impl::MemberKey(const std::vector<std::u16string>& words) const {
  std::string key;
  for (const std::u16string& word : words) {
    if (!key.empty()) key += ' ';
    key += EnglishTerm(word);
  }
  return key;
}

void PhraseIndex::Impl::AddDocument(Script script, const IndexedPhrase& phrase, Xapian::Document& document) {
  if (document.termlist_count() == 0) return;
  document.add_value(kHeadSlot, Xapian::sortable_serialise(phrase.head));
  db[script].add_document(document);
  phraseOfDocument[script].push_back(phrase.number);
}

void PhraseIndex::Impl::AddEnglish(const IndexedPhrase& phrase) {
  Xapian::Document document;
  Xapian::termpos position = 0;
  for (const SearchToken& token : SearchTokens(phrase.english)) {
    if (token.japanese) continue;
    document.add_posting(EnglishTerm(token.text), ++position);
    ++vocabulary[token.text];
    if (!token.joined.empty()) {
      document.add_term(EnglishTerm(token.joined));
      ++vocabulary[token.joined];
    }
  }
  AddDocument(kEnglish, phrase, document);
}

void PhraseIndex::Impl::AddRomaji(const IndexedPhrase& phrase) {
  // "Kin'en" is typed "kinen": the apostrophe only parts syllables.
  std::u16string pronunciation = phrase.pronunciation;
  std::erase_if(pronunciation, [](char16_t c) { return c == u'\'' || c == u'\u2019'; });
  const FoldedRomaji folded = FoldRomajiWords(pronunciation);
  std::vector<std::u16string> words;
  for (std::size_t i = 0; i < folded.wordStarts.size(); ++i) {
    const std::size_t end = i + 1 < folded.wordStarts.size() ? folded.wordStarts[i + 1] : folded.text.size();
    words.push_back(folded.text.substr(folded.wordStarts[i], end - folded.wordStarts[i]));
  }
  Xapian::Document document;
  Xapian::termpos position = 0;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::u16string& word = words[i];
    document.add_posting(RomajiTerm(word), ++position);
    ++vocabulary[word];
    // The polite prefixes are joined to their word (omizu, gochūmon), but a
    // traveller types the word itself.
    if (word.size() >= 4 && word[0] == u'o') document.add_term(RomajiTerm(word.substr(1)));
    if (word.size() >= 5 && word.starts_with(u"go")) document.add_term(RomajiTerm(word.substr(2)));
    // Two words typed as one ("arigatogozaimasu").
    if (i + 1 < words.size()) document.add_term(RomajiTerm(word + words[i + 1]));
  }
  AddDocument(kRomaji, phrase, document);
}

void PhraseIndex::Impl::AddJapanese(const IndexedPhrase& phrase) {
  Xapian::Document document;
  for (const std::u16string* rendering : {&phrase.first, &phrase.second}) {
    for (const SearchToken& token : SearchTokens(*rendering)) {
      if (!token.japanese) continue;
      // Single kanji for a one-character query (駅, 水), pairs for
      // everything longer; a single kana says nothing.
      const std::u16string& run = token.text;
      for (std::size_t i = 0; i < run.size(); ++i) {
        if (run[i] >= u'\u3400') document.add_term(JapaneseTerm(run.substr(i, 1)));
        if (i + 1 < run.size()) document.add_term(JapaneseTerm(run.substr(i, 2)));
      }
    }
  }
  AddDocument(kJapanese, phrase, document);
}

void PhraseIndex::Impl::AddSynonyms(std::string_view text) {
  groups = ParseSynonyms(text);
  for (std::size_t g = 0; g < groups.size(); ++g) {
    for (const SynonymMember& member : groups[g]) {
      for (const std::u16string& word : member) vocabulary.try_emplace(word, 0);
      groupsOfMember.emplace(MemberKey(member), g);
      longestMember = std::max(longestMember, member.size());
    }
  }
}

bool PhraseIndex::Impl::Known(const std::u16string& word) const {
  const std::string english = EnglishTerm(word);
  if (db[kEnglish].term_exists(english) || db[kRomaji].term_exists(RomajiTerm(FoldRomaji(word)))) return true;
  // A word of a synonym list member, alone or with others.
  for (const auto& [key, group] : groupsOfMember) {
    if (key == english || key.starts_with(english + ' ') || key.ends_with(' ' + english) ||
        key.find(' ' + english + ' ') != std::string::npos)
      return true;
  }
  return false;
}

std::vector<std::u16string> PhraseIndex::Impl::Completions(const std::u16string& prefix) const {
  std::vector<std::pair<unsigned, std::u16string>> found;
  for (auto it = vocabulary.lower_bound(prefix); it != vocabulary.end() && it->first.starts_with(prefix); ++it)
    if (it->first != prefix) found.emplace_back(it->second, it->first);
  std::stable_sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
  std::vector<std::u16string> words;
  for (std::size_t i = 0; i < found.size() && i < kMostCompletions; ++i) words.push_back(found[i].second);
  return words;
}

std::u16string PhraseIndex::Impl::Correction(const std::u16string& word) const {
  const std::size_t allowed = AllowedEdits(word.size());
  if (allowed == 0) return {};
  std::u16string best;
  std::size_t bestDistance = allowed + 1;
  unsigned bestCount = 0;
  for (const auto& [candidate, count] : vocabulary) {
    if (candidate.size() < 3) continue;
    const std::size_t distance = EditDistance(word, candidate, allowed);
    // Closer first; then the word that keeps the first letter (slips are
    // rarely there); then the more common.
    const bool sameStart = candidate[0] == word[0];
    const bool bestSameStart = !best.empty() && best[0] == word[0];
    if (distance < bestDistance || (distance == bestDistance && sameStart && !bestSameStart) ||
        (distance == bestDistance && sameStart == bestSameStart && count > bestCount)) {
      best = candidate;
      bestDistance = distance;
      bestCount = count;
    }
  }
  return bestDistance <= allowed ? best : std::u16string{};
}

Xapian::Query PhraseIndex::Impl::EnglishQuery(const std::vector<std::u16string>& forms) const {
  std::vector<Xapian::Query> stems;
  for (const std::u16string& form : forms) stems.emplace_back(EnglishTerm(form));
  return Combined(Xapian::Query::OP_SYNONYM, stems);
}

Xapian::Query PhraseIndex::Impl::RomajiQuery(const std::vector<std::u16string>& forms) const {
  std::vector<Xapian::Query> terms;
  for (const std::u16string& form : forms) terms.emplace_back(RomajiTerm(FoldRomaji(form)));
  return Combined(Xapian::Query::OP_SYNONYM, terms);
}

Xapian::Query PhraseIndex::Impl::MemberQuery(const SynonymMember& member) const {
  if (member.size() == 1) return Xapian::Query(EnglishTerm(member[0]));
  std::vector<Xapian::Query> terms;
  for (const std::u16string& word : member) terms.emplace_back(EnglishTerm(word));
  return Xapian::Query(Xapian::Query::OP_PHRASE, terms.begin(), terms.end(), terms.size());
}

PhraseIndex::PhraseIndex() : impl_(std::make_unique<Impl>()) {}
PhraseIndex::~PhraseIndex() = default;

bool PhraseIndex::Built() const { return impl_->built; }

void PhraseIndex::Build(const std::vector<IndexedPhrase>& phrases, std::string_view synonyms) {
  try {
    impl_ = std::make_unique<Impl>();
    for (const IndexedPhrase& phrase : phrases) {
      impl_->AddEnglish(phrase);
      impl_->AddRomaji(phrase);
      impl_->AddJapanese(phrase);
    }
    impl_->AddSynonyms(synonyms);
    impl_->built = true;
  } catch (const Xapian::Error&) {
    impl_ = std::make_unique<Impl>();
  }
}

SearchHits PhraseIndex::Search(std::u16string_view query) const {
  SearchHits hits;
  const Impl& index = *impl_;
  if (!index.built) return hits;
  std::vector<SearchToken> tokens = SearchTokens(query);
  if (tokens.size() > kMostQueryWords) tokens.resize(kMostQueryWords);
  if (tokens.empty()) return hits;
  // A query still being typed ends inside its last word.
  const bool lastUnfinished =
      !tokens.back().japanese && tokens.back().text.size() >= 3 && query.back() != u' ' && query.back() != u'\u3000';

  try {
    // Words nothing holds: the last one may be unfinished, any may be a slip.
    std::vector<std::vector<std::u16string>> forms(tokens.size());
    bool corrected = false;
    bool contentWord = false;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
      SearchToken& token = tokens[i];
      forms[i] = {token.text};
      contentWord = contentWord || token.japanese || !FunctionWord(token.text);
      if (token.japanese || index.Known(token.text)) continue;
      if (i + 1 == tokens.size() && lastUnfinished) {
        const std::vector<std::u16string> completions = index.Completions(token.text);
        if (!completions.empty()) {
          forms[i].insert(forms[i].end(), completions.begin(), completions.end());
          continue;
        }
      }
      const std::u16string correction = index.Correction(token.text);
      if (correction.empty()) continue;
      token.text = correction;
      forms[i] = {correction};
      corrected = true;
    }

    std::array<std::vector<Xapian::Query>, kScripts> parts;
    for (std::size_t i = 0; i < tokens.size();) {
      if (tokens[i].japanese) {
        std::vector<Xapian::Query> pairs;
        for (const std::u16string& pair : JapanesePairs(tokens[i].text)) pairs.emplace_back(JapaneseTerm(pair));
        parts[kJapanese].push_back(Combined(Xapian::Query::OP_OR, pairs));
        ++i;
        continue;
      }
      // The longest run of words that is a member of a synonym group: the
      // run as typed, then every other member of its groups.
      std::size_t taken = 1;
      Xapian::Query english = index.EnglishQuery(forms[i]);
      for (std::size_t length = std::min(index.longestMember, tokens.size() - i); length > 0; --length) {
        std::vector<std::u16string> words;
        for (std::size_t k = i; k < i + length && !tokens[k].japanese; ++k) words.push_back(tokens[k].text);
        if (words.size() < length) continue;
        const std::string key = index.MemberKey(words);
        const auto [from, to] = index.groupsOfMember.equal_range(key);
        if (from == to) continue;
        std::vector<Xapian::Query> others;
        for (auto group = from; group != to; ++group)
          for (const SynonymMember& member : index.groups[group->second])
            if (index.MemberKey(member) != key) others.push_back(index.MemberQuery(member));
        const Xapian::Query typed = length == 1 ? english : index.MemberQuery(words);
        english = Xapian::Query(
            Xapian::Query::OP_OR, typed,
            Xapian::Query(Xapian::Query::OP_SCALE_WEIGHT, Combined(Xapian::Query::OP_SYNONYM, others), kSynonymWeight));
        taken = length;
        break;
      }
      const bool light = taken == 1 && contentWord && FunctionWord(tokens[i].text);
      parts[kEnglish].push_back(light ? Xapian::Query(Xapian::Query::OP_SCALE_WEIGHT, english, kFunctionWordWeight)
                                      : english);
      for (std::size_t k = i; k < i + taken; ++k) parts[kRomaji].push_back(index.RomajiQuery(forms[k]));
      i += taken;
    }

    // Two words typed side by side and written side by side ("bus stop")
    // say more than the same words apart.
    for (std::size_t i = 0; i + 1 < tokens.size(); ++i) {
      if (tokens[i].japanese || tokens[i + 1].japanese || forms[i].size() > 1 || forms[i + 1].size() > 1) continue;
      if (FunctionWord(tokens[i].text) || FunctionWord(tokens[i + 1].text)) continue;
      parts[kEnglish].push_back(index.MemberQuery({tokens[i].text, tokens[i + 1].text}));
    }

    // Each script ranks its own lines; a line keeps its best showing.
    struct Found {
      double weight;
      std::int32_t phrase;
    };
    std::map<std::string, Found> bestOfLine;  // by the head's sortable value
    for (std::size_t script = 0; script < kScripts; ++script) {
      if (parts[script].empty()) continue;
      Xapian::Enquire enquire(index.db[script]);
      enquire.set_query(Combined(Xapian::Query::OP_OR, parts[script]));
      enquire.set_collapse_key(kHeadSlot);
      enquire.set_weighting_scheme(Xapian::BM25Weight(kBm25K1, 0, 1, kBm25B, kBm25MinLength));
      const Xapian::MSet found = enquire.get_mset(0, kMostResults);
      const double scale = script == kRomaji ? kRomajiWeight : 1.0;
      for (auto it = found.begin(); it != found.end(); ++it) {
        const Found candidate{it.get_weight() * scale, index.phraseOfDocument[script][*it - 1]};
        const auto [line, added] = bestOfLine.emplace(it.get_document().get_value(kHeadSlot), candidate);
        if (!added && candidate.weight > line->second.weight) line->second = candidate;
      }
    }
    std::vector<Found> ranked;
    for (const auto& [head, found] : bestOfLine) ranked.push_back(found);
    std::sort(ranked.begin(), ranked.end(), [](const Found& a, const Found& b) {
      return a.weight != b.weight ? a.weight > b.weight : a.phrase < b.phrase;
    });
    for (const Found& found : ranked) {
      if (found.weight < ranked.front().weight * kRelevanceFloor || hits.phrases.size() >= kMostResults) break;
      hits.phrases.push_back(found.phrase);
    }
    if (corrected && !hits.phrases.empty()) {
      for (const SearchToken& token : tokens) {
        if (!hits.corrected.empty()) hits.corrected += u' ';
        hits.corrected += token.text;
      }
    }
  } catch (const Xapian::Error&) {
    hits = SearchHits{};
  }
  return hits;
}

}  // namespace lexoria
