// SPDX-License-Identifier: GPL-3.0-or-later
// The push buttons: their objects, pictures and tooltips, and the commands
// that hand over to the online services.
#include <QWindow>
#include <memory>

#include "app/wendarodlg.h"
#include "controls/hoverbutton.h"
#include "online/aboutdlg.h"
#include "online/weblinks.h"

namespace {

struct ButtonPicture {
  int control;
  int bitmap;
};

// Picture strip of every button, in the order they are set up; each
// button's tooltip is the string resource of its id.
constexpr ButtonPicture kButtonPictures[] = {
    {1046, 177},
    {1048, 178},
    {1050, 180},
    {1047, 181},
    {1041, 1130},
    {1030, 156},
    {1101, 1133},
    {1102, 1143},
    {1104, 1137},
    {1103, 1138},
    {1106, 1134},
    {1107, 1141},
    {1105, 1142},
    {1108, 1140},
    {1109, 1135},
    {1110, 1144},
    {1116, 1136},
    {1021, 147},
    {1023, 157},
    {1022, 148},
    {1026, 150},
    {1031, 1139},
    {CWendaroDlg::kSlowPlayButtonId, 1145},
};

}  // namespace

QPushButton* CWendaroDlg::CreatePushButton(const lexoria::ControlSpec& spec, QWidget* parent) {
  auto* button = new CHoverButton(parent);
  // Never drawn: the picture says it all. Kept for accessibility.
  button->setText(QString::fromLatin1(spec.text));
  return button;
}

void CWendaroDlg::SetUpButtons() {
  versionText_->SetTextColour(kVersionTextColour);
  for (const ButtonPicture& entry : kButtonPictures) {
    auto* button = qobject_cast<CHoverButton*>(Button(entry.control));
    if (button == nullptr) continue;
    button->LoadBitmap(entry.bitmap);
    button->SetToolTipText(entry.control, true);
  }
  favouriteTooltip_ = QStringLiteral("Add to Favorite");
  Switch(1035)->LoadBitmap(160);
  Switch(1036)->LoadBitmap(161);
}

void CWendaroDlg::SetFavouriteTooltip(const QString& text) {
  favouriteTooltip_ = text;
  if (auto* button = qobject_cast<CHoverButton*>(favouriteToggleButton_)) button->SetToolTipText(text, true);
}

void CWendaroDlg::OpenWebPage(int buttonId) { lexoria::online::OpenWebLink(buttonId); }

void CWendaroDlg::ShowAboutBox() {
  CAboutDlg about(nullptr);
  // No parent widget, but it belongs to this window: where the window
  // system places windows itself (Wayland), it stands over ours.
  about.winId();
  if (about.windowHandle() != nullptr) about.windowHandle()->setTransientParent(windowHandle());
  about.exec();
}

void CWendaroDlg::RunUpdateHandOver() {
  // The job lives as long as the window, which lives until the end of the
  // run. Installed, there is no updater folder and so no hand-over.
  if (auto job = lexoria::online::RunUpdateCheckOnce(updateCheckDone_, paths_.updaterFolder()))
    updateJob_ = std::move(job);
}
