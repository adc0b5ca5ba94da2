// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/phrasebookmodel.h"

#include <utility>
#include <vector>

int PhraseBookModel::LoadEnglishRange(std::int32_t first, std::int32_t last) {
  const int loaded = book_.LoadEnglishRange(first, last);
  Publish();
  return loaded;
}

void PhraseBookModel::LoadAllEnglish() {
  book_.LoadAllEnglish();
  Publish();
}

void PhraseBookModel::SearchPhrases(bool tellWhenNone) {
  book_.SearchPhrases(tellWhenNone);
  Publish();
}

void PhraseBookModel::ShowSelectedPhrase() {
  book_.ShowSelectedPhrase();
  Publish();
}

bool PhraseBookModel::ListFavourites() {
  const bool listed = book_.ListFavourites();
  Publish();
  return listed;
}

bool PhraseBookModel::ShowFavourites() {
  const bool show = book_.ShowFavourites();
  Publish();
  return show;
}

void PhraseBookModel::ToggleFavourite() {
  book_.ToggleFavourite();
  Publish();
}

lexoria::RelatedResult PhraseBookModel::ShowRelatedPhrasesOf(std::int32_t source) {
  const lexoria::RelatedResult result = book_.ShowRelatedPhrasesOf(source);
  Publish();
  return result;
}

void PhraseBookModel::ClearList() {
  book_.ClearList();
  Publish();
}

bool PhraseBookModel::ReplaceLineText(std::size_t index, std::u16string text) {
  const bool replaced = book_.ReplaceLineText(index, std::move(text));
  Publish();
  return replaced;
}

void PhraseBookModel::Publish() {
  using Kind = lexoria::BookChange::Kind;
  const std::vector<lexoria::BookChange> changes = book_.TakeChanges();
  for (std::size_t i = 0; i < changes.size(); ++i) {
    const lexoria::BookChange& change = changes[i];
    switch (change.kind) {
      case Kind::ListRefilled:
        // Two refills in a row show the same lines: one is enough.
        if (i + 1 < changes.size() && changes[i + 1].kind == Kind::ListRefilled) break;
        emit listRefilled();
        break;
      case Kind::PhraseShown: emit phraseShown(); break;
      case Kind::ClipWanted: emit clipWanted(change.phrase); break;
      case Kind::Message: emit messageRaised(change.text); break;
    }
  }
}
