// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/bitmapstatic.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "controls/focusring.h"

CBitmapStatic::CBitmapStatic(QWidget* parent) : QLabel(parent) {
  setFrameShape(QFrame::Box);
  setLineWidth(1);
  // The mouse keeps the focus where it was, as on the picture buttons.
  setFocusPolicy(Qt::TabFocus);
}

void CBitmapStatic::SetBitmap(const QPixmap& bitmap) {
  setPixmap(bitmap);
  // A bitmap static takes the size of its picture in 1x pixels, border
  // included, whatever the picture's device pixel ratio.
  if (!bitmap.isNull()) {
    const QSize picture = bitmap.deviceIndependentSize().toSize();
    resize(picture + QSize(2 * frameWidth(), 2 * frameWidth()));
  }
}

void CBitmapStatic::LoadBitmap(int id) {
  shownRatio_ = devicePixelRatioF();
  picture_ = lexoria::ScaledBitmap(id, shownRatio_);
  if (!picture_.isNull()) SetBitmap(QPixmap::fromImage(picture_.Current()));
}

void CBitmapStatic::paintEvent(QPaintEvent* event) {
  // Moved to a screen of another ratio: the picture for it, same size.
  const qreal ratio = devicePixelRatioF();
  if (!picture_.isNull() && !qFuzzyCompare(ratio, shownRatio_)) {
    shownRatio_ = ratio;
    setPixmap(QPixmap::fromImage(picture_.ForRatio(ratio)));
  }
  QLabel::paintEvent(event);
  if (hasFocus()) {
    QPainter painter(this);
    lexoria::DrawFocusRing(painter, rect());
  }
}

void CBitmapStatic::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
    Click();
    return;
  }
  QLabel::keyPressEvent(event);
}

void CBitmapStatic::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
  QLabel::mouseReleaseEvent(event);
}
