// The skinned window: its icon, skin picture and shape, the background, the
// colours of the controls drawn over it, and dragging by any free point.
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QWindow>

#include "app/wendarodlg.h"
#include "toolkit/bitmaptoregion.h"
#include "toolkit/resources.h"

namespace {
constexpr int kIconId = 146;
constexpr int kSkinBitmap = 1129;
constexpr int kListTextureBitmap = 149;
}  // namespace

void CWendaroDlg::LoadSkin() {
  icon_ = lexoria::LoadIconResource(kIconId);
  skin_ = lexoria::LoadBitmapResource(kSkinBitmap);
  // No skin: no region, the window keeps its rectangle.
  windowRegion_ = lexoria::BitmapToRegion(skin_, lexoria::kKeyBlack, 0);
}

void CWendaroDlg::ApplyWindowRegion() {
  if (windowRegion_) setMask(*windowRegion_);
}

void CWendaroDlg::ApplyControlColours() {
  // The phrase list shows the tiled texture behind its lines; the statics
  // paint only their letters, straight on the skin.
  QPalette palette = phraseList_->palette();
  if (listBrush_.style() != Qt::NoBrush) palette.setBrush(QPalette::Base, listBrush_);
  phraseList_->setPalette(palette);
  phraseList_->SetBackgroundBrush(listBrush_);
}

QBrush CWendaroDlg::MakeListBrush() {
  const QImage texture = lexoria::LoadBitmapResource(kListTextureBitmap);
  if (texture.isNull()) return QBrush(QColor(0xF4, 0xEE, 0xDC));
  return QBrush(QPixmap::fromImage(texture));
}

QPixmap CWendaroDlg::SwitchBitmap(int bitmapId) { return QPixmap::fromImage(lexoria::LoadBitmapResource(bitmapId)); }

void CWendaroDlg::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  if (isMinimized()) {
    // Where the window system still draws a minimised window: the icon,
    // centred.
    const int side = style()->pixelMetric(QStyle::PM_LargeIconSize, nullptr, this);
    const int x = (width() - side + 1) / 2;
    const int y = (height() - side + 1) / 2;
    icon_.paint(&painter, QRect(x, y, side, side));
    return;
  }
  if (!skin_.isNull()) {
    painter.drawImage(0, 0, skin_);
  } else {
    QDialog::paintEvent(event);
  }
}

// Every free point of the window acts as its title bar: the window system
// moves it; where it cannot (no window manager), the window follows the
// mouse itself.
void CWendaroDlg::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    if (windowHandle() != nullptr && windowHandle()->startSystemMove()) return;
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
