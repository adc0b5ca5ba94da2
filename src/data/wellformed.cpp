// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/wellformed.h"

namespace lexoria {

bool WellFormedText(std::u16string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t u = text[i];
    if (u >= 0xD800 && u <= 0xDBFF) {
      if (i + 1 >= text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF) return false;
      ++i;
      continue;
    }
    if (u >= 0xDC00 && u <= 0xDFFF) return false;
    if (u == 0xFFFE || u == 0xFFFF || (u >= 0xFDD0 && u <= 0xFDEF)) return false;
    if (u >= 0xE000 && u <= 0xF8FF) return false;
    if (u < 0x20 && u != u'\t' && u != u'\n' && u != u'\r') return false;
    if (u >= 0x7F && u <= 0x9F) return false;
    if (u == 0xFEFF && i != 0) return false;
  }
  return true;
}

bool WellFormedEnglish(const EnglishBytes& bytes) { return WellFormedText(DecodeEnglishRecord(bytes).text); }

bool WellFormedJapanese(const JapaneseBytes& bytes) {
  const JapaneseRecord r = DecodeJapaneseRecord(bytes);
  return WellFormedText(r.pronunciation) && WellFormedText(r.first) && WellFormedText(r.second);
}

bool WellFormedTemplate(const TemplateBytes& bytes) {
  bool terminated = false;
  bool inSlot = false;
  for (std::size_t i = 0; i < kTemplateTextBytes; ++i) {
    const unsigned char c = bytes[i];
    if (terminated) {
      if (c != 0) return false;  // the writers zero-fill the field
    } else if (c == 0) {
      terminated = true;
    } else if (c == '[') {
      if (inSlot) return false;
      inSlot = true;
    } else if (c == ']') {
      if (!inSlot) return false;
      inSlot = false;
    } else if (c == '|') {
      if (!inSlot) return false;
    } else if ((c < 0x20 && c != '\t' && c != '\n') || (c >= 0x7F && c <= 0x9F)) {
      return false;
    }
  }
  if (!terminated || inSlot) return false;
  return DecodeTemplateRecord(bytes).groupSize <= kPhraseCount;
}

bool WellFormedRelateRow(const unsigned char* row) {
  // Phrases 825 and 826 are the two high bits of the last byte.
  return (row[kRelateRowSize - 1] & 0x3F) == 0;
}

}  // namespace lexoria
