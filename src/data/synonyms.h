// SPDX-License-Identifier: GPL-3.0-or-later
// The synonym list (content/synonyms.txt): groups of words and short
// phrases that mean the same to a traveller, each member cut into words as
// the search cuts a query.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lexoria {

using SynonymMember = std::vector<std::u16string>;  // its words
using SynonymGroup = std::vector<SynonymMember>;

// One group a line, members separated by commas; "#" starts a comment line,
// blank lines are skipped, a line of fewer than two members is ignored.
std::vector<SynonymGroup> ParseSynonyms(std::string_view text);

}  // namespace lexoria
