// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/synonyms.h"

#include "data/searchwords.h"

namespace lexoria {

std::vector<SynonymGroup> ParseSynonyms(std::string_view text) {
  std::vector<SynonymGroup> groups;
  while (!text.empty()) {
    const std::size_t newline = text.find('\n');
    std::string_view line = text.substr(0, newline);
    text = newline == std::string_view::npos ? std::string_view{} : text.substr(newline + 1);
    const std::size_t start = line.find_first_not_of(" \t\r");
    if (start == std::string_view::npos || line[start] == '#') continue;
    SynonymGroup group;
    while (true) {
      const std::size_t comma = line.find(',');
      SynonymMember member;
      std::u16string text;
      if (!FromUtf8(line.substr(0, comma), text)) text.clear();  // the validator refuses such a line
      for (const SearchToken& token : SearchTokens(text)) member.push_back(token.text);
      if (!member.empty()) group.push_back(std::move(member));
      if (comma == std::string_view::npos) break;
      line = line.substr(comma + 1);
    }
    if (group.size() >= 2) groups.push_back(std::move(group));
  }
  return groups;
}

}  // namespace lexoria
