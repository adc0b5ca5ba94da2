// SPDX-License-Identifier: GPL-3.0-or-later
// Ruby layout: a sentence with the kana reading of each word drawn small
// above it (furigana), which Qt's rich text cannot do. The sentence is cut
// into pieces that may not be split: a word with its reading is one piece,
// plain text is cut at its line-break opportunities. Pieces fill lines
// greedily; every line has room for readings above its text. Widths come
// from QFontMetricsF and drawing is QPainter text, so the result is as
// sharp as any text at every scale factor.
#pragma once

#include <QFont>
#include <QPainter>
#include <QRectF>
#include <QString>
#include <vector>

#include "data/readings.h"

struct RubyPiece {
  QString base;
  QString reading;  // empty for plain text
  QRectF baseRect;  // where the base is drawn, in layout coordinates
  QRectF readingRect;
  int line = 0;
};

class CRubyLayout {
 public:
  // width: the room across; alignment: Qt::AlignLeft, AlignHCenter or
  // AlignRight for each line. The reading font is half the base's size.
  CRubyLayout(const lexoria::RubyText& segments, const QFont& base, qreal width,
              Qt::Alignment alignment = Qt::AlignHCenter);

  const std::vector<RubyPiece>& Pieces() const { return pieces_; }
  int LineCount() const { return lines_; }
  QSizeF Size() const { return size_; }
  QFont BaseFont() const { return base_; }
  QFont ReadingFont() const { return reading_; }
  // The plain sentence, as a screen reader reads it.
  QString PlainText() const;

  // Draws at `origin` (the layout's top left).
  void Draw(QPainter& painter, QPointF origin) const;

  // The largest base pixel size from `largest` down to `smallest` whose
  // layout fits `room`; `smallest` when none does.
  static int FittingPixelSize(const lexoria::RubyText& segments, QFont base, QSizeF room, int largest, int smallest,
                              Qt::Alignment alignment = Qt::AlignHCenter);

 private:
  QFont base_;
  QFont reading_;
  std::vector<RubyPiece> pieces_;
  int lines_ = 0;
  QSizeF size_;
};

// The segments as Qt strings would have them: helpers for the window side.
QString PlainTextOf(const lexoria::RubyText& segments);
