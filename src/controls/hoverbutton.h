// SPDX-License-Identifier: GPL-3.0-or-later
// CHoverButton: the owner-drawn push button of the skinned windows.
//
// One bitmap holds three pictures side by side: normal, pressed, hover. The
// button takes the size of one picture and draws nothing but the picture:
// pressed while it is held down, hover while the mouse rests on it, else
// normal. Its tooltip is created the first time it is needed and can be
// switched off without losing its text. The picture is held at the device
// pixel ratio the button is drawn at; its size stays in 1x pixels.
#pragma once

#include <QImage>
#include <QPushButton>
#include <QSize>
#include <QString>

class CHoverButton : public QPushButton {
  Q_OBJECT

 public:
  enum Picture { kNormal = 0, kPressed = 1, kHover = 2 };

  explicit CHoverButton(QWidget* parent = nullptr);

  // Loads bitmap resource id for the button's device pixel ratio, takes the
  // size of one picture (width / 3, height, in 1x pixels) without moving.
  // False when the bitmap does not exist.
  bool LoadBitmap(int id);
  // The same with a picture strip at hand; its own device pixel ratio says
  // how many device pixels make one 1x pixel.
  bool SetBitmap(const QImage& strip);
  // The strip as drawn: at the ratio it was last loaded for.
  const QImage& Bitmap() const { return bitmap_; }

  // Creates the tooltip if needed, gives tool 1 the text, then activates or
  // deactivates the tooltip. A null text does nothing.
  void SetToolTipText(const QString& text, bool activate = true);
  // The same with the text of string resource id; an empty or unknown
  // string does nothing.
  void SetToolTipText(int stringId, bool activate = true);
  // Activates or deactivates the tooltip when it has its tool.
  void ActivateToolTip(bool activate);

  QSize ButtonSize() const { return buttonSize_; }
  Picture CurrentPicture() const;
  bool IsHover() const { return hover_; }
  bool IsTracking() const { return tracking_; }
  bool HasToolTip() const { return toolTipCreated_; }
  bool HasTool() const { return hasTool_; }
  bool IsToolTipActive() const { return toolTipActive_; }
  QString ToolTipText() const { return toolText_; }

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  void CreateToolTip();
  void OnMouseHover();
  void OnMouseLeave();
  // Loads the resource again when the ratio changed since it was loaded
  // (the window moved to another screen).
  void FollowDeviceRatio();

  bool hover_ = false;
  QSize buttonSize_;
  QImage bitmap_;
  int bitmapId_ = 0;       // the resource shown, 0 for a strip at hand
  qreal loadedRatio_ = 0;  // the device ratio bitmapId_ was loaded for
  bool tracking_ = false;
  bool toolTipCreated_ = false;
  bool hasTool_ = false;
  bool toolTipActive_ = false;
  QString toolText_;
};
