// SPDX-License-Identifier: GPL-3.0-or-later
#include "artwork.h"
#include "painting.h"
#include "palette.h"

#include <QPainter>
#include <QPainterPath>

namespace {
constexpr int kWidth = 496;
constexpr int kHeight = 412;
const QRectF kOutline(3, 3, kWidth - 6, kHeight - 6);
const QRectF kPaperArea(18, 96, kWidth - 36, kHeight - 114);
}  // namespace

// The about box: an indigo band with the sun and the mountain over a paper
// card that carries the labels, the OK button and the credits.
QImage DrawAboutBackground(int scale) {
  QImage img = NewCanvas(kWidth, kHeight, scale, pal::kKeyBlack);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(pal::kIndigoDeep);
  p.drawRoundedRect(kOutline, 28, 28);
  p.setBrush(pal::kIndigo);
  p.drawRoundedRect(kOutline.adjusted(5, 5, -5, -5), 24, 24);
  QColor wave = pal::kIndigoSoft;
  wave.setAlpha(140);
  QPainterPath inner;
  inner.addRoundedRect(kOutline.adjusted(5, 5, -5, -5), 24, 24);
  p.setClipPath(inner);
  PaintWaves(p, QRectF(8, 8, kWidth - 16, 88), 13, wave);
  p.setClipping(false);
  PaintSun(p, QPointF(392, 56), 30);
  PaintMountain(p, QPointF(410, 58), 70, 96, pal::kIndigoSoft, pal::kPaperLight);
  p.setFont(GothicFont(26));
  p.setPen(pal::kGoldPale);
  p.drawText(QPointF(40, 64), QString::fromUtf8("旅の日本語"));
  p.end();

  PaintPaperCard(img, kPaperArea, 14, 31, 1.4);
  p.begin(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(pal::kVermilion, 1.5));
  p.drawLine(QPointF(78, 166), QPointF(430, 166));
  p.end();

  QPainterPath shape;
  shape.addRoundedRect(kOutline, 28, 28);
  ApplyShape(img, shape);
  return img;
}
