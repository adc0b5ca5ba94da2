// SPDX-License-Identifier: GPL-3.0-or-later
#include "picturefiles.h"

#include "bmpwriter.h"

#include <cstdio>

QString ScaledFileName(const QString& fileName, int scale) {
  if (scale == 1) return fileName;
  const int dot = fileName.lastIndexOf(QLatin1Char('.'));
  const QString suffix = QStringLiteral("@%1x").arg(scale);
  return dot < 0 ? fileName + suffix : fileName.left(dot) + suffix + fileName.mid(dot);
}

bool SavePicture(const QDir& dir, const QString& fileName, QSize size, const DrawAtScale& draw) {
  bool ok = true;
  for (const int scale : kArtworkScales) {
    const QString path = dir.filePath(ScaledFileName(fileName, scale));
    const QImage img = draw(scale);
    if (img.size() != size * scale) {
      std::fprintf(stderr, "%s: drawn %dx%d, wanted %dx%d\n", qPrintable(path), img.width(), img.height(),
                   size.width() * scale, size.height() * scale);
      ok = false;
      continue;
    }
    const bool png = fileName.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive);
    if (png ? img.save(path, "PNG") : WriteBmp24(img, path)) continue;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    ok = false;
  }
  return ok;
}
