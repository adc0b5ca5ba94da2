// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/rubystatic.h"

#include <QPainter>

#include "controls/rubytext.h"

namespace {

// Never smaller than this: a reading at half of it is still legible.
constexpr int kSmallestPixels = 14;

Qt::Alignment HorizontalAlignment(int flags) {
  if (flags & Qt::AlignRight) return Qt::AlignRight;
  if (flags & Qt::AlignHCenter) return Qt::AlignHCenter;
  return Qt::AlignLeft;
}

}  // namespace

CRubyStatic::CRubyStatic(std::uint32_t staticStyle, QWidget* parent) : CTransparentStatic(staticStyle, parent) {}

void CRubyStatic::SetReadingsLookup(ReadingsLookup lookup) {
  lookup_ = std::move(lookup);
  update();
}

void CRubyStatic::SetFuriganaShown(bool shown) {
  if (shown == furiganaShown_) return;
  furiganaShown_ = shown;
  update();
}

std::optional<lexoria::RubyText> CRubyStatic::ShownReadings() const {
  if (!furiganaShown_ || !lookup_ || Text().isEmpty()) return std::nullopt;
  return lookup_(Text());
}

bool CRubyStatic::DrawsReadings() const { return ShownReadings().has_value(); }

int CRubyStatic::RubyPixelSize() const {
  const std::optional<lexoria::RubyText> ruby = ShownReadings();
  if (!ruby) return 0;
  const int largest = font().pixelSize() > 0 ? font().pixelSize() : 22;
  return CRubyLayout::FittingPixelSize(*ruby, font(), size(), largest, std::min(kSmallestPixels, largest),
                                       HorizontalAlignment(TextFlags()));
}

void CRubyStatic::paintEvent(QPaintEvent* event) {
  const std::optional<lexoria::RubyText> ruby = ShownReadings();
  if (!ruby) {
    CTransparentStatic::paintEvent(event);
    return;
  }
  QFont base = font();
  base.setPixelSize(RubyPixelSize());
  const CRubyLayout layout(*ruby, base, width(), HorizontalAlignment(TextFlags()));
  QPainter painter(this);
  painter.setRenderHint(QPainter::TextAntialiasing);
  const std::uint32_t c = TextColour();
  painter.setPen(
      QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>((c >> 16) & 0xFF)));
  // Top-aligned like the plain text; centred when the text is.
  const qreal top = (TextFlags() & Qt::AlignVCenter) ? std::max<qreal>(0, (height() - layout.Size().height()) / 2) : 0;
  layout.Draw(painter, QPointF(0, top));
}
