// SPDX-License-Identifier: GPL-3.0-or-later
// Layouts of the fixed-record phrase files and the text cleaning rules.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace lexoria {

// Every loader stops after this many records.
inline constexpr std::int32_t kPhraseCount = 826;

// English.dat and favorite.dat: 60 UTF-16LE units of text ended by U+0000,
// then the phrase number, 32-bit little-endian.
inline constexpr std::size_t kEnglishRecordSize = 124;
inline constexpr std::size_t kEnglishTextUnits = 60;
// The selected line text holds 60 units with its terminator.
inline constexpr std::size_t kMaxLineUnits = 59;

// Japanese.dat: three fields of 110 UTF-16LE units, each ended by U+0000.
inline constexpr std::size_t kJapaneseRecordSize = 660;
inline constexpr std::size_t kJapaneseFieldUnits = 110;

// MapEngSpec.data: 176 bytes of 8-bit template text ended by a zero byte,
// then the group size, 16-bit signed little-endian.
inline constexpr std::size_t kTemplateRecordSize = 178;
inline constexpr std::size_t kTemplateTextBytes = 176;

// Relate.dat: one row of 104 bytes per phrase, a bit set over phrase numbers.
inline constexpr std::size_t kRelateRowSize = 104;

struct EnglishRecord {
  std::u16string text;  // up to the terminator (or the end of the field)
  std::int32_t number = 0;
};

struct JapaneseRecord {
  std::u16string pronunciation;
  std::u16string first;   // first Japanese rendering
  std::u16string second;  // second Japanese rendering
};

struct TemplateRecord {
  std::string text;  // the 8-bit bytes up to the zero byte (or the field end)
  std::int16_t groupSize = 1;
};

using EnglishBytes = std::array<unsigned char, kEnglishRecordSize>;
using JapaneseBytes = std::array<unsigned char, kJapaneseRecordSize>;
using TemplateBytes = std::array<unsigned char, kTemplateRecordSize>;

EnglishRecord DecodeEnglishRecord(const EnglishBytes& bytes);
// Text cut to 59 units, zero-filled after its terminator.
EnglishBytes EncodeEnglishRecord(std::u16string_view text, std::int32_t number);
JapaneseRecord DecodeJapaneseRecord(const JapaneseBytes& bytes);
// Each field cut to 109 units, zero-filled after its terminator.
JapaneseBytes EncodeJapaneseRecord(const JapaneseRecord& record);
TemplateRecord DecodeTemplateRecord(const TemplateBytes& bytes);

// Whole-record reads: false (and nothing taken) when the file holds no whole
// record at its position, so every read past the end stops cleanly.
bool ReadEnglishRecord(std::FILE* file, EnglishRecord& record);
bool ReadJapaneseRecordFrom(std::FILE* file, JapaneseRecord& record);
bool ReadTemplateRecord(std::FILE* file, TemplateRecord& record);

// Removes every U+0009, then every U+000A, then every U+000D.
std::u16string RemoveControlUnits(std::u16string_view text);
// The English text of a record as a list line shows it: control units
// removed, and phrase 1 loses its first unit (the byte-order mark).
std::u16string CleanEnglishText(const EnglishRecord& record);
// Removes every "[" and then every "]".
std::u16string RemoveBrackets(std::u16string_view text);

// The phrase number as the phrase map keeps it ("%d") and back; the parse
// reads an optional sign and leading digits like atoi, 0 when there are none.
std::u16string NumberText(std::int32_t number);
std::int32_t ParseNumberText(std::u16string_view text);

}  // namespace lexoria
