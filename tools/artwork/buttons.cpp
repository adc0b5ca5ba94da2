// SPDX-License-Identifier: GPL-3.0-or-later
#include "artwork.h"
#include "painting.h"
#include "palette.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

enum State { kNormal = 0, kPressed = 1, kHover = 2 };

// What lies under each kind of button on its window, so the corners blend in.
QColor Underlay(ButtonKind kind) {
  switch (kind) {
    case ButtonKind::Category:
    case ButtonKind::Practice: return pal::kIndigoDeep;
    case ButtonKind::Go:
    case ButtonKind::Favourite:
    case ButtonKind::Play:
    case ButtonKind::PlaySlow:
    case ButtonKind::AboutOk: return pal::kPaper;
    default: return pal::kIndigo;
  }
}

void DrawMagnifier(QPainter& p, QPointF c, qreal r, QColor colour) {
  p.save();
  p.setPen(QPen(colour, 2.0, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(c, r, r);
  const qreal k = r * 0.72;
  p.drawLine(c + QPointF(k, k), c + QPointF(r * 1.75, r * 1.75));
  p.restore();
}

void DrawStar(QPainter& p, QPointF c, qreal outer, QColor colour) {
  QPainterPath star;
  for (int i = 0; i < 10; ++i) {
    const qreal r = (i % 2) ? outer * 0.45 : outer;
    const qreal a = -M_PI / 2 + i * M_PI / 5;
    const QPointF pt = c + QPointF(r * std::cos(a), r * std::sin(a));
    if (i == 0)
      star.moveTo(pt);
    else
      star.lineTo(pt);
  }
  star.closeSubpath();
  p.fillPath(star, colour);
}

void DrawCategory(QPainter& p, const QRectF& cell, State s, const ButtonStrip& b) {
  const QPointF shift = s == kPressed ? QPointF(1, 1) : QPointF(0, 0);
  const QRectF tile = cell.adjusted(1.5, 1.5, -1.5, -1.5).translated(shift);
  QColor fill = s == kHover ? pal::kGoldPale : (s == kPressed ? pal::kVermilion : pal::kPaper);
  QColor edge = s == kNormal ? pal::kGold : pal::kVermilionDeep;
  QLinearGradient grad(tile.topLeft(), tile.bottomLeft());
  grad.setColorAt(0, fill.lighter(106));
  grad.setColorAt(1, fill.darker(104));
  p.setPen(QPen(edge, s == kNormal ? 1.0 : 1.6));
  p.setBrush(grad);
  p.drawRoundedRect(tile, 7, 7);
  const qreal r = tile.height() / 2 - 5;
  const QPointF c(tile.left() + 6 + r, tile.center().y());
  p.setPen(Qt::NoPen);
  p.setBrush(s == kPressed ? pal::kPaperLight : pal::kVermilion);
  p.drawEllipse(c, r, r);
  DrawCentredText(p, QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r).translated(0, -0.5), QString::fromUtf8(b.glyph),
                  GothicFont(r * 1.25), s == kPressed ? pal::kVermilionDeep : pal::kPaperLight);
  const QRectF text(c.x() + r + 7, tile.top(), tile.right() - (c.x() + r + 9), tile.height());
  p.setFont(SansFont(14, true));
  p.setPen(s == kPressed ? pal::kPaperLight : (s == kHover ? pal::kVermilionDeep : pal::kIndigoDeep));
  p.drawText(text, Qt::AlignVCenter | Qt::AlignLeft, QString::fromUtf8(b.label));
}

void DrawTextLink(QPainter& p, const QRectF& cell, State s, const ButtonStrip& b, bool bullet) {
  const QPointF shift = s == kPressed ? QPointF(1, 1) : QPointF(0, 0);
  const QColor colour = s == kHover ? pal::kGoldPale : (s == kPressed ? pal::kVermilionGlow : pal::kPaper);
  const QFont font = SansFont(cell.height() >= 15 ? 13 : 11.5, true);
  p.setFont(font);
  const QFontMetricsF fm(font);
  QString text = QString::fromUtf8(b.label);
  const qreal bulletWidth = bullet ? 9 : 0;
  const qreal width = fm.horizontalAdvance(text) + bulletWidth;
  const qreal left = cell.left() + (cell.width() - width) / 2;
  const qreal base = cell.top() + (cell.height() + fm.ascent() - fm.descent()) / 2;
  if (bullet) {
    QPainterPath tri;
    const qreal cy = base - fm.ascent() * 0.36;
    tri.moveTo(left + 1, cy - 3);
    tri.lineTo(left + 5, cy);
    tri.lineTo(left + 1, cy + 3);
    tri.closeSubpath();
    p.fillPath(tri.translated(shift), s == kNormal ? pal::kGold : colour);
  }
  p.setPen(colour);
  p.drawText(QPointF(left + bulletWidth, base) + shift, text);
  if (s != kNormal) {
    p.setPen(QPen(s == kHover ? pal::kGold : pal::kVermilionGlow, 1));
    const qreal y = std::floor(cell.bottom()) - 0.5;
    p.drawLine(QPointF(left + bulletWidth, y) + shift, QPointF(left + width, y) + shift);
  }
}

void DrawRound(QPainter& p, const QRectF& cell, State s, bool exit) {
  const QPointF c = cell.center() + (s == kPressed ? QPointF(0.5, 0.5) : QPointF(0, 0));
  const qreal r = cell.height() / 2 - 1;
  QColor fill = exit ? pal::kVermilion : pal::kIndigoSoft;
  if (s == kHover) fill = exit ? pal::kVermilionGlow : pal::kIndigoMist;
  if (s == kPressed) fill = exit ? pal::kVermilionDeep : pal::kIndigoDeep;
  p.setPen(QPen(pal::kGoldPale, 1));
  p.setBrush(fill);
  p.drawEllipse(c, r, r);
  p.setPen(QPen(pal::kPaperLight, 1.8, Qt::SolidLine, Qt::RoundCap));
  if (exit) {
    const qreal k = r * 0.42;
    p.drawLine(c + QPointF(-k, -k), c + QPointF(k, k));
    p.drawLine(c + QPointF(-k, k), c + QPointF(k, -k));
  } else {
    const qreal k = r * 0.48;
    p.drawLine(c + QPointF(-k, 1.5), c + QPointF(k, 1.5));
  }
}

void DrawPill(QPainter& p, const QRectF& cell, State s, QColor normal, QColor hover, QColor pressed, qreal radius) {
  const QRectF body = cell.adjusted(1, 1, -1, -1).translated(s == kPressed ? QPointF(1, 1) : QPointF(0, 0));
  QColor fill = s == kHover ? hover : (s == kPressed ? pressed : normal);
  QLinearGradient grad(body.topLeft(), body.bottomLeft());
  grad.setColorAt(0, fill.lighter(112));
  grad.setColorAt(1, fill.darker(106));
  p.setPen(QPen(s == kHover ? pal::kGoldPale : pal::kGold, 1));
  p.setBrush(grad);
  p.drawRoundedRect(body, radius, radius);
}

// A tortoise walking right: the sign for "slowly" beside the play triangle.
void DrawTortoise(QPainter& p, QPointF c, qreal r, QColor body, QColor shell) {
  p.save();
  p.setPen(Qt::NoPen);
  p.setBrush(body);
  const qreal leg = r * 0.2;
  for (const qreal x : {-0.40, 0.34}) {
    p.drawRoundedRect(QRectF(c.x() + x * r - leg / 2, c.y() + r * 0.02, leg, r * 0.32), leg / 2, leg / 2);
  }
  p.drawEllipse(QPointF(c.x() + r * 0.70, c.y() - r * 0.06), r * 0.2, r * 0.17);
  QPainterPath tail;
  tail.moveTo(c + QPointF(-r * 0.56, r * 0.06));
  tail.lineTo(c + QPointF(-r * 0.76, r * 0.18));
  tail.lineTo(c + QPointF(-r * 0.54, r * 0.20));
  tail.closeSubpath();
  p.drawPath(tail);
  QPainterPath dome;
  const QRectF shellBox(c.x() - r * 0.58, c.y() - r * 0.50, r * 1.16, r * 1.10);
  dome.moveTo(shellBox.left(), c.y() + r * 0.08);
  dome.arcTo(shellBox, 180, -180);
  dome.closeSubpath();
  p.setBrush(shell);
  p.drawPath(dome);
  // The rim and one plate of the shell.
  p.setPen(QPen(body, std::max<qreal>(1.0, r * 0.09)));
  p.setBrush(Qt::NoBrush);
  p.drawLine(c + QPointF(-r * 0.58, r * 0.08), c + QPointF(r * 0.58, r * 0.08));
  p.drawEllipse(QPointF(c.x(), c.y() - r * 0.18), r * 0.2, r * 0.14);
  p.restore();
}

// Two flashcards, the back one tilted: the sign for practice.
void DrawCards(QPainter& p, QPointF c, qreal h, QColor front, QColor back, QColor ink) {
  p.save();
  p.setPen(QPen(ink, 1));
  const QRectF card(-h * 0.36, -h * 0.5, h * 0.72, h);
  p.translate(c + QPointF(h * 0.12, 0));
  p.rotate(14);
  p.setBrush(back);
  p.drawRoundedRect(card, 1.5, 1.5);
  p.rotate(-26);
  p.translate(-h * 0.2, h * 0.04);
  p.setBrush(front);
  p.drawRoundedRect(card, 1.5, 1.5);
  // A line of text on the front card.
  p.setPen(QPen(ink, std::max<qreal>(1.0, h * 0.09), Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(-h * 0.18, -h * 0.12), QPointF(h * 0.18, -h * 0.12));
  p.drawLine(QPointF(-h * 0.18, h * 0.12), QPointF(h * 0.08, h * 0.12));
  p.restore();
}

void DrawCell(QPainter& p, const QRectF& cell, State s, const ButtonStrip& b) {
  const QPointF shift = s == kPressed ? QPointF(1, 1) : QPointF(0, 0);
  switch (b.kind) {
    case ButtonKind::Category: DrawCategory(p, cell, s, b); break;
    case ButtonKind::HeaderLink: DrawTextLink(p, cell, s, b, false); break;
    case ButtonKind::FooterLink: DrawTextLink(p, cell, s, b, true); break;
    case ButtonKind::Minimise: DrawRound(p, cell, s, false); break;
    case ButtonKind::Exit: DrawRound(p, cell, s, true); break;
    case ButtonKind::Search: {
      DrawPill(p, cell, s, pal::kVermilion, pal::kVermilionGlow, pal::kVermilionDeep, cell.height() / 2 - 1);
      DrawMagnifier(p, cell.topLeft() + QPointF(16, 12.5) + shift, 5, pal::kPaperLight);
      p.setFont(SansFont(14, true));
      p.setPen(pal::kPaperLight);
      p.drawText(cell.adjusted(28, 0, -6, 0).translated(shift), Qt::AlignVCenter | Qt::AlignLeft,
                 QString::fromUtf8(b.label));
      break;
    }
    case ButtonKind::Go:
      DrawPill(p, cell.adjusted(1, 2, -1, -2), s, pal::kIndigo, pal::kIndigoSoft, pal::kIndigoDeep, 7);
      DrawCentredText(p, cell.translated(shift), QString::fromUtf8(b.label), SansFont(15, true), pal::kPaperLight);
      break;
    case ButtonKind::Favourite:
      DrawPill(p, cell.adjusted(1, 2, -1, -2), s, pal::kVermilion, pal::kVermilionGlow, pal::kVermilionDeep, 7);
      DrawStar(p, cell.center() + shift + QPointF(0, 1), 11, s == kHover ? pal::kPaperLight : pal::kGoldPale);
      break;
    case ButtonKind::Play: {
      const QPointF c = cell.center() + shift;
      const qreal r = cell.height() / 2 - 1;
      p.setPen(QPen(pal::kGold, 1));
      p.setBrush(s == kHover ? pal::kVermilionGlow : (s == kPressed ? pal::kVermilionDeep : pal::kVermilion));
      p.drawEllipse(c, r, r);
      QPainterPath tri;
      tri.moveTo(c + QPointF(-r * 0.32, -r * 0.48));
      tri.lineTo(c + QPointF(r * 0.55, 0));
      tri.lineTo(c + QPointF(-r * 0.32, r * 0.48));
      tri.closeSubpath();
      p.fillPath(tri, pal::kPaperLight);
      break;
    }
    case ButtonKind::PlaySlow: {
      const QPointF c = cell.center() + shift;
      const qreal r = cell.height() / 2 - 1;
      p.setPen(QPen(pal::kGold, 1));
      p.setBrush(s == kHover ? pal::kIndigoSoft : (s == kPressed ? pal::kIndigoDeep : pal::kIndigo));
      p.drawEllipse(c, r, r);
      DrawTortoise(p, c + QPointF(-r * 0.06, r * 0.06), r * 1.05, pal::kGoldPale, pal::kPaperLight);
      break;
    }
    case ButtonKind::Practice:
      DrawPill(p, cell.adjusted(1, 1, -1, -1), s, pal::kVermilion, pal::kVermilionGlow, pal::kVermilionDeep,
               cell.height() / 2 - 2);
      DrawCards(p, cell.topLeft() + QPointF(18, cell.height() / 2) + shift, cell.height() * 0.52, pal::kPaperLight,
                pal::kGoldPale, pal::kVermilionDeep);
      p.setFont(SansFont(13, true));
      p.setPen(pal::kPaperLight);
      p.drawText(cell.adjusted(32, 0, -6, 0).translated(shift), Qt::AlignVCenter | Qt::AlignLeft,
                 QString::fromUtf8(b.label));
      break;
    case ButtonKind::AboutOk:
      DrawPill(p, cell.adjusted(2, 1, -2, -1), s, pal::kIndigo, pal::kIndigoSoft, pal::kIndigoDeep, 15);
      DrawCentredText(p, cell.translated(shift), QString::fromUtf8(b.label), SansFont(17, true), pal::kPaperLight);
      break;
  }
}

}  // namespace

QImage DrawButtonStrip(const ButtonStrip& b, int scale) {
  QImage img = NewCanvas(b.width, b.height, scale, Underlay(b.kind));
  const int cellWidth = b.width / 3;
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  for (int s = 0; s < 3; ++s) {
    const QRectF cell(s * cellWidth, 0, cellWidth, b.height);
    p.save();
    p.setClipRect(cell);
    DrawCell(p, cell, State(s), b);
    p.restore();
  }
  return img;
}
