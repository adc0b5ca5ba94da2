// SPDX-License-Identifier: GPL-3.0-or-later
// CItem: the phrase item behind a list line, and the 8-bit template helpers.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lexoria {

// A list line's item: the template text as read (slots with all their
// alternatives) and the display text (every slot reduced to its first
// alternative, brackets kept). The list control rewrites the display text
// when the user picks another alternative.
class CItem {
 public:
  CItem() = default;
  CItem(std::u16string templateText, std::u16string displayText);
  explicit CItem(std::u16string templateText);  // derives the display text
  virtual ~CItem() = default;

  const std::u16string& TemplateText() const { return templateText_; }
  const std::u16string& DisplayText() const { return displayText_; }
  void SetDisplayText(std::u16string text) { displayText_ = std::move(text); }

 private:
  std::u16string templateText_;
  std::u16string displayText_;
};

// Every slot "[a|b|c]" becomes "[a]"; slots without "|" and text outside
// slots are kept. Malformed slots (no closing "]") are left as they stand.
std::u16string DeriveDisplayText(std::u16string_view templateText);

// 8-bit template text to 16 bits: the code page is Latin-1, so each byte
// becomes the code point of the same value. Stops at the first zero byte.
std::u16string WidenLatin1(std::string_view text);

// Copies source bytes up to the first zero byte (or the end of the view) into
// 16-bit units, stopping at the first line feed, which is not copied; then
// writes a zero unit. At most capacity - 1 units are copied. When the first
// byte is zero (or the source is empty) the destination is left untouched.
// Returns the number of units copied.
std::size_t WidenLine(char16_t* destination, std::string_view source, std::size_t capacity);

// A-Z become a-z; nothing else changes.
std::u16string LowerAscii(std::u16string_view text);

}  // namespace lexoria
