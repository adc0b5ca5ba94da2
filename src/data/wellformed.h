// SPDX-License-Identifier: GPL-3.0-or-later
// Which records of the phrase files are sound: the rules the start-up check
// and the readers share, so that a damaged record shows as nothing instead of
// as garbage.
#pragma once

#include <cstddef>
#include <string_view>

#include "data/records.h"

namespace lexoria {

// A UTF-16 text as the phrase files store it: surrogates paired, no
// noncharacter (U+FFFE, U+FFFF, U+FDD0-U+FDEF), no private-use unit, no
// control unit but tab, line feed and carriage return, and the byte-order
// mark only as the first unit.
bool WellFormedText(std::u16string_view text);

// The text up to the terminator (or the field's end) of each field.
bool WellFormedEnglish(const EnglishBytes& bytes);
bool WellFormedJapanese(const JapaneseBytes& bytes);
// A zero byte inside the text field and only zeros after it; printable
// Latin-1 only (tab and line
// feed allowed); slots closed, not nested, "|" only inside a slot; a group
// size of at most the phrase count.
bool WellFormedTemplate(const TemplateBytes& bytes);
// The six bits after phrase 826 are clear.
bool WellFormedRelateRow(const unsigned char* row);

}  // namespace lexoria
