// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/tempfiles.h"

#include <QDir>
#include <QTemporaryFile>

namespace lexoria {

QString TemporaryFolder() { return QDir::tempPath(); }

QString CreateUniqueTemporaryFile(const QString& prefix) {
  QTemporaryFile file(QDir(TemporaryFolder()).filePath(prefix + QStringLiteral("XXXXXX.tmp")));
  // The file outlives this object: the program that reads it runs later.
  file.setAutoRemove(false);
  if (!file.open()) return QString();
  return file.fileName();
}

}  // namespace lexoria
