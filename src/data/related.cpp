// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/related.h"

#include <algorithm>
#include <cstddef>
#include <memory>

#include "data/phrasebook.h"
#include "data/wellformed.h"

namespace lexoria {

int IsBitSet(int j, std::uint8_t b) {
  if (j < 0 || j > 7) return -1;
  return (b & (1u << (7 - j))) != 0 ? 1 : 0;
}

bool PhraseBook::ShowRelatedPhrases() { return ShowRelatedPhrasesOf(currentClip_) == RelatedResult::Listed; }

RelatedResult PhraseBook::ShowRelatedPhrasesOf(std::int32_t source) {
  Changed(BookChange::Kind::PhraseShown);
  std::FILE* file = std::fopen(folders_.DataFile("Relate.dat").c_str(), "rb");
  if (file == nullptr) return RelatedResult::CantReadFile;
  relateTable_.resize(static_cast<std::size_t>(kPhraseCount) * kRelateRowSize);
  // Whole rows only: a short last row keeps the table's previous content.
  std::uint8_t read[kRelateRowSize];
  for (std::size_t r = 0; r < static_cast<std::size_t>(kPhraseCount); ++r) {
    if (std::fread(read, 1, kRelateRowSize, file) != kRelateRowSize) break;
    std::copy(read, read + kRelateRowSize, relateTable_.begin() + static_cast<std::ptrdiff_t>(r * kRelateRowSize));
  }
  std::fclose(file);
  // A phrase number outside the table has no row (the caller guards below 1).
  if (source < 1 || source > kPhraseCount) return RelatedResult::NoneFound;
  const std::uint8_t* row = relateTable_.data() + static_cast<std::size_t>(source - 1) * kRelateRowSize;
  if (std::all_of(row, row + kRelateRowSize, [](std::uint8_t b) { return b == 0; })) return RelatedResult::NoneFound;

  map_.clear();
  lines_.clear();
  selection_ = -1;
  for (std::size_t i = 0; i < kRelateRowSize; ++i)
    for (int j = 0; j < 8; ++j)
      if (IsBitSet(j, row[i]) == 1) {
        const auto n = static_cast<std::int32_t>(8 * i + static_cast<std::size_t>(j) + 1);
        AddEnglishItems(n, n);
      }
  Changed(BookChange::Kind::ListRefilled);
  return RelatedResult::Listed;
}

void PhraseBook::AddEnglishItems(std::int32_t first, std::int32_t last) {
  if (!englishOpen_ || english_ == nullptr || first < 1) return;
  if (std::fseek(english_, static_cast<long>(first - 1) * static_cast<long>(kEnglishRecordSize), SEEK_SET) != 0) return;
  EnglishRecord record;
  for (std::int32_t counter = first - 1; counter < std::min(last, kPhraseCount) && ReadEnglishRecord(english_, record);
       ++counter) {
    if (!WellFormedText(record.text)) continue;  // a damaged record shows as nothing
    // Unlike the category fill, phrase 1 keeps its byte-order mark here.
    std::u16string text = RemoveControlUnits(record.text);
    MapPhrase(text, record.number);
    AddItem(std::make_shared<CItem>(std::move(text)));
  }
  Changed(BookChange::Kind::PhraseShown);
}

}  // namespace lexoria
