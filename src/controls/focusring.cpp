// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/focusring.h"

#include <QPaintDevice>
#include <algorithm>
#include <cmath>

namespace lexoria {

int FocusRingLineWidth(qreal ratio) { return std::max(1, static_cast<int>(std::lround(ratio))); }

void DrawFocusRing(QPainter& painter, const QRect& area) {
  const qreal ratio = painter.device() != nullptr ? painter.device()->devicePixelRatioF() : 1.0;
  const int line = FocusRingLineWidth(ratio);
  // In device pixels: whole-pixel strips never blend into their neighbours.
  const QRect device(
      static_cast<int>(std::lround(area.left() * ratio)), static_cast<int>(std::lround(area.top() * ratio)),
      static_cast<int>(std::lround(area.width() * ratio)), static_cast<int>(std::lround(area.height() * ratio)));
  painter.save();
  painter.resetTransform();
  painter.scale(1 / ratio, 1 / ratio);
  painter.setRenderHint(QPainter::Antialiasing, false);
  const auto frame = [&painter](const QRect& r, int width, const QColor& colour) {
    painter.fillRect(QRect(r.left(), r.top(), r.width(), width), colour);
    painter.fillRect(QRect(r.left(), r.bottom() - width + 1, r.width(), width), colour);
    painter.fillRect(QRect(r.left(), r.top(), width, r.height()), colour);
    painter.fillRect(QRect(r.right() - width + 1, r.top(), width, r.height()), colour);
  };
  frame(device, 2 * line, kFocusRingOuter);
  frame(device.adjusted(2 * line, 2 * line, -2 * line, -2 * line), line, kFocusRingInner);
  painter.restore();
}

}  // namespace lexoria
