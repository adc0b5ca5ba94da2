// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/regions.h"

namespace lexoria {

QRegion RegionFromRects(std::span<const QRect> rects) {
  // United one by one: the rectangles may overlap or come in any order.
  QRegion region;
  for (const QRect& rect : rects) region += rect;
  return region;
}

QRegion CombineOr(const QRegion& a, const QRegion& b) { return a.united(b); }

QRegion CombineXor(const QRegion& a, const QRegion& b) { return a.xored(b); }

}  // namespace lexoria
