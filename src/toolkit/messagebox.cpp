// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/messagebox.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMessageBox>

namespace lexoria {

QString ApplicationName() { return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName(); }

void MessageBoxes::Show(QWidget* owner, const QString& text) const {
  const QString caption = ApplicationName();
  if (interceptor_) {
    interceptor_(owner, caption, text);
    return;
  }
  QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, owner);
  box.exec();
}

}  // namespace lexoria
