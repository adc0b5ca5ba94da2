#include "app/bitmapstatic.h"

#include <QMouseEvent>

CBitmapStatic::CBitmapStatic(QWidget* parent) : QLabel(parent) {
  setFrameShape(QFrame::Box);
  setLineWidth(1);
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

void CBitmapStatic::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
  QLabel::mouseReleaseEvent(event);
}
