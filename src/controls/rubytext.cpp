// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/rubytext.h"

#include <QFontMetricsF>
#include <QTextBoundaryFinder>
#include <algorithm>

#include "toolkit/strings.h"

namespace {

// Gap between a reading and the top of its word, in base-font pixels.
constexpr qreal kReadingGap = 0.05;

struct Unit {
  QString base;
  QString reading;
  qreal width = 0;
  qreal baseWidth = 0;
  qreal readingWidth = 0;
};

// Plain text cut at every place a line may break (UAX #14: not before 。,
// ？ or small kana).
QStringList BreakablePieces(const QString& text) {
  QStringList pieces;
  QTextBoundaryFinder finder(QTextBoundaryFinder::Line, text);
  qsizetype start = 0;
  while (finder.toNextBoundary() >= 0) {
    const qsizetype at = finder.position();
    if (at > start) pieces << text.mid(start, at - start);
    start = at;
    if (at >= text.size()) break;
  }
  if (start < text.size()) pieces << text.mid(start);
  return pieces;
}

}  // namespace

QString PlainTextOf(const lexoria::RubyText& segments) { return lexoria::ToQString(lexoria::PlainText(segments)); }

CRubyLayout::CRubyLayout(const lexoria::RubyText& segments, const QFont& base, qreal width, Qt::Alignment alignment)
    : base_(base), reading_(base) {
  const qreal basePixels = base.pixelSize() > 0 ? base.pixelSize() : base.pointSizeF() * 96.0 / 72.0;
  reading_.setPixelSize(std::max(1, qRound(basePixels / 2)));
  const QFontMetricsF bm(base_);
  const QFontMetricsF rm(reading_);

  std::vector<Unit> units;
  for (const lexoria::RubySegment& s : segments) {
    const QString text = lexoria::ToQString(s.base);
    if (s.reading.empty()) {
      for (const QString& piece : BreakablePieces(text)) {
        const qreal w = bm.horizontalAdvance(piece);
        units.push_back({piece, {}, w, w, 0});
      }
    } else {
      const QString reading = lexoria::ToQString(s.reading);
      const qreal bw = bm.horizontalAdvance(text);
      const qreal rw = rm.horizontalAdvance(reading);
      units.push_back({text, reading, std::max(bw, rw), bw, rw});
    }
  }

  // Lines: greedy, a piece wider than the room alone on its line.
  std::vector<std::vector<const Unit*>> lines;
  std::vector<qreal> lineWidths;
  for (const Unit& u : units) {
    if (lines.empty() || (lineWidths.back() + u.width > width + 0.01 && !lines.back().empty())) {
      // Spaces that end a line take no room on the next.
      if (!lines.empty() && u.reading.isEmpty() && u.base.trimmed().isEmpty()) continue;
      lines.emplace_back();
      lineWidths.push_back(0);
    }
    lines.back().push_back(&u);
    lineWidths.back() += u.width;
  }

  const qreal readingHeight = rm.height() + basePixels * kReadingGap;
  const qreal lineHeight = readingHeight + bm.height();
  qreal widest = 0;
  for (std::size_t l = 0; l < lines.size(); ++l) {
    const qreal used = lineWidths[l];
    widest = std::max(widest, used);
    qreal x = 0;
    if (alignment & Qt::AlignHCenter)
      x = std::max<qreal>(0, (width - used) / 2);
    else if (alignment & Qt::AlignRight)
      x = std::max<qreal>(0, width - used);
    const qreal top = static_cast<qreal>(l) * lineHeight;
    for (const Unit* u : lines[l]) {
      RubyPiece piece;
      piece.base = u->base;
      piece.reading = u->reading;
      piece.line = static_cast<int>(l);
      // The narrower of word and reading is centred over the other.
      piece.baseRect = QRectF(x + (u->width - u->baseWidth) / 2, top + readingHeight, u->baseWidth, bm.height());
      if (!u->reading.isEmpty())
        piece.readingRect = QRectF(x + (u->width - u->readingWidth) / 2, top, u->readingWidth, rm.height());
      pieces_.push_back(piece);
      x += u->width;
    }
  }
  lines_ = static_cast<int>(lines.size());
  size_ =
      QSizeF(alignment & (Qt::AlignHCenter | Qt::AlignRight) ? std::max(width, widest) : widest, lineHeight * lines_);
}

QString CRubyLayout::PlainText() const {
  QString text;
  for (const RubyPiece& p : pieces_) text += p.base;
  return text;
}

void CRubyLayout::Draw(QPainter& painter, QPointF origin) const {
  const QFontMetricsF bm(base_);
  const QFontMetricsF rm(reading_);
  painter.setFont(base_);
  for (const RubyPiece& p : pieces_)
    painter.drawText(QPointF(origin.x() + p.baseRect.left(), origin.y() + p.baseRect.top() + bm.ascent()), p.base);
  painter.setFont(reading_);
  for (const RubyPiece& p : pieces_) {
    if (p.reading.isEmpty()) continue;
    painter.drawText(QPointF(origin.x() + p.readingRect.left(), origin.y() + p.readingRect.top() + rm.ascent()),
                     p.reading);
  }
}

int CRubyLayout::FittingPixelSize(const lexoria::RubyText& segments, QFont base, QSizeF room, int largest, int smallest,
                                  Qt::Alignment alignment) {
  for (int size = largest; size > smallest; --size) {
    base.setPixelSize(size);
    const CRubyLayout layout(segments, base, room.width(), alignment);
    bool fits = layout.Size().height() <= room.height() + 0.01;
    for (const RubyPiece& p : layout.Pieces()) fits = fits && p.baseRect.right() <= room.width() + 0.01;
    if (fits) return size;
  }
  return smallest;
}
