// SPDX-License-Identifier: GPL-3.0-or-later
// The skinned window: its icon, skin picture and shape, the icon while
// minimised, and the colours of the controls drawn over the skin. Painting
// the skin and dragging by any free point are CSkinnedDialog's.
#include <QPainter>
#include <QStyle>

#include "app/wendarodlg.h"
#include "toolkit/resources.h"

namespace {
constexpr int kIconId = 146;
constexpr int kSkinBitmap = 1129;
constexpr int kListTextureBitmap = 149;
}  // namespace

void CWendaroDlg::LoadSkin() {
  icon_ = lexoria::LoadIconResource(kIconId);
  // No skin: no region, the window keeps its rectangle.
  SetSkin(kSkinBitmap);
}

void CWendaroDlg::ApplyWindowRegion() { ApplyShape(); }

void CWendaroDlg::ApplyControlColours() {
  // The phrase list shows the tiled texture behind its lines; the statics
  // paint only their letters, straight on the skin.
  QPalette palette = phraseList_->palette();
  if (listBrush_.style() != Qt::NoBrush) palette.setBrush(QPalette::Base, listBrush_);
  phraseList_->setPalette(palette);
  phraseList_->SetBackgroundBrush(listBrush_);
}

QBrush CWendaroDlg::MakeListBrush() {
  const QImage texture = lexoria::LoadBitmapForRatio(kListTextureBitmap, devicePixelRatioF());
  if (texture.isNull()) return QBrush(QColor(0xF4, 0xEE, 0xDC));
  return QBrush(QPixmap::fromImage(texture));
}

void CWendaroDlg::paintEvent(QPaintEvent* event) {
  if (!isMinimized()) {
    CSkinnedDialog::paintEvent(event);
    return;
  }
  // Where the window system still draws a minimised window: the icon,
  // centred.
  QPainter painter(this);
  const int side = style()->pixelMetric(QStyle::PM_LargeIconSize, nullptr, this);
  const int x = (width() - side + 1) / 2;
  const int y = (height() - side + 1) / 2;
  icon_.paint(&painter, QRect(x, y, side, side));
}
