// SPDX-License-Identifier: GPL-3.0-or-later
// Phrase display: the fonts, showing the selected phrase, play, and the
// Japanese-form switch.
#include <QLineEdit>

#include "app/wendarodlg.h"
#include "sound/loadclip.h"

namespace {

// Play on a phrase whose recording could not be loaded for another reason
// than a missing or foreign sound file.
constexpr char kMessageNoClip[] = "Can't play the sound of this phrase!";
// Play with no sound server to play on (none running, or it went away).
constexpr char kMessageNoSound[] = "Can't play the sound: no sound server is running!";
// Play while the sound server is there but has not answered the connection.
constexpr char kMessageSlowServer[] = "Can't play the sound: the sound server is not answering. Try again in a moment.";
// How long a play may wait for a server that has not answered yet; a
// server that answers at all does so within milliseconds.
constexpr int kServerAnswerMs = 1000;

// Face names first; the families the two font files bring, then the ones
// those files are known to register, stand in where the faces are missing.
QFont MakeFont(const QString& face, const QStringList& registered, const QString& knownFamily, int pixels) {
  QStringList families{face};
  families += registered;
  families += knownFamily;
  QFont font;
  font.setFamilies(families);
  font.setPixelSize(pixels);
  font.setWeight(QFont::Normal);
  font.setStyleHint(QFont::SansSerif);
  return font;
}

}  // namespace

void CWendaroDlg::CreateFonts() {
  latinFont_ = MakeFont(QStringLiteral("Arial"), latinFamilies_, QStringLiteral("Liberation Sans"), 15);
  for (int id : {1111, 1019, 1020, 1018, 1117, 1025, 1024}) {
    Control(id)->setFont(latinFont_);
    Control(id)->update();
  }
  japaneseFont_ = MakeFont(QStringLiteral("Ms Hei"), japaneseFamilies_, QStringLiteral("IPAexGothic"), 22);
  japanese_->setFont(japaneseFont_);
  japanese_->update();
}

void CWendaroDlg::OnListRowChanged() { OnPhraseSelected(); }

void CWendaroDlg::OnPhraseSelected() {
  phraseShown_ = true;
  book_.SetSelection(phraseList_->currentRow());
  model_.ShowSelectedPhrase();
  TransferToControls();
  update(textArea_);
  FocusPhraseList();
}

void CWendaroDlg::OnPlay() { PlayShown(1.0f); }

void CWendaroDlg::PlayShown(float tempo) {
  // The phrase on show is the one loaded, start-up's first phrase included.
  if (phraseList_->count() == 0) return;
  // A line that was not found leaves nothing to play, least of all the
  // recording of the phrase shown before.
  if (!book_.PhraseSelected()) return;
  if (!clipFailure_.empty()) {
    ShowMessage(clipFailure_);
    return;
  }
  // A server that was missing or went away may be back by now.
  if (!player_.DeviceReady()) player_.ReopenDevice();
  player_.Stop();
  if (tempo == 1.0f) {
    player_.Start();
  } else {
    player_.StartAtTempo(tempo);
  }
  if (!player_.DeviceReady()) {
    ShowMessage(kMessageNoSound);
    return;
  }
  // The play is held by the output until the server answers; the window
  // goes on meanwhile, and says so if it does not answer in time.
  if (player_.DeviceWaiting()) serverAnswerTimer_.start(kServerAnswerMs);
}

void CWendaroDlg::CheckServerAnswered() {
  if (!player_.DeviceWaiting()) {
    // Answered and played, or went away meanwhile.
    if (!player_.DeviceReady()) ShowMessage(kMessageNoSound);
    return;
  }
  // A late sound would come out of nowhere: this play is dropped.
  player_.Stop();
  ShowMessage(kMessageSlowServer);
}

void CWendaroDlg::OnFirstFormClicked() {
  book_.SetJapaneseForm(true);
  Switch(1036)->show();
  Switch(1035)->hide();
  OnPhraseSelected();
}

void CWendaroDlg::OnSecondFormClicked() {
  book_.SetJapaneseForm(false);
  Switch(1036)->hide();
  Switch(1035)->show();
  OnPhraseSelected();
}

void CWendaroDlg::LoadClip(std::int32_t phrase) {
  using lexoria::sound::ClipStatus;
  std::int32_t currentClip = book_.CurrentClip();
  std::string said;
  const ClipStatus status = lexoria::sound::LoadClip(
      phrase, player_, currentClip,
      [this, &said](std::string_view text) {
        said = text;
        ShowMessage(text);
      },
      book_.Folders().data);
  if (status == ClipStatus::Loaded || status == ClipStatus::AlreadyLoaded) {
    clipFailure_.clear();
  } else {
    // The player must not keep the previous phrase's recording for Play.
    player_.Close();
    currentClip = -1;
    if (!said.empty()) {
      clipFailure_ = said;
    } else if (status == ClipStatus::NoIndexFile) {
      clipFailure_ = lexoria::sound::kMessageNoSoundFile;
    } else {
      clipFailure_ = kMessageNoClip;
    }
  }
  book_.SetCurrentClip(currentClip);
}
