// SPDX-License-Identifier: GPL-3.0-or-later
// What screen readers see of the controls that paint themselves: the texts
// on show (CTransparentStatic) as read-only text with their language, and the
// Japanese-form switches (CBitmapStatic) as push buttons that can be pressed.
// The standard controls keep Qt's own interfaces.
#pragma once

class QWidget;

namespace lexoria {

// Installs the factory once per process; later calls do nothing.
void InstallAccessibleControls();

// The language a text control's letters are in ("ja", "en"), read by speech
// synthesisers through the text attributes; unset speaks the desktop's.
void SetAccessibleLanguage(QWidget* text, const char* language);

}  // namespace lexoria
