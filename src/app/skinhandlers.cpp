// The skinned window: its icon, skin picture and shape, the background, the
// colours of the controls drawn over it, and dragging by any free point.
#include <QMouseEvent>
#include <QPainter>

#include "app/wendarodlg.h"

void CWendaroDlg::LoadSkin() {
  // No artwork yet: no icon, no skin, the window keeps its rectangle.
  m_skin = QImage();
  m_windowRegion.reset();
}

void CWendaroDlg::ApplyWindowRegion() {
  if (m_windowRegion) setMask(*m_windowRegion);
}

void CWendaroDlg::ApplyControlColours() {
  QPalette palette = m_phraseList->palette();
  if (m_listBrush.style() != Qt::NoBrush) palette.setBrush(QPalette::Base, m_listBrush);
  m_phraseList->setPalette(palette);
  m_phraseList->SetBackgroundBrush(m_listBrush);
}

QBrush CWendaroDlg::MakeListBrush() { return QBrush(QColor(0xF4, 0xEE, 0xDC)); }

QPixmap CWendaroDlg::SwitchBitmap(int bitmapId) {
  QPixmap bitmap(20, 20);
  bitmap.fill(bitmapId == 160 ? QColor(0xC0, 0x30, 0x30) : QColor(0x30, 0x60, 0xC0));
  return bitmap;
}

void CWendaroDlg::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  if (!m_skin.isNull()) {
    painter.drawImage(0, 0, m_skin);
  } else {
    painter.fillRect(rect(), QColor(0x8C, 0x2A, 0x2A));
  }
  QDialog::paintEvent(event);
}

// Every free point of the window acts as its title bar.
void CWendaroDlg::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    dragging_ = true;
    dragOffset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
  }
  QDialog::mousePressEvent(event);
}

void CWendaroDlg::mouseMoveEvent(QMouseEvent* event) {
  if (dragging_ && (event->buttons() & Qt::LeftButton)) move(event->globalPosition().toPoint() - dragOffset_);
  QDialog::mouseMoveEvent(event);
}

void CWendaroDlg::mouseReleaseEvent(QMouseEvent* event) {
  dragging_ = false;
  QDialog::mouseReleaseEvent(event);
}
