// SPDX-License-Identifier: GPL-3.0-or-later
// UTF-16 text of the phrase data as Qt strings, unit for unit. (Qt's own
// UTF-16 conversions drop a leading byte-order mark, which some phrase
// texts keep on purpose.)
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace lexoria {

inline QString ToQString(std::u16string_view text) {
  return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

inline std::u16string ToU16(const QString& text) {
  return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size()));
}

}  // namespace lexoria
