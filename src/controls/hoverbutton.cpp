// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/hoverbutton.h"

#include "controls/focusring.h"
#include "controls/owntooltip.h"
#include "toolkit/resources.h"
#include "toolkit/stringtable.h"

#include <QMouseEvent>
#include <QPainter>

CHoverButton::CHoverButton(QWidget* parent) : QPushButton(parent) {
  // Mouse moves without a button held are what start hover tracking.
  setMouseTracking(true);
  setAttribute(Qt::WA_NoSystemBackground);
  setFlat(true);
  // Tab reaches it and draws its ring; a click leaves the focus where it was.
  setFocusPolicy(Qt::TabFocus);
}

bool CHoverButton::LoadBitmap(int id) {
  const qreal ratio = devicePixelRatioF();
  if (!SetBitmap(lexoria::LoadBitmapForRatio(id & 0xFFFF, ratio))) return false;
  bitmapId_ = id & 0xFFFF;
  loadedRatio_ = ratio;
  return true;
}

bool CHoverButton::SetBitmap(const QImage& strip) {
  if (strip.isNull()) return false;
  bitmap_ = strip.convertToFormat(QImage::Format_RGB32);
  bitmapId_ = 0;
  // Back to 1x pixels; rounding undoes the rounding of a fractional ratio.
  const qreal ratio = bitmap_.devicePixelRatio();
  buttonSize_ = QSize(qRound(bitmap_.width() / ratio) / 3, qRound(bitmap_.height() / ratio));
  // The template's size does not matter: the picture decides.
  resize(buttonSize_);
  updateGeometry();
  update();
  return true;
}

void CHoverButton::CreateToolTip() {
  if (toolTipCreated_) return;
  toolTipCreated_ = true;
  toolTipActive_ = false;
}

void CHoverButton::SetToolTipText(const QString& text, bool activate) {
  if (text.isNull()) return;
  CreateToolTip();
  hasTool_ = true;  // tool 1 covers the whole button
  toolText_ = text;
  toolTipActive_ = activate;
  // Also the widget's own property, for accessibility; showing stays ours.
  setToolTip(text);
}

void CHoverButton::SetToolTipText(int stringId, bool activate) {
  const QString text = lexoria::LoadStringResource(stringId);
  if (!text.isEmpty()) SetToolTipText(text, activate);
}

void CHoverButton::ActivateToolTip(bool activate) {
  if (hasTool_) toolTipActive_ = activate;
}

CHoverButton::Picture CHoverButton::CurrentPicture() const {
  if (isDown()) return kPressed;  // pressed wins over hover
  return hover_ ? kHover : kNormal;
}

QSize CHoverButton::sizeHint() const { return buttonSize_.isValid() ? buttonSize_ : QPushButton::sizeHint(); }

QSize CHoverButton::minimumSizeHint() const { return sizeHint(); }

bool CHoverButton::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip) CreateToolTip();
  if (lexoria::ShowOwnToolTip(*this, *event, hasTool_ && toolTipActive_, toolText_, rect())) return true;
  return QPushButton::event(event);
}

void CHoverButton::FollowDeviceRatio() {
  const qreal ratio = devicePixelRatioF();
  if (bitmapId_ == 0 || qFuzzyCompare(ratio, loadedRatio_)) return;
  const QImage strip = lexoria::LoadBitmapForRatio(bitmapId_, ratio);
  if (strip.isNull()) return;
  bitmap_ = strip;
  loadedRatio_ = ratio;
}

void CHoverButton::paintEvent(QPaintEvent*) {
  FollowDeviceRatio();
  if (bitmap_.isNull()) return;
  QPainter p(this);
  // The picture's third in device pixels onto the button in 1x pixels: one
  // to one when the strip was loaded for this device, smoothly otherwise.
  const qreal ratio = bitmap_.devicePixelRatio();
  if (!qFuzzyCompare(ratio, devicePixelRatioF())) p.setRenderHint(QPainter::SmoothPixmapTransform);
  const int picture = int(CurrentPicture());
  const QRectF source(picture * buttonSize_.width() * ratio, 0, buttonSize_.width() * ratio,
                      buttonSize_.height() * ratio);
  p.drawImage(QRectF(QPointF(0, 0), QSizeF(buttonSize_)), bitmap_, source);
  // The picture alone cannot show where Tab is.
  if (hasFocus()) lexoria::DrawFocusRing(p, rect());
}

void CHoverButton::mouseMoveEvent(QMouseEvent* event) {
  if (!tracking_) {
    // The window system's hover notice comes after 1 ms of rest; here it
    // is as good as at once.
    tracking_ = true;
    OnMouseHover();
  }
  QPushButton::mouseMoveEvent(event);
}

void CHoverButton::enterEvent(QEnterEvent* event) {
  if (!tracking_) {
    tracking_ = true;
    OnMouseHover();
  }
  QPushButton::enterEvent(event);
}

void CHoverButton::leaveEvent(QEvent* event) {
  OnMouseLeave();
  QPushButton::leaveEvent(event);
}

void CHoverButton::OnMouseHover() {
  hover_ = true;
  update();
}

void CHoverButton::OnMouseLeave() {
  tracking_ = false;
  hover_ = false;
  update();
}
