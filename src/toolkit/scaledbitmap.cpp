// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/scaledbitmap.h"

#include "toolkit/resources.h"

#include <QPaintDevice>
#include <QRectF>

namespace lexoria {

ScaledBitmap::ScaledBitmap(int id, qreal ratio) : id_(id), oneX_(LoadBitmapResource(id)) {
  if (!oneX_.isNull()) ForRatio(ratio);
}

const QImage& ScaledBitmap::ForRatio(qreal ratio) {
  if (oneX_.isNull() || (ratio_ > 0 && qFuzzyCompare(ratio, ratio_))) return current_;
  current_ = ratio > 1 && !qFuzzyCompare(ratio, 1.0) ? LoadBitmapForRatio(id_, ratio) : oneX_;
  ratio_ = ratio;
  return current_;
}

void ScaledBitmap::Draw(QPainter& painter, const QPoint& at) {
  const qreal ratio = painter.device() != nullptr ? painter.device()->devicePixelRatioF() : 1.0;
  const QImage& image = ForRatio(ratio);
  if (image.isNull()) return;
  painter.save();
  if (!qFuzzyCompare(image.devicePixelRatio(), ratio)) painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(QRectF(at, QSizeF(Size())), image, QRectF(image.rect()));
  painter.restore();
}

}  // namespace lexoria
