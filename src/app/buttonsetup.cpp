// The push buttons: their objects, pictures and tooltips, and the commands
// that hand over to the online services.
#include "app/wendarodlg.h"

QPushButton* CWendaroDlg::CreatePushButton(const lexoria::ControlSpec& spec, QWidget* parent) {
  return new QPushButton(QString::fromLatin1(spec.text), parent);
}

void CWendaroDlg::SetUpButtons() {
  m_versionText->SetTextColour(kVersionTextColour);
  SetFavouriteTooltip(QStringLiteral("Add to Favorite"));
  for (int id : {1021, 1022, 1023, 1026, 1116, 1031, 1030, 1041}) {
    // Plain buttons need a word to be found until their pictures arrive.
    if (Button(id)->text().isEmpty()) Button(id)->setText(QString::number(id));
  }
  Switch(1035)->SetBitmap(SwitchBitmap(160));
  Switch(1036)->SetBitmap(SwitchBitmap(161));
}

void CWendaroDlg::SetFavouriteTooltip(const QString& text) {
  favouriteTooltip_ = text;
  m_favouriteToggleButton->setToolTip(text);
}

void CWendaroDlg::OpenWebPage(int buttonId) { (void)buttonId; }

void CWendaroDlg::ShowAboutBox() {}

void CWendaroDlg::RunUpdateHandOver() {}
