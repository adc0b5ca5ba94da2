// SPDX-License-Identifier: GPL-3.0-or-later
// CSkinnedDialog: a frameless dialog painted with one picture, cut to the
// shape of that picture (every pixel but the key black) and dragged by any
// point that no control takes. The main window and the about box are both
// made this way; what differs (icon, controls, when the shape is applied) is
// theirs. The picture is drawn at the device pixel ratio; the shape is cut
// in 1x pixels and scaled by the window system with the window.
//
// Where the shape is only the input region (Wayland), the window is drawn
// with a transparent background and the picture only inside the shape, so
// the corners and what lies below the picture show the desktop, as the
// mask shows it under X11.
#pragma once

#include <QDialog>
#include <QImage>
#include <QPoint>
#include <QRegion>

#include <optional>

#include "toolkit/scaledbitmap.h"

class CSkinnedDialog : public QDialog {
  Q_OBJECT

 public:
  explicit CSkinnedDialog(QWidget* parent = nullptr);

  // True on window systems where a mask cuts only the input, not the
  // picture: the dialog is then drawn transparent outside its shape.
  static bool MaskIsInputOnly();
  bool DrawnTransparent() const { return testAttribute(Qt::WA_TranslucentBackground); }

  // The picture in 1x pixels, and as last drawn for the device's ratio.
  const QImage& SkinPicture() const { return skin_.OneX(); }
  const QImage& SkinAsDrawn() const { return skin_.Current(); }
  // Null when there is no picture: the window keeps its rectangle.
  const std::optional<QRegion>& Shape() const { return shape_; }

 protected:
  // Loads bitmap resource bitmapId as the picture and makes the shape from
  // it; the window is cut only when ApplyShape() runs.
  void SetSkin(int bitmapId);
  void ApplyShape();
  // Draws the window transparent outside its shape; before it is first
  // shown. The constructor asks for it where MaskIsInputOnly().
  void DrawTransparentOutsideShape();

  // The picture at the top left, or the dialog's own background without one.
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  // The one place a picture becomes a window shape.
  static std::optional<QRegion> ShapeOf(const QImage& picture);

  lexoria::ScaledBitmap skin_;
  std::optional<QRegion> shape_;
  QPoint dragOffset_;
  bool dragging_ = false;
};
