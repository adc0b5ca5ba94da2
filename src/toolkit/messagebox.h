// SPDX-License-Identifier: GPL-3.0-or-later
// The message boxes of the window side: owned by a window, the
// application's name as caption, an OK button and a fixed text.
#pragma once

#include <QString>
#include <functional>
#include <utility>

class QWidget;

namespace lexoria {

// The base name of the program's executable file.
QString ApplicationName();

// One window's boxes. Show() is modal unless an interceptor is installed:
// tests install one on the window they drive and read the texts instead of
// facing a box, and no other window is affected.
class MessageBoxes {
 public:
  using Interceptor = std::function<void(QWidget* owner, const QString& caption, const QString& text)>;

  void Show(QWidget* owner, const QString& text) const;
  // Installs (or, with an empty function, removes) the interceptor.
  void SetInterceptor(Interceptor interceptor) { interceptor_ = std::move(interceptor); }

 private:
  Interceptor interceptor_;
};

}  // namespace lexoria
