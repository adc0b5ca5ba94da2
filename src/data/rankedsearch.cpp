// SPDX-License-Identifier: GPL-3.0-or-later
// The key-word search as a ranked word search: the phrase files are read
// into a search index once, each search then lists the answering template
// lines best first.
#include <memory>

#include "data/phrasebook.h"
#include "data/wellformed.h"

namespace lexoria {

bool PhraseBook::BuildSearchIndex() {
  std::FILE* file = std::fopen(folders_.DataFile("MapEngSpec.data").c_str(), "rb");
  if (file == nullptr) return false;
  // Each phrase's own English as the phrase map keys it, by number, read
  // here so that the index does not hang on what the map holds now.
  const std::size_t slots = static_cast<std::size_t>(kPhraseCount) + 1;
  searchLines_.assign(slots, SearchLine{});
  if (std::FILE* english = std::fopen(folders_.DataFile("English.dat").c_str(), "rb")) {
    EnglishRecord record;
    for (std::int32_t n = 0; n < kPhraseCount && ReadEnglishRecord(english, record); ++n) {
      if (!WellFormedText(record.text) || record.number < 1 || record.number > kPhraseCount) continue;
      std::u16string text = CleanEnglishText(record);
      if (text.size() > kMaxLineUnits) text.resize(kMaxLineUnits);
      searchLines_[static_cast<std::size_t>(record.number)].english = std::move(text);
    }
    std::fclose(english);
  }

  std::vector<IndexedPhrase> phrases;
  TemplateBytes bytes;
  std::int32_t head = 0;
  std::int32_t groupLeft = 0;  // records of the current group still to come
  for (std::int32_t n = 1; n <= kPhraseCount && std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size(); ++n) {
    const bool sound = WellFormedTemplate(bytes);
    const TemplateRecord record = sound ? DecodeTemplateRecord(bytes) : TemplateRecord{};
    if (groupLeft > 0) {
      --groupLeft;
    } else {
      head = n;
      groupLeft = record.groupSize > 1 ? record.groupSize - 1 : 0;
      // A damaged head is never listed, and nor are the phrases of its line.
      if (!sound) {
        head = 0;
        continue;
      }
    }
    if (head == 0) continue;
    SearchLine& line = searchLines_[static_cast<std::size_t>(n)];
    line.head = head;
    line.templateText = searchLines_[static_cast<std::size_t>(head)].templateText;
    if (n == head) line.templateText = record.text;
    IndexedPhrase phrase;
    phrase.number = n;
    phrase.head = head;
    phrase.english = line.english;
    // Without its English.dat text, the head is still found by its line (up
    // to a line feed, as a line is searched).
    if (phrase.english.empty() && n == head)
      phrase.english = WidenLatin1(record.text.substr(0, record.text.find('\n')));
    const JapaneseRecord japanese = ReadJapaneseRecord(n);
    phrase.pronunciation = japanese.pronunciation;
    phrase.first = japanese.first;
    phrase.second = japanese.second;
    phrases.push_back(std::move(phrase));
  }
  std::fclose(file);
  searchIndex_ = std::make_unique<PhraseIndex>();
  searchIndex_->Build(phrases, BuiltInSynonyms());
  return searchIndex_->Built();
}

void PhraseBook::PrepareSearch() {
  if (searchIndex_ == nullptr && !BuildSearchIndex()) searchIndex_.reset();
}

void PhraseBook::RankedSearch(std::u16string_view keyWord, bool tellWhenNone) {
  lines_.clear();
  selection_ = -1;
  PrepareSearch();
  SearchHits hits;
  if (searchIndex_ != nullptr) hits = searchIndex_->Search(keyWord);
  for (const std::int32_t phrase : hits.phrases) {
    // The line shows the phrase that answered: a group's line with that
    // phrase's choice in its slots.
    const SearchLine& line = searchLines_[static_cast<std::size_t>(phrase)];
    std::u16string templateText = WidenLatin1(line.templateText);
    AddItem(phrase == line.head || line.english.empty()
                ? std::make_shared<CItem>(std::move(templateText))
                : std::make_shared<CItem>(std::move(templateText), line.english));
  }
  if (!lines_.empty()) searchCorrection_ = hits.corrected;
  Changed(BookChange::Kind::ListRefilled);
  if (lines_.empty() && tellWhenNone) Say(std::string(msg::kItemNotFound));
}

}  // namespace lexoria
