// CBitmapStatic: a static showing one bitmap, bordered, that reports clicks
// (the two Japanese-form switches 1035 and 1036).
#pragma once

#include <QLabel>
#include <QPixmap>

class CBitmapStatic : public QLabel {
  Q_OBJECT

 public:
  explicit CBitmapStatic(QWidget* parent = nullptr);
  void SetBitmap(const QPixmap& bitmap);

 signals:
  void clicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
};
