// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/phraseforms.h"

#include "toolkit/strings.h"

namespace {

QString Clean(std::u16string_view stored, bool dropBrackets) {
  QString text = lexoria::ToQString(stored);
  // Fixed-size fields end at their terminator.
  if (const qsizetype end = text.indexOf(QChar(0)); end >= 0) text.truncate(end);
  text.remove(QChar(0xFEFF));
  text.remove(QLatin1Char('\r'));
  text.remove(QLatin1Char('\n'));
  text.replace(QLatin1Char('\t'), QLatin1Char(' '));
  if (dropBrackets) {
    text.remove(QLatin1Char('['));
    text.remove(QLatin1Char(']'));
  }
  return text.trimmed();
}

}  // namespace

QString PhraseForms::All() const {
  return english + QLatin1Char('\n') + japanese + QLatin1Char('\n') + kana + QLatin1Char('\n') + romaji;
}

PhraseForms ShownForms(const lexoria::PhraseBook& book) {
  PhraseForms forms;
  // Entering search mode empties the texts but keeps the phrase found last.
  if (!book.PhraseSelected() || (book.JapaneseText().empty() && book.PronunciationText().empty())) return forms;
  const lexoria::JapaneseRecord& record = book.CurrentJapaneseRecord();
  forms.english = Clean(book.SelectedLineText(), true);
  forms.japanese = Clean(record.first, false);
  forms.kana = Clean(record.second, false);
  forms.romaji = Clean(record.pronunciation, false);
  forms.shown = Clean(book.JapaneseText(), false);
  return forms;
}
