// SPDX-License-Identifier: GPL-3.0-or-later
#include "artwork.h"
#include "painting.h"
#include "palette.h"

#include <QPainter>

// The two switches of the Japanese text: 160 offers the kanji rendering, 161
// the kana-only one.
QImage DrawSwitch(bool kanji, int scale) {
  QImage img = NewCanvas(20, 20, scale, pal::kPaper);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(kanji ? pal::kIndigo : pal::kVermilion);
  p.drawRoundedRect(QRectF(0.5, 0.5, 19, 19), 4, 4);
  DrawCentredText(p, QRectF(0, -0.5, 20, 20), QString::fromUtf8(kanji ? "漢" : "か"), GothicFont(15), pal::kPaperLight);
  return img;
}

QImage DrawIcon(int scale) {
  QImage img = NewCanvas(64, 64, scale, pal::kIndigo);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(pal::kGold, 2));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(2, 2, 60, 60));
  PaintSun(p, QPointF(32, 30), 21);
  DrawCentredText(p, QRectF(0, 8, 64, 44), QString::fromUtf8("旅"), GothicFont(30), pal::kPaperLight);
  p.setPen(Qt::NoPen);
  p.setBrush(pal::kIndigoSoft);
  PaintMountain(p, QPointF(32, 48), 30, 62, pal::kIndigoSoft, pal::kPaperLight);
  return img;
}
