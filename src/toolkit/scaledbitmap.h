// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A bitmap resource drawn at the device pixel ratio of whatever it is painted
// on: loaded again when that ratio changes (a window moved to another
// screen), while its 1x picture stays at hand for sizes and window shapes.
#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QSize>

namespace lexoria {

class ScaledBitmap {
 public:
  ScaledBitmap() = default;
  // Bitmap resource id, loaded for ratio; null when the id does not exist.
  ScaledBitmap(int id, qreal ratio);

  bool isNull() const { return oneX_.isNull(); }
  // The 1x picture and its size: the pixels layout and shapes are made of.
  const QImage& OneX() const { return oneX_; }
  QSize Size() const { return oneX_.size(); }

  // The picture for ratio, carrying that ratio (see LoadBitmapForRatio).
  const QImage& ForRatio(qreal ratio);
  // The picture last loaded.
  const QImage& Current() const { return current_; }

  // Draws the picture for the painter's device with its top left at `at`
  // (1x pixels), pixel for pixel where the ratio matches, smoothly scaled
  // where it cannot.
  void Draw(QPainter& painter, const QPoint& at);

 private:
  int id_ = 0;
  QImage oneX_;
  QImage current_;
  qreal ratio_ = 0;
};

}  // namespace lexoria
