// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/transparentstatic.h"

#include <QAccessible>
#include <QMouseEvent>
#include <QPainter>

#include "controls/focusring.h"
#include "toolkit/dialogtemplate.h"

namespace ss = lexoria::ss;

CTransparentStatic::CTransparentStatic(std::uint32_t staticStyle, QWidget* parent)
    : QWidget(parent), staticStyle_(staticStyle) {
  // Nothing of our own is painted behind the text.
  setAttribute(Qt::WA_TranslucentBackground);
  setAutoFillBackground(false);
}

CTransparentStatic::~CTransparentStatic() = default;

void CTransparentStatic::SetText(const QString& text) {
  if (text == text_) return;
  const QString old = text_;
  text_ = text;
  update();
  // A screen reader hears the new text.
  if (QAccessible::isActive()) {
    QAccessibleTextUpdateEvent event(this, 0, old, text_);
    QAccessible::updateAccessibility(&event);
  }
}

void CTransparentStatic::SetTextColour(std::uint32_t colour) {
  textColour_ = colour;
  update();
}

int CTransparentStatic::TextFlags() const {
  const std::uint32_t s = staticStyle_;
  int flags = 0;
  // The alignment bits are values, not flags: right wins over centre the way
  // the draw-text flags combine.
  if (s & ss::kRight) {
    flags |= Qt::AlignRight;
  } else if (s & ss::kCenter) {
    flags |= Qt::AlignHCenter;
  } else {
    flags |= Qt::AlignLeft;
  }
  if (s & ss::kCenterImage) {
    flags |= Qt::AlignVCenter | Qt::TextSingleLine;
  } else {
    flags |= Qt::AlignTop;
  }
  if (!(s & ss::kNoPrefix)) flags |= Qt::TextShowMnemonic;
  // Word breaks unless the style asks for no wrap, centred image or ellipsis.
  if ((s & 0xC20C) == 0) flags |= Qt::TextWordWrap;
  return flags;
}

Qt::TextElideMode CTransparentStatic::ElideMode() const {
  const std::uint32_t s = staticStyle_;
  if ((s & ss::kWordEllipsis) == ss::kWordEllipsis) return Qt::ElideRight;
  if (s & ss::kPathEllipsis) return Qt::ElideMiddle;
  if (s & ss::kEndEllipsis) return Qt::ElideRight;
  return Qt::ElideNone;
}

void CTransparentStatic::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setFont(font());
  painter.setPen(QColor(static_cast<int>(textColour_ & 0xFF), static_cast<int>((textColour_ >> 8) & 0xFF),
                        static_cast<int>((textColour_ >> 16) & 0xFF)));
  QString shown = text_;
  const Qt::TextElideMode elide = ElideMode();
  if (elide != Qt::ElideNone) shown = painter.fontMetrics().elidedText(text_, elide, width());
  painter.drawText(rect(), TextFlags(), shown);
  if (hasFocus()) lexoria::DrawFocusRing(painter, rect());
}

void CTransparentStatic::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
  QWidget::mouseReleaseEvent(event);
}
