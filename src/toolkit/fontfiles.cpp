// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/fontfiles.h"

#include <QFontDatabase>
#include <QHash>

namespace lexoria {

namespace {
// File name -> font id, so the same name can be removed again.
QHash<QString, int>& Registered() {
  static QHash<QString, int> registered;
  return registered;
}
}  // namespace

QStringList RegisterFontFile(const QString& fileName) {
  UnregisterFontFile(fileName);
  const int id = QFontDatabase::addApplicationFont(fileName);
  if (id < 0) return {};
  Registered().insert(fileName, id);
  return QFontDatabase::applicationFontFamilies(id);
}

void UnregisterFontFile(const QString& fileName) {
  const auto found = Registered().find(fileName);
  if (found == Registered().end()) return;
  QFontDatabase::removeApplicationFont(found.value());
  Registered().erase(found);
}

}  // namespace lexoria
