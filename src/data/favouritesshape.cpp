// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/favouritesshape.h"

#include <algorithm>
#include <string>

#include "data/wellformed.h"

namespace lexoria {
namespace {

// Phrase numbers are small; four bytes of text read as a number are not.
constexpr std::int32_t kLargestPhraseNumber = 100000;

// Units of a text field up to its terminator; `ended` says whether one came.
std::u16string FieldText(const unsigned char* bytes, std::size_t units, bool& ended) {
  std::u16string text;
  ended = false;
  for (std::size_t i = 0; i < units; ++i) {
    const auto u = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    if (u == u'\0') {
      ended = true;
      break;
    }
    text.push_back(u);
  }
  return text;
}

// The first bytes of a record: the text so far well-formed, a surrogate cut
// in two allowed at the cut.
bool StartsARecord(const unsigned char* bytes, std::size_t size) {
  const std::size_t textBytes = std::min(size, kEnglishTextUnits * 2);
  bool ended = false;
  std::u16string text = FieldText(bytes, textBytes / 2, ended);
  if (!ended && !text.empty() && text.back() >= 0xD800 && text.back() <= 0xDBFF) text.pop_back();
  // Past the text field, the text must have ended inside it.
  if (size > kEnglishTextUnits * 2 && !ended) return false;
  if (ended && text.empty()) return false;
  return WellFormedText(text);
}

}  // namespace

bool ReadsAsFavourite(const EnglishBytes& record) {
  bool ended = false;
  const std::u16string text = FieldText(record.data(), kEnglishTextUnits, ended);
  if (!ended || text.empty() || !WellFormedText(text)) return false;
  const std::int32_t number = DecodeEnglishRecord(record).number;
  return number >= 1 && number <= kLargestPhraseNumber;
}

FavouritesShape ShapeOfFavourites(const std::vector<unsigned char>& bytes) {
  const std::size_t whole = bytes.size() / kEnglishRecordSize;
  for (std::size_t i = 0; i < whole; ++i) {
    EnglishBytes record;
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(i * kEnglishRecordSize), kEnglishRecordSize,
                record.begin());
    if (!ReadsAsFavourite(record)) return FavouritesShape::Foreign;
  }
  const std::size_t tail = bytes.size() % kEnglishRecordSize;
  if (tail == 0) return FavouritesShape::Sound;
  // A tail with no record before it may as well be anybody's file.
  if (whole == 0) return FavouritesShape::Foreign;
  return StartsARecord(bytes.data() + whole * kEnglishRecordSize, tail) ? FavouritesShape::TornTail
                                                                        : FavouritesShape::Foreign;
}

}  // namespace lexoria
