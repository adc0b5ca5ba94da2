// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/records.h"

#include <algorithm>

namespace lexoria {
namespace {

std::u16string DecodeUnits(const unsigned char* bytes, std::size_t units) {
  std::u16string out;
  for (std::size_t i = 0; i < units; ++i) {
    const auto u = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    if (u == u'\0') break;
    out.push_back(u);
  }
  return out;
}

// Writes at most units - 1 code units and leaves the rest zero, so the
// terminator always lies inside the field.
void EncodeUnits(unsigned char* bytes, std::size_t units, std::u16string_view text) {
  const std::size_t n = std::min(text.size(), units - 1);
  for (std::size_t i = 0; i < n; ++i) {
    bytes[2 * i] = static_cast<unsigned char>(text[i] & 0xFF);
    bytes[2 * i + 1] = static_cast<unsigned char>(text[i] >> 8);
  }
}

template <std::size_t N>
bool ReadWhole(std::FILE* file, std::array<unsigned char, N>& bytes) {
  if (file == nullptr) return false;
  return std::fread(bytes.data(), 1, N, file) == N;
}

}  // namespace

EnglishRecord DecodeEnglishRecord(const EnglishBytes& bytes) {
  EnglishRecord r;
  r.text = DecodeUnits(bytes.data(), kEnglishTextUnits);
  const std::uint32_t n = static_cast<std::uint32_t>(bytes[120]) | (static_cast<std::uint32_t>(bytes[121]) << 8) |
                          (static_cast<std::uint32_t>(bytes[122]) << 16) |
                          (static_cast<std::uint32_t>(bytes[123]) << 24);
  r.number = static_cast<std::int32_t>(n);
  return r;
}

EnglishBytes EncodeEnglishRecord(std::u16string_view text, std::int32_t number) {
  EnglishBytes bytes{};
  EncodeUnits(bytes.data(), kEnglishTextUnits, text);
  const auto n = static_cast<std::uint32_t>(number);
  for (int i = 0; i < 4; ++i) bytes[120 + i] = static_cast<unsigned char>(n >> (8 * i));
  return bytes;
}

JapaneseRecord DecodeJapaneseRecord(const JapaneseBytes& bytes) {
  JapaneseRecord r;
  r.pronunciation = DecodeUnits(bytes.data(), kJapaneseFieldUnits);
  r.first = DecodeUnits(bytes.data() + 2 * kJapaneseFieldUnits, kJapaneseFieldUnits);
  r.second = DecodeUnits(bytes.data() + 4 * kJapaneseFieldUnits, kJapaneseFieldUnits);
  return r;
}

JapaneseBytes EncodeJapaneseRecord(const JapaneseRecord& record) {
  JapaneseBytes bytes{};
  EncodeUnits(bytes.data(), kJapaneseFieldUnits, record.pronunciation);
  EncodeUnits(bytes.data() + 2 * kJapaneseFieldUnits, kJapaneseFieldUnits, record.first);
  EncodeUnits(bytes.data() + 4 * kJapaneseFieldUnits, kJapaneseFieldUnits, record.second);
  return bytes;
}

TemplateRecord DecodeTemplateRecord(const TemplateBytes& bytes) {
  TemplateRecord r;
  const auto* text = reinterpret_cast<const char*>(bytes.data());
  const auto* end = std::find(text, text + kTemplateTextBytes, '\0');
  r.text.assign(text, end);
  r.groupSize = static_cast<std::int16_t>(static_cast<std::uint16_t>(bytes[176] | (bytes[177] << 8)));
  return r;
}

bool ReadEnglishRecord(std::FILE* file, EnglishRecord& record) {
  EnglishBytes bytes;
  if (!ReadWhole(file, bytes)) return false;
  record = DecodeEnglishRecord(bytes);
  return true;
}

bool ReadJapaneseRecordFrom(std::FILE* file, JapaneseRecord& record) {
  JapaneseBytes bytes;
  if (!ReadWhole(file, bytes)) return false;
  record = DecodeJapaneseRecord(bytes);
  return true;
}

bool ReadTemplateRecord(std::FILE* file, TemplateRecord& record) {
  TemplateBytes bytes;
  if (!ReadWhole(file, bytes)) return false;
  record = DecodeTemplateRecord(bytes);
  return true;
}

std::u16string RemoveControlUnits(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (const char16_t u : text)
    if (u != u'\t' && u != u'\n' && u != u'\r') out.push_back(u);
  return out;
}

std::u16string CleanEnglishText(const EnglishRecord& record) {
  std::u16string text = RemoveControlUnits(record.text);
  if (record.number == 1 && !text.empty()) text.erase(0, 1);
  return text;
}

std::u16string RemoveBrackets(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (const char16_t u : text)
    if (u != u'[' && u != u']') out.push_back(u);
  return out;
}

std::u16string NumberText(std::int32_t number) {
  const std::string s = std::to_string(number);
  return std::u16string(s.begin(), s.end());
}

std::int32_t ParseNumberText(std::u16string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
  std::int64_t value = 0;
  for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
    value = value * 10 + (text[i] - u'0');
    if (value > INT32_MAX) break;
  }
  if (negative) value = -value;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

}  // namespace lexoria
