// SPDX-License-Identifier: GPL-3.0-or-later
// Furigana: the readings file, the switch (Ctrl+K and the menu on the
// Japanese text) and what the Japanese text and the card draw with.
#include <QAction>
#include <QMenu>

#include "app/learning.h"
#include "app/wendarodlg.h"
#include "controls/rubystatic.h"
#include "controls/rubytext.h"

namespace {

// Spaces around the sentence are no part of it.
QString Bare(const QString& text) {
  QString bare = text.trimmed();
  while (bare.endsWith(QChar(0x3000))) bare.chop(1);
  while (bare.startsWith(QChar(0x3000))) bare.remove(0, 1);
  return bare;
}

}  // namespace

void CLearning::LoadReadings() {
  // A missing or unreadable file leaves furigana off and the switch
  // disabled; it is never an error to report.
  lexoria::LoadReadings(dlg_.book_.Folders().DataFile(lexoria::kReadingsFileName), readings_);
}

std::optional<lexoria::RubyText> CLearning::ReadingsOfPhrase(std::int32_t phrase) const {
  const auto it = readings_.find(phrase);
  if (it == readings_.end()) return std::nullopt;
  return it->second;
}

std::optional<lexoria::RubyText> CLearning::ReadingsOf(const QString& shown) const {
  const lexoria::PhraseBook& book = dlg_.book_;
  // Furigana spell the kanji rendering; the kana one needs none.
  if (!book.JapaneseForm() || !book.PhraseSelected()) return std::nullopt;
  std::optional<lexoria::RubyText> ruby = ReadingsOfPhrase(book.CurrentPhrase());
  // Readings written for another sentence than the one on show are not drawn.
  if (!ruby || Bare(PlainTextOf(*ruby)) != Bare(shown)) return std::nullopt;
  return ruby;
}

void CLearning::SetFuriganaOn(bool on) {
  furiganaOn_ = on && FuriganaAvailable();
  settings_->setValue(QStringLiteral("furigana/window"), furiganaOn_);
  settings_->sync();
  if (auto* text = qobject_cast<CRubyStatic*>(dlg_.japanese_)) text->SetFuriganaShown(furiganaOn_);
}

void CLearning::OnToggleFurigana() {
  if (!FuriganaAvailable()) return;
  SetFuriganaOn(!furiganaOn_);
}

void CLearning::SetCardFuriganaOn(bool on) {
  cardFuriganaOn_ = on && FuriganaAvailable();
  settings_->setValue(QStringLiteral("furigana/card"), cardFuriganaOn_);
  settings_->sync();
}

void CLearning::AddFuriganaAction(QMenu& menu) {
  menu.addSeparator();
  QAction* action = menu.addAction(QStringLiteral("Show furigana\tCtrl+K"));
  action->setCheckable(true);
  action->setChecked(furiganaOn_);
  // No readings installed: nothing to switch on.
  action->setEnabled(FuriganaAvailable());
  connect(action, &QAction::toggled, this, &CLearning::SetFuriganaOn);
}
