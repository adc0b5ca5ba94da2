#include "online/aboutdlg.h"

#include "online/abouttemplate.h"
#include "toolkit/bitmaptoregion.h"
#include "toolkit/resources.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

using namespace lexoria::online;

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
  setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
  setWindowTitle(QStringLiteral("About"));
  setFixedSize(lexoria::DialogSizeToPixels(AboutTemplate().size));
  CreateControls();
  OnInitDialog();
}

void CAboutDlg::CreateControls() {
  for (const lexoria::ControlSpec& spec : AboutTemplate().controls) {
    const QRect rect = lexoria::DialogRectToPixels(spec.rect);
    QWidget* widget = nullptr;
    if (spec.kind == lexoria::ControlKind::PushButton) {
      okButton_ = new CHoverButton(this);
      okButton_->setDefault(true);
      widget = okButton_;
    } else {
      auto* label = new CLabel(this);
      label->setText(QString::fromLatin1(spec.text));
      label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      // The labels stand straight on the picture.
      label->SetHollowBackground(true);
      labels_.insert(spec.id, label);
      widget = label;
    }
    widget->setObjectName(QString::number(spec.id));
    widget->setGeometry(rect);
  }
  credits_ = new CLabel(this);
  credits_->setObjectName(QStringLiteral("credits"));
  credits_->setText(QString::fromUtf8(kVoiceCredits));
  credits_->setWordWrap(true);
  credits_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  credits_->SetHollowBackground(true);
  credits_->setGeometry(78, 342, 352, 46);
  connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
}

bool CAboutDlg::OnInitDialog() {
  background_ = lexoria::LoadBitmapResource(kAboutBackgroundBitmap);
  shape_ = lexoria::BitmapToRegion(background_, lexoria::kKeyBlack, 0);
  if (shape_) setMask(*shape_);
  okButton_->LoadBitmap(kAboutOkBitmap);
  for (const LabelLook& look : AboutLabelLooks()) {
    if (CLabel* label = Label(look.id)) label->SetTextColor(look.colour).SetFontBold(look.bold).SetFontSize(look.size);
  }
  credits_->SetTextColor(QColor(38, 56, 102)).SetFontSize(11);
  okButton_->setFocus();
  return true;
}

void CAboutDlg::paintEvent(QPaintEvent* event) {
  if (background_.isNull()) {
    QDialog::paintEvent(event);
    return;
  }
  QPainter p(this);
  p.drawImage(QPoint(0, 0), background_);
}

void CAboutDlg::mousePressEvent(QMouseEvent* event) {
  // Every point of the box is its title bar.
  if (event->button() != Qt::LeftButton) {
    QDialog::mousePressEvent(event);
    return;
  }
  if (windowHandle() && windowHandle()->startSystemMove()) return;
  dragging_ = true;
  dragOffset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void CAboutDlg::mouseMoveEvent(QMouseEvent* event) {
  if (dragging_ && (event->buttons() & Qt::LeftButton)) move(event->globalPosition().toPoint() - dragOffset_);
  QDialog::mouseMoveEvent(event);
}

void CAboutDlg::mouseReleaseEvent(QMouseEvent* event) {
  dragging_ = false;
  QDialog::mouseReleaseEvent(event);
}
