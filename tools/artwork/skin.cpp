// SPDX-License-Identifier: GPL-3.0-or-later
#include "artwork.h"
#include "painting.h"
#include "palette.h"

#include <QPainter>
#include <QPainterPath>

namespace {

// A control rectangle of the main window, from dialog units (6/4 pixels
// across, 13/8 down) to pixels.
QRectF Dlu(int x, int y, int w, int h) { return QRectF(x * 1.5, y * 13.0 / 8.0, w * 1.5, h * 13.0 / 8.0); }

constexpr int kWidth = 725;
constexpr int kHeight = 553;

// The regions of the picture, in pixels.
const QRectF kOutline(3, 3, kWidth - 6, kHeight - 6);
const QRectF kPaperPanel(136, 101, 372, 403);
const QRectF kCategoryPanel(543, 113, 144, 394);
const QRectF kFooter(14, 508, kWidth - 28, 30);

void PaintFrame(QImage& img, QPainter& p) {
  p.setPen(Qt::NoPen);
  QLinearGradient rim(0, 0, 0, kHeight);
  rim.setColorAt(0, pal::kIndigoSoft);
  rim.setColorAt(1, pal::kIndigoDeep);
  p.setBrush(rim);
  p.drawRoundedRect(kOutline, 30, 30);
  p.setBrush(pal::kIndigo);
  p.drawRoundedRect(kOutline.adjusted(6, 6, -6, -6), 25, 25);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(pal::kGold, 1.4));
  p.drawRoundedRect(kOutline.adjusted(9.5, 9.5, -9.5, -9.5), 22, 22);
  (void)img;
}

void PaintHeader(QPainter& p) {
  // Title and its Japanese subtitle, clear of the about, related and
  // favourites buttons.
  p.setFont(SansFont(25, true));
  p.setPen(pal::kPaperLight);
  p.drawText(QPointF(128, 46), QStringLiteral("Lexoria"));
  const qreal afterLexoria = 128 + QFontMetricsF(SansFont(25, true)).horizontalAdvance(QStringLiteral("Lexoria "));
  p.setPen(pal::kGoldPale);
  p.drawText(QPointF(afterLexoria, 46), QStringLiteral("Japanese"));
  p.setFont(GothicFont(19));
  p.setPen(pal::kGold);
  p.drawText(QPointF(370, 45), QString::fromUtf8("旅の日本語会話"));
  // Thin rule under the title row, broken where the two links sit.
  p.setPen(QPen(pal::kIndigoMist, 1));
  p.drawLine(QPointF(128, 52.5), QPointF(200, 52.5));
  p.drawLine(QPointF(390, 52.5), QPointF(530, 52.5));
  // Rising sun and Mount Fuji at the top right, above the categories.
  PaintSun(p, QPointF(596, 76), 25);
  PaintMountain(p, QPointF(612, 76), 58, 108, pal::kIndigoSoft, pal::kPaperLight);
  // The version text is painted by the program in white; a caption precedes it.
  const QRectF version = Dlu(287, 52, 31, 10);
  p.setFont(SansFont(11, false));
  p.setPen(pal::kGoldPale);
  p.drawText(QRectF(version.left() - 34, version.top(), 32, version.height()), Qt::AlignRight | Qt::AlignVCenter,
             QStringLiteral("ver."));
}

void PaintLeftColumn(QPainter& p) {
  const QRectF column(22, 112, 104, 388);
  p.setPen(Qt::NoPen);
  p.setBrush(pal::kIndigoDeep);
  p.drawRoundedRect(column, 12, 12);
  QColor wave = pal::kIndigoSoft;
  wave.setAlpha(150);
  QPainterPath rounded;
  rounded.addRoundedRect(column.adjusted(1, 1, -1, -1), 11, 11);
  p.setClipPath(rounded);
  PaintWaves(p, column.adjusted(1, 280, -1, -1), 12, wave);
  p.setClipping(false);
  // Vertical title: "travel words".
  p.setFont(GothicFont(30));
  const QString words = QString::fromUtf8("旅の言葉");
  for (int i = 0; i < words.size(); ++i) {
    p.setPen(i == 1 ? pal::kVermilionGlow : pal::kGoldPale);
    p.drawText(QRectF(column.left(), 132 + i * 40, column.width(), 40), Qt::AlignCenter, words.mid(i, 1));
  }
  // A seal stamp under the title.
  const QRectF seal(column.center().x() - 17, 308, 34, 34);
  p.setBrush(pal::kVermilion);
  p.drawRoundedRect(seal, 4, 4);
  p.setFont(GothicFont(15));
  p.setPen(pal::kPaperLight);
  p.drawText(seal.adjusted(0, 0, 0, -16), Qt::AlignCenter, QString::fromUtf8("日"));
  p.drawText(seal.adjusted(0, 16, 0, 0), Qt::AlignCenter, QString::fromUtf8("本"));
  p.setPen(QPen(pal::kGold, 1));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(column.adjusted(0.5, 0.5, -0.5, -0.5), 12, 12);
}

void PaintPaperPanel(QImage& img, QPainter& p) {
  p.setPen(Qt::NoPen);
  p.setBrush(pal::kPaperShade);
  p.drawRoundedRect(kPaperPanel.adjusted(-3, -3, 3, 3), 14, 14);
  p.end();
  PaintPaperCard(img, kPaperPanel, 12, 11, 1.2);
  p.begin(&img);
  p.setRenderHint(QPainter::Antialiasing);

  // Heading of the panel, left of the search and favourite buttons.
  p.setFont(SansFont(15, true));
  p.setPen(pal::kIndigo);
  p.drawText(QPointF(150, 126), QStringLiteral("English"));
  p.setPen(pal::kVermilion);
  p.drawText(QPointF(214, 126), QString::fromUtf8("→"));
  p.setFont(GothicFont(16));
  p.setPen(pal::kIndigo);
  p.drawText(QPointF(236, 126), QString::fromUtf8("日本語"));
  p.setPen(QPen(pal::kVermilion, 1.5));
  p.drawLine(QPointF(150, 134), QPointF(396, 134));

  // A hairline frame around the phrase list, and a rule between the
  // Japanese text and its pronunciation.
  const QRectF list = Dlu(115, 118, 213, 114);
  p.setPen(QPen(pal::kIndigoMist, 1));
  p.drawRect(list.adjusted(-1.5, -1.5, 1.5, 1.5));
  const QRectF japanese = Dlu(115, 235, 213, 36);
  QColor rule = pal::kVermilion;
  rule.setAlpha(110);
  p.setPen(QPen(rule, 1));
  p.drawLine(QPointF(japanese.left() + 20, japanese.bottom() + 2.5),
             QPointF(japanese.right() - 20, japanese.bottom() + 2.5));
}

void PaintCategoryPanel(QPainter& p) {
  p.setPen(QPen(pal::kGold, 1.2));
  p.setBrush(pal::kIndigoDeep);
  p.drawRoundedRect(kCategoryPanel, 12, 12);
}

void PaintFooter(QPainter& p) {
  p.setPen(QPen(pal::kGold, 1));
  p.drawLine(QPointF(40, kFooter.top() + 0.5), QPointF(kWidth - 40, kFooter.top() + 0.5));
  p.setFont(SansFont(11, false));
  p.setPen(pal::kIndigoMist);
  p.drawText(QRectF(545, 509, 142, 18), Qt::AlignCenter, QStringLiteral("www.lexoria.example"));
}

}  // namespace

QImage DrawSkin(int scale) {
  QImage img = NewCanvas(kWidth, kHeight, scale, pal::kKeyBlack);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  PaintFrame(img, p);
  PaintHeader(p);
  PaintLeftColumn(p);
  PaintPaperPanel(img, p);
  PaintCategoryPanel(p);
  PaintFooter(p);
  p.end();
  QPainterPath shape;
  shape.addRoundedRect(kOutline, 30, 30);
  ApplyShape(img, shape);
  return img;
}

QImage DrawListTexture(int scale) {
  QImage img = NewCanvas(170, 86, scale, pal::kPaperLight);
  PaintPaper(img, QRectF(0, 0, 170, 86), pal::kPaperLight, 23);
  return img;
}
