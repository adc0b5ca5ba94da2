// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/phrasebook.h"

#include <algorithm>
#include <utility>

#include "data/wellformed.h"

namespace lexoria {

PhraseBook::~PhraseBook() { CloseFiles(); }

void PhraseBook::CloseFiles() {
  if (english_ != nullptr) std::fclose(english_);
  if (japanese_ != nullptr) std::fclose(japanese_);
  english_ = japanese_ = nullptr;
  englishOpen_ = japaneseOpen_ = false;
  favouritesOpen_ = false;
}

void PhraseBook::OpenPhraseFiles() {
  CloseFiles();
  searchIndex_.reset();  // the files may be others now
  english_ = std::fopen(folders_.DataFile("English.dat").c_str(), "rb");
  englishOpen_ = english_ != nullptr;
  japanese_ = std::fopen(folders_.DataFile("Japanese.dat").c_str(), "rb");
  japaneseOpen_ = japanese_ != nullptr;
  // No handle on favorite.dat is kept: another copy may replace the file.
  favouritesOpen_ = favouritesFile_.Usable();
}

int PhraseBook::LoadEnglishRange(std::int32_t first, std::int32_t last) {
  if (!englishOpen_ || english_ == nullptr) return 0;
  map_.clear();
  if (viewMode_ == kViewBrowse) ClearList();
  if (first >= 1 &&
      std::fseek(english_, static_cast<long>(first - 1) * static_cast<long>(kEnglishRecordSize), SEEK_SET) == 0) {
    EnglishRecord record;
    for (std::int32_t counter = first - 1;
         counter < std::min(last, kPhraseCount) && ReadEnglishRecord(english_, record); ++counter)
      if (WellFormedText(record.text)) MapPhrase(CleanEnglishText(record), record.number);
  }
  if (viewMode_ == kViewBrowse) FillTemplateRange(first, last);
  Changed(BookChange::Kind::PhraseShown);
  return 1;
}

void PhraseBook::LoadAllEnglish() {
  map_.clear();
  std::FILE* file = std::fopen(folders_.DataFile("English.dat").c_str(), "rb");
  if (file == nullptr) {
    Say(std::string(msg::kCantReadFile));
    return;
  }
  EnglishRecord record;
  for (std::int32_t n = 0; n < kPhraseCount && ReadEnglishRecord(file, record); ++n)
    if (WellFormedText(record.text)) MapPhrase(CleanEnglishText(record), record.number);
  std::fclose(file);
}

JapaneseRecord PhraseBook::ReadJapaneseRecord(std::int32_t phrase) {
  JapaneseRecord record;
  if (phrase >= 1 && japaneseOpen_ && japanese_ != nullptr &&
      std::fseek(japanese_, static_cast<long>(phrase - 1) * static_cast<long>(kJapaneseRecordSize), SEEK_SET) == 0) {
    if (!ReadJapaneseRecordFrom(japanese_, record)) record = JapaneseRecord{};
  }
  // A damaged field shows as nothing.
  for (std::u16string* field : {&record.pronunciation, &record.first, &record.second})
    if (!WellFormedText(*field)) field->clear();
  return record;
}

namespace {
void DropLast(std::u16string& text) {
  if (!text.empty()) text.pop_back();
}
void DropFirst(std::u16string& text) {
  if (!text.empty()) text.erase(0, 1);
}
}  // namespace

void PhraseBook::ShowSelectedPhrase() {
  currentSelectionIndex_ = selection_;
  if (lines_.empty()) return;
  // No line selected: nothing to look up (the list box would refuse the read).
  if (selection_ < 0 || static_cast<std::size_t>(selection_) >= lines_.size()) return;
  selectedLineText_ = lines_[static_cast<std::size_t>(selection_)].text.substr(0, kMaxLineUnits);

  const auto it = map_.find(selectedLineText_);
  if (it == map_.end()) {
    ForgetPhrase();
    // A damaged English.dat or MapEngSpec.data was reported once at start.
    if (!phraseFilesDamaged_) Say(std::string(msg::kPhraseNotFound));
    return;
  }
  phraseSelected_ = true;
  currentPhrase_ = ParseNumberText(it->second);
  changes_.push_back(BookChange{BookChange::Kind::ClipWanted, currentPhrase_, {}});
  japaneseRecord_ = ReadJapaneseRecord(currentPhrase_);

  pronunciationText_ = japaneseRecord_.pronunciation;
  japaneseText_ = japaneseForm_ ? japaneseRecord_.first : japaneseRecord_.second;
  // The builder leaves the carriage return at the end of every field.
  DropLast(pronunciationText_);
  DropLast(japaneseText_);
  // And the byte-order mark at the start of phrase 1's fields.
  if (currentPhrase_ == 1) {
    DropFirst(pronunciationText_);
    DropFirst(japaneseText_);
  }
}

void PhraseBook::ForgetPhrase() {
  phraseSelected_ = false;
  currentPhrase_ = 0;
  japaneseRecord_ = JapaneseRecord{};
  pronunciationText_.clear();
  japaneseText_.clear();
}

void PhraseBook::SetSelection(int index) {
  selection_ = (index >= 0 && static_cast<std::size_t>(index) < lines_.size()) ? index : -1;
}

bool PhraseBook::ReplaceLineText(std::size_t index, std::u16string text) {
  if (index >= lines_.size()) return false;
  ListLine& line = lines_[index];
  if (line.item) line.item->SetDisplayText(text);
  if (text.size() > kMaxLineUnits) text.resize(kMaxLineUnits);
  line.text = std::move(text);
  return true;
}

void PhraseBook::ClearList() {
  lines_.clear();
  selection_ = -1;
  Changed(BookChange::Kind::ListRefilled);
}

void PhraseBook::AddLine(std::u16string text, std::shared_ptr<CItem> item) {
  // Longer lines do not occur with conforming data; the selected line text
  // could not hold them anyway.
  if (text.size() > kMaxLineUnits) text.resize(kMaxLineUnits);
  lines_.push_back(ListLine{std::move(text), std::move(item)});
}

void PhraseBook::MapPhrase(std::u16string key, std::int32_t number) {
  // Cut like a list line, so that a line that had to be cut is still found.
  if (key.size() > kMaxLineUnits) key.resize(kMaxLineUnits);
  map_[std::move(key)] = NumberText(number);
}

void PhraseBook::AddItem(std::shared_ptr<CItem> item) {
  std::u16string text = item->DisplayText();
  AddLine(std::move(text), std::move(item));
}

}  // namespace lexoria
