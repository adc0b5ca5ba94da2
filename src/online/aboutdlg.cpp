// SPDX-License-Identifier: GPL-3.0-or-later
#include "online/aboutdlg.h"

#include "online/abouttemplate.h"

using namespace lexoria::online;

CAboutDlg::CAboutDlg(QWidget* parent) : CSkinnedDialog(parent) {
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
      okButton_->setAccessibleName(QStringLiteral("OK"));  // the picture says it
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
  SetSkin(kAboutBackgroundBitmap);
  ApplyShape();
  okButton_->LoadBitmap(kAboutOkBitmap);
  for (const LabelLook& look : AboutLabelLooks()) {
    if (CLabel* label = Label(look.id)) label->SetTextColor(look.colour).SetFontBold(look.bold).SetFontSize(look.size);
  }
  credits_->SetTextColor(QColor(38, 56, 102)).SetFontSize(11);
  okButton_->setFocus();
  return true;
}
