// SPDX-License-Identifier: GPL-3.0-or-later
// The show-to-a-local card: F11 or a double-click on the Japanese.
#include <QScreen>
#include <QStringList>

#include "app/learning.h"
#include "app/phraseforms.h"
#include "app/showcard.h"
#include "app/wendarodlg.h"
#include "sound/tempostretch.h"

void CWendaroDlg::OnShowCard() {
  const PhraseForms forms = ShownForms(book_);
  if (forms.shown.isEmpty()) return;
  if (card_ == nullptr) {
    card_ = new CShowCard(this);
    connect(card_, &CShowCard::playRequested, this, [this] { PlayShown(1.0f); });
    connect(card_, &CShowCard::playSlowlyRequested, this, [this] { PlayShown(lexoria::sound::kSlowTempo); });
    connect(card_, &CShowCard::furiganaToggled, this, [this] {
      if (learning_ == nullptr || !learning_->FuriganaAvailable()) return;
      learning_->SetCardFuriganaOn(!learning_->CardFuriganaOn());
      OnShowCard();
    });
  }
  // The kana spells out the kanji form; the kana form needs no second line.
  // Furigana, where the card has them on, spell the words in place instead.
  std::optional<lexoria::RubyText> readings;
  if (learning_ != nullptr && learning_->CardFuriganaOn()) readings = learning_->ReadingsOf(forms.shown);
  const bool kanaBelow = book_.JapaneseForm() && forms.kana != forms.shown && !readings;
  card_->SetTexts(forms.shown, kanaBelow ? forms.kana : QString(), forms.english, japaneseFont_, latinFont_);
  // The card is painted: a screen reader hears what it shows from these.
  card_->setAccessibleName(QStringLiteral("Phrase card"));
  QStringList heard{forms.shown};
  if (kanaBelow) heard << forms.kana;
  if (!forms.english.isEmpty()) heard << forms.english;
  card_->setAccessibleDescription(heard.join(QLatin1Char('\n')));
  card_->SetReadings(readings);
  // On the main window's screen, at its size before the window system says
  // so: the Japanese is fitted to it.
  // (Wayland takes the screen, not the position, as the output to fill.)
  card_->setScreen(screen());
  card_->setGeometry(screen()->geometry());
  card_->showFullScreen();
  card_->raise();
  card_->activateWindow();
  card_->setFocus(Qt::ActiveWindowFocusReason);
}
