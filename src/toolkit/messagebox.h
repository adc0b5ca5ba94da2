// The one message box of the window side: owned by a window, the
// application's name as caption, an OK button and a fixed text.
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace lexoria {

// The base name of the program's executable file.
QString ApplicationName();

// Shows the box modally, or hands the text to the interceptor when one is
// installed (tests read the texts instead of facing a modal box).
void ShowMessageBox(QWidget* owner, const QString& text);

using MessageBoxInterceptor = std::function<void(QWidget* owner, const QString& caption, const QString& text)>;
// Installs (or, with an empty function, removes) the interceptor.
void SetMessageBoxInterceptor(MessageBoxInterceptor interceptor);

}  // namespace lexoria
