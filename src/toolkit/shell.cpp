// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/shell.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

namespace lexoria {

bool OpenWebAddress(const QString& address) { return QDesktopServices::openUrl(QUrl(address, QUrl::TolerantMode)); }

bool StartProgram(const QString& program, const QStringList& arguments) {
  return QProcess::startDetached(program, arguments);
}

}  // namespace lexoria
