// SPDX-License-Identifier: GPL-3.0-or-later
// UTF-8 to and from the UTF-16 the phrase data is held in.
#pragma once

#include <string>
#include <string_view>

namespace lexoria {

// Unpaired surrogates become U+FFFD.
std::string ToUtf8(std::u16string_view text);
// False (and `out` unspecified) for bytes that are not well-formed UTF-8:
// a bad lead or continuation byte, an overlong form, a surrogate, or a
// code point beyond U+10FFFF.
bool FromUtf8(std::string_view bytes, std::u16string& out);

}  // namespace lexoria
