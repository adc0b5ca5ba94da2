// SPDX-License-Identifier: GPL-3.0-or-later
// CAboutDlg: the about box. A frameless modal dialog cut to the shape of its
// picture (bitmap 189) and painted with it, draggable by any point, with four
// coloured labels standing straight on the picture, a credits line for the
// recordings' voice, and a picture OK button (1056).
#pragma once

#include "controls/hoverbutton.h"
#include "controls/label.h"
#include "controls/skinneddialog.h"

#include <QImage>
#include <QMap>

class CAboutDlg : public CSkinnedDialog {
  Q_OBJECT

 public:
  explicit CAboutDlg(QWidget* parent = nullptr);

  CLabel* Label(int id) const { return labels_.value(id, nullptr); }
  CLabel* Credits() const { return credits_; }
  CHoverButton* OkButton() const { return okButton_; }
  // The picture in 1x pixels, and as last drawn for the device's ratio.
  const QImage& Background() const { return SkinPicture(); }
  const QImage& BackgroundAsDrawn() const { return SkinAsDrawn(); }

 private:
  void CreateControls();
  bool OnInitDialog();

  CHoverButton* okButton_ = nullptr;
  QMap<int, CLabel*> labels_;
  CLabel* credits_ = nullptr;
};
