// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/phraserange.h"

#include <algorithm>

#include "data/phraserangetable.h"

namespace lexoria {

std::optional<PhraseRange> PhraseRangeOf(std::int32_t key) {
  const auto table = CategoryRangeTable();
  const auto it = std::find_if(table.begin(), table.end(), [key](const RangeRow& row) { return row.key == key; });
  if (it == table.end()) return std::nullopt;
  return it->range;
}

}  // namespace lexoria
