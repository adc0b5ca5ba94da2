// SPDX-License-Identifier: GPL-3.0-or-later
// CBitmapStatic: a static showing one bitmap, bordered, that reports clicks
// (the two Japanese-form switches 1035 and 1036). A bitmap loaded by id is
// held at the device pixel ratio it is drawn at. Tab reaches it; Space
// clicks it, as a button.
#pragma once

#include <QLabel>
#include <QPixmap>

#include "toolkit/scaledbitmap.h"

class CBitmapStatic : public QLabel {
  Q_OBJECT

 public:
  explicit CBitmapStatic(QWidget* parent = nullptr);
  void SetBitmap(const QPixmap& bitmap);
  // Bitmap resource id for the static's ratio, again when the ratio changes.
  void LoadBitmap(int id);
  // What a click does, for the keyboard and screen readers.
  void Click() { emit clicked(); }

 signals:
  void clicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  lexoria::ScaledBitmap picture_;
  qreal shownRatio_ = 0;
};
