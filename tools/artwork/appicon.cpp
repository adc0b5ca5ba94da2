// SPDX-License-Identifier: GPL-3.0-or-later
#include "artwork.h"
#include "painting.h"
#include "palette.h"

#include <QDir>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>

// The desktop's application icon: the window icon's motif (the sun, 旅 and
// the mountain in indigo and gold) on a rounded tile with a clear surround,
// as desktop icon themes expect. It is drawn on a 64-unit grid scaled to the
// wanted size; below 32 px the fine gold frame and the mountain would blur
// into the tile, so the small sizes keep the sun and the glyph only, larger.
QImage DrawAppIcon(int px) {
  QImage img(px, px, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  p.scale(px / 64.0, px / 64.0);
  const bool small = px < 32;
  const QRectF tile = small ? QRectF(1, 1, 62, 62) : QRectF(3, 3, 58, 58);
  p.setPen(Qt::NoPen);
  p.setBrush(pal::kIndigo);
  p.drawRoundedRect(tile, 12, 12);
  if (small) {
    PaintSun(p, QPointF(32, 32), 24);
    DrawCentredText(p, QRectF(0, 0, 64, 64), QString::fromUtf8("旅"), GothicFont(40), pal::kPaperLight);
    return img;
  }
  p.setPen(QPen(pal::kGold, 2));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(tile.adjusted(4, 4, -4, -4), 8, 8);
  // The mountain stays inside the tile's rounded corners.
  p.save();
  QPainterPath inside;
  inside.addRoundedRect(tile.adjusted(5, 5, -5, -5), 7, 7);
  p.setClipPath(inside);
  PaintSun(p, QPointF(32, 27), 17);
  DrawCentredText(p, QRectF(0, 6, 64, 42), QString::fromUtf8("旅"), GothicFont(24), pal::kPaperLight);
  PaintMountain(p, QPointF(32, 42), 28, 56, pal::kIndigoMist, pal::kPaperLight);
  p.restore();
  return img;
}

bool SaveHicolorIcons(const QDir& dir, const QString& appId) {
  bool ok = true;
  for (const int px : kHicolorSizes) {
    const QString folder = QStringLiteral("icons/hicolor/%1x%1/apps").arg(px);
    const QString path = dir.filePath(folder + QLatin1Char('/') + appId + QStringLiteral(".png"));
    if (!dir.mkpath(folder) || !DrawAppIcon(px).save(path, "PNG")) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
      ok = false;
    }
  }
  return ok;
}
