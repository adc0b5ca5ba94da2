// SPDX-License-Identifier: GPL-3.0-or-later
// The four forms of the phrase shown, as a traveller would paste them: no
// slot brackets, carriage returns or byte-order marks.
#pragma once

#include <QString>

#include "data/phrasebook.h"

struct PhraseForms {
  QString english;
  QString japanese;  // the kanji-kana rendering
  QString kana;      // the kana-only rendering
  QString romaji;    // the pronunciation
  // The Japanese in the form the window shows now.
  QString shown;

  bool Empty() const { return english.isEmpty() && japanese.isEmpty() && kana.isEmpty() && romaji.isEmpty(); }
  // The four lines: English, Japanese, kana, romaji.
  QString All() const;
};

// Empty when no phrase is shown (none yet, or the last lookup failed).
PhraseForms ShownForms(const lexoria::PhraseBook& book);
