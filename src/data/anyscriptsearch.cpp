// SPDX-License-Identifier: GPL-3.0-or-later
// The second half of the key-word search: template lines found by the
// romaji or the Japanese of one of their phrases.
#include <memory>
#include <vector>

#include "data/anyscript.h"
#include "data/phrasebook.h"

namespace lexoria {

bool PhraseBook::AddAnyScriptMatches(const std::vector<TemplateLine>& templateLines, std::u16string_view keyWord) {
  const AnyScriptKey key(keyWord, exactMatch_ != 0);
  if (key.Empty() || !japaneseOpen_) return false;

  // The list line of a phrase inside a group is its English text (the
  // template with its own choice in the slot), found in the phrase map.
  std::vector<const std::u16string*> englishOf(static_cast<std::size_t>(kPhraseCount) + 1, nullptr);
  for (const auto& [text, number] : map_) {
    const std::int32_t n = ParseNumberText(number);
    if (n >= 1 && n <= kPhraseCount) englishOf[static_cast<std::size_t>(n)] = &text;
  }

  bool added = false;
  for (const TemplateLine& line : templateLines) {
    if (line.listed) continue;
    for (std::int32_t phrase = line.head; phrase < line.head + line.size; ++phrase) {
      if (!key.Matches(ReadJapaneseRecord(phrase))) continue;
      std::u16string templateText = WidenLatin1(line.text);
      const bool ownChoice =
          phrase != line.head && phrase <= kPhraseCount && englishOf[static_cast<std::size_t>(phrase)] != nullptr;
      AddItem(ownChoice ? std::make_shared<CItem>(std::move(templateText), *englishOf[static_cast<std::size_t>(phrase)])
                        : std::make_shared<CItem>(std::move(templateText)));
      added = true;
      break;  // one line per template line, as the English search lists it
    }
  }
  return added;
}

}  // namespace lexoria
