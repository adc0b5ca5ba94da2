// CAboutDlg: the about box. A frameless modal dialog cut to the shape of its
// picture (bitmap 189) and painted with it, draggable by any point, with four
// coloured labels standing straight on the picture, a credits line for the
// recordings' voice, and a picture OK button (1056).
#pragma once

#include "controls/hoverbutton.h"
#include "controls/label.h"

#include <QDialog>
#include <QImage>
#include <QMap>
#include <QRegion>

#include <optional>

class CAboutDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CAboutDlg(QWidget* parent = nullptr);

  CLabel* Label(int id) const { return labels_.value(id, nullptr); }
  CLabel* Credits() const { return credits_; }
  CHoverButton* OkButton() const { return okButton_; }
  const std::optional<QRegion>& Shape() const { return shape_; }
  const QImage& Background() const { return background_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void CreateControls();
  bool OnInitDialog();

  QImage background_;
  std::optional<QRegion> shape_;
  CHoverButton* okButton_ = nullptr;
  QMap<int, CLabel*> labels_;
  CLabel* credits_ = nullptr;
  QPoint dragOffset_;
  bool dragging_ = false;
};
