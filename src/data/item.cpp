// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/item.h"

#include <utility>

namespace lexoria {

CItem::CItem(std::u16string templateText, std::u16string displayText)
    : templateText_(std::move(templateText)), displayText_(std::move(displayText)) {}

CItem::CItem(std::u16string templateText)
    : templateText_(std::move(templateText)), displayText_(DeriveDisplayText(templateText_)) {}

std::u16string DeriveDisplayText(std::u16string_view templateText) {
  std::u16string out;
  out.reserve(templateText.size());
  std::size_t pos = 0;
  while (pos < templateText.size()) {
    const std::size_t open = templateText.find(u'[', pos);
    if (open == std::u16string_view::npos) break;
    const std::size_t close = templateText.find(u']', open);
    if (close == std::u16string_view::npos) break;  // malformed: keep the rest as it is
    const std::size_t bar = templateText.find(u'|', open);
    out.append(templateText.substr(pos, open - pos));
    if (bar != std::u16string_view::npos && bar < close)
      out.append(templateText.substr(open, bar - open));  // "[" + first alternative
    else
      out.append(templateText.substr(open, close - open));
    pos = close;  // the "]" is copied with the text that follows
  }
  out.append(templateText.substr(pos));
  return out;
}

std::u16string WidenLatin1(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (const char c : text) {
    if (c == '\0') break;
    out.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
  }
  return out;
}

std::size_t WidenLine(char16_t* destination, std::string_view source, std::size_t capacity) {
  if (source.empty() || source[0] == '\0' || capacity == 0) return 0;
  std::size_t n = 0;
  for (const char c : source) {
    if (c == '\0' || c == '\n' || n + 1 >= capacity) break;
    destination[n++] = static_cast<char16_t>(static_cast<unsigned char>(c));
  }
  destination[n] = u'\0';
  return n;
}

std::u16string LowerAscii(std::u16string_view text) {
  std::u16string out(text);
  for (char16_t& c : out)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  return out;
}

}  // namespace lexoria
