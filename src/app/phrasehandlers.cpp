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
  m_latinFont = MakeFont(QStringLiteral("Arial"), latinFamilies_, QStringLiteral("Liberation Sans"), 15);
  for (int id : {1111, 1019, 1020, 1018, 1117, 1025, 1024}) {
    Control(id)->setFont(m_latinFont);
    Control(id)->update();
  }
  m_japaneseFont = MakeFont(QStringLiteral("Ms Hei"), japaneseFamilies_, QStringLiteral("IPAexGothic"), 22);
  m_japanese->setFont(m_japaneseFont);
  m_japanese->update();
}

void CWendaroDlg::OnListRowChanged() { OnPhraseSelected(); }

void CWendaroDlg::OnPhraseSelected() {
  m_phraseShown = true;
  m_book.SetSelection(m_phraseList->currentRow());
  m_book.ShowSelectedPhrase();
  TransferToControls();
  update(m_textArea);
  FocusPhraseList();
}

void CWendaroDlg::OnPlay() {
  if (!m_phraseShown) return;
  if (m_phraseList->count() == 0) return;
  m_player.Stop();
  m_player.Start();
}

void CWendaroDlg::OnFirstFormClicked() {
  m_book.SetJapaneseForm(true);
  Switch(1036)->show();
  Switch(1035)->hide();
  OnPhraseSelected();
}

void CWendaroDlg::OnSecondFormClicked() {
  m_book.SetJapaneseForm(false);
  Switch(1036)->hide();
  Switch(1035)->show();
  OnPhraseSelected();
}

void CWendaroDlg::LoadClip(std::int32_t phrase) {
  std::int32_t currentClip = m_book.CurrentClip();
  lexoria::sound::LoadClip(
      phrase, m_player, currentClip, [this](std::string_view text) { ShowMessage(text); }, m_book.Folders().data);
  m_book.SetCurrentClip(currentClip);
}
