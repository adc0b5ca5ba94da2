// Phrase display: the fonts, showing the selected phrase, play, and the
// Japanese-form switch.
#include <QLineEdit>

#include "app/wendarodlg.h"
#include "sound/loadclip.h"

namespace {

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
  book_.ShowSelectedPhrase();
  TransferToControls();
  update(textArea_);
  FocusPhraseList();
}

void CWendaroDlg::OnPlay() {
  if (!phraseShown_) return;
  if (phraseList_->count() == 0) return;
  player_.Stop();
  player_.Start();
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
  std::int32_t currentClip = book_.CurrentClip();
  lexoria::sound::LoadClip(
      phrase, player_, currentClip, [this](std::string_view text) { ShowMessage(text); }, book_.Folders().data);
  book_.SetCurrentClip(currentClip);
}
