// SPDX-License-Identifier: GPL-3.0-or-later
// Font files made available to this process while a window exists.
#pragma once

#include <QString>
#include <QStringList>

namespace lexoria {

// Registers a font file by name (looked up from the working directory).
// Returns the families it brought, empty when the file could not be used.
QStringList RegisterFontFile(const QString& fileName);

// Removes what RegisterFontFile registered for this name; unknown names are
// ignored.
void UnregisterFontFile(const QString& fileName);

}  // namespace lexoria
