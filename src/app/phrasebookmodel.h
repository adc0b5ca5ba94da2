// SPDX-License-Identifier: GPL-3.0-or-later
// PhraseBookModel: the window's model, the PhraseBook (src/data) seen
// through change signals.
//
// How data flows: a handler runs an operation here (the PhraseBook's own of
// the same name). The book does its work without calling out and records
// what changed; once it has returned, the model takes the changes and emits
// one signal per change, in the order they happened: listRefilled (the
// lines and the selection are new), phraseShown (the four exchanged values
// changed), clipWanted (the recording of a phrase is needed) and
// messageRaised (the user must be told a fixed text). The window reacts to
// them; nothing here knows the window. Reads and plain setters go to Book().
#pragma once

#include <QObject>
#include <cstddef>
#include <cstdint>
#include <string>

#include "data/phrasebook.h"

class PhraseBookModel : public QObject {
  Q_OBJECT

 public:
  explicit PhraseBookModel(QObject* parent = nullptr) : QObject(parent) {}

  lexoria::PhraseBook& Book() { return book_; }
  const lexoria::PhraseBook& Book() const { return book_; }

  // --- Operations: the book's, then its changes as signals -----------------
  int LoadEnglishRange(std::int32_t first, std::int32_t last);
  void LoadAllEnglish();
  // tellWhenNone false: an empty result is only an empty list (while typing).
  void SearchPhrases(bool tellWhenNone = true);
  void ShowSelectedPhrase();
  bool ListFavourites();
  bool ShowFavourites();
  void ToggleFavourite();
  lexoria::RelatedResult ShowRelatedPhrasesOf(std::int32_t source);
  void ClearList();
  bool ReplaceLineText(std::size_t index, std::u16string text);

 signals:
  void listRefilled();
  void phraseShown();
  void clipWanted(std::int32_t phrase);
  void messageRaised(const std::string& text);

 private:
  // Emits the changes the last operation recorded.
  void Publish();

  lexoria::PhraseBook book_;
};
