#include "data/phrasebook.h"

namespace lexoria {
// Interface first; the operations follow.
PhraseBook::PhraseBook(PhraseBookHost& host) : host_(host) {}
PhraseBook::~PhraseBook() = default;
}  // namespace lexoria
