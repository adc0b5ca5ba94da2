#include "toolkit/resources.h"

#include <QFile>

// The embedded resources may sit in a static library, where nothing else
// would pull their registration in; naming the initialiser here does. It must
// be declared outside any namespace, hence the plain static function.
static void EnsureResources() {
  static const bool once = [] {
    Q_INIT_RESOURCE(resources);
    return true;
  }();
  (void)once;
}

namespace lexoria {

QString BitmapResourcePath(int id) { return QStringLiteral(":/lexoria/bitmaps/%1.bmp").arg(id); }

QImage LoadBitmapResource(int id) {
  EnsureResources();
  QImage img(BitmapResourcePath(id));
  if (img.isNull()) return {};
  return img.convertToFormat(QImage::Format_RGB32);
}

QIcon LoadIconResource(int id) {
  EnsureResources();
  const QString path = QStringLiteral(":/lexoria/icons/%1.bmp").arg(id);
  if (!QFile::exists(path)) return {};
  return QIcon(path);
}

}  // namespace lexoria
