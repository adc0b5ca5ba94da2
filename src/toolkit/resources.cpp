// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/resources.h"

#include <QFile>
#include <QtMath>

#include <cmath>

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
namespace {

QImage LoadRgb32(const QString& path) {
  QImage img(path);
  if (img.isNull()) return {};
  return img.convertToFormat(QImage::Format_RGB32);
}

}  // namespace

QString BitmapResourcePath(int id, bool twoX) {
  return QStringLiteral(":/lexoria/bitmaps/%1%2.bmp").arg(id).arg(twoX ? QStringLiteral("@2x") : QString());
}

QImage LoadBitmapResource(int id) {
  EnsureResources();
  return LoadRgb32(BitmapResourcePath(id));
}

QImage LoadBitmapForRatio(int id, qreal ratio) {
  EnsureResources();
  if (!(ratio > 1) || qFuzzyCompare(ratio, 1.0)) return LoadBitmapResource(id);
  QImage twoX = LoadRgb32(BitmapResourcePath(id, true));
  if (twoX.isNull()) return LoadBitmapResource(id);
  if (qFuzzyCompare(ratio, 2.0)) {
    twoX.setDevicePixelRatio(2);
    return twoX;
  }
  // The 1x size decides, not the 2x one halved: a 2x picture is exactly
  // twice its 1x picture, and the device size is the layout's size times the
  // ratio, rounded once.
  const QSize oneX = twoX.size() / 2;
  const QSize device(qMax(1, int(std::lround(oneX.width() * ratio))), qMax(1, int(std::lround(oneX.height() * ratio))));
  QImage scaled = twoX.scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  scaled.setDevicePixelRatio(ratio);
  return scaled;
}

QIcon LoadIconResource(int id) {
  EnsureResources();
  const QString path = QStringLiteral(":/lexoria/icons/%1.bmp").arg(id);
  if (!QFile::exists(path)) return {};
  QIcon icon;
  icon.addFile(path);
  const QString twoX = QStringLiteral(":/lexoria/icons/%1@2x.bmp").arg(id);
  if (QFile::exists(twoX)) icon.addFile(twoX);
  return icon;
}

}  // namespace lexoria
