// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/skinneddialog.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

#include "toolkit/bitmaptoregion.h"

CSkinnedDialog::CSkinnedDialog(QWidget* parent) : QDialog(parent) {
  if (MaskIsInputOnly()) DrawTransparentOutsideShape();
}

bool CSkinnedDialog::MaskIsInputOnly() { return QGuiApplication::platformName().startsWith(QLatin1String("wayland")); }

void CSkinnedDialog::DrawTransparentOutsideShape() {
  setAttribute(Qt::WA_TranslucentBackground);
  setAutoFillBackground(false);
}

std::optional<QRegion> CSkinnedDialog::ShapeOf(const QImage& picture) {
  return lexoria::BitmapToRegion(picture, lexoria::kKeyBlack, 0);
}

void CSkinnedDialog::SetSkin(int bitmapId) {
  skin_ = lexoria::ScaledBitmap(bitmapId, devicePixelRatioF());
  shape_ = ShapeOf(skin_.OneX());
}

void CSkinnedDialog::ApplyShape() {
  if (shape_) setMask(*shape_);
}

void CSkinnedDialog::paintEvent(QPaintEvent* event) {
  if (skin_.isNull()) {
    QDialog::paintEvent(event);
    return;
  }
  QPainter painter(this);
  // The key black stays out: there the desktop shows through.
  if (DrawnTransparent() && shape_) painter.setClipRegion(*shape_);
  skin_.Draw(painter, QPoint(0, 0));
}

// Every free point acts as the title bar: the window system moves the
// window; where it cannot (no window manager), the window follows the mouse
// itself.
void CSkinnedDialog::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    if (windowHandle() != nullptr && windowHandle()->startSystemMove()) return;
    dragging_ = true;
    dragOffset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
  }
  QDialog::mousePressEvent(event);
}

void CSkinnedDialog::mouseMoveEvent(QMouseEvent* event) {
  if (dragging_ && (event->buttons() & Qt::LeftButton)) move(event->globalPosition().toPoint() - dragOffset_);
  QDialog::mouseMoveEvent(event);
}

void CSkinnedDialog::mouseReleaseEvent(QMouseEvent* event) {
  dragging_ = false;
  QDialog::mouseReleaseEvent(event);
}
