// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/spelling.h"

#include <algorithm>
#include <vector>

namespace lexoria {

std::size_t EditDistance(std::u16string_view a, std::u16string_view b, std::size_t limit) {
  const std::size_t gap = a.size() > b.size() ? a.size() - b.size() : b.size() - a.size();
  if (gap > limit) return limit + 1;
  const std::size_t width = b.size() + 1;
  // Three rows: the one before last for swaps.
  std::vector<std::size_t> before(width), last(width), row(width);
  for (std::size_t j = 0; j < width; ++j) last[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    row[0] = i;
    std::size_t best = row[0];
    for (std::size_t j = 1; j < width; ++j) {
      const std::size_t cost = a[i - 1] == b[j - 1] ? 0 : 1;
      row[j] = std::min({last[j] + 1, row[j - 1] + 1, last[j - 1] + cost});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) row[j] = std::min(row[j], before[j - 2] + 1);
      best = std::min(best, row[j]);
    }
    if (best > limit) return limit + 1;
    std::swap(before, last);
    std::swap(last, row);
  }
  return std::min(last[b.size()], limit + 1);
}

std::size_t AllowedEdits(std::size_t length) { return length < 4 ? 0 : length < 7 ? 1 : 2; }

}  // namespace lexoria
