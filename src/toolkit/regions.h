// SPDX-License-Identifier: GPL-3.0-or-later
// Window regions: unions of rectangles and their exclusive-or, the two
// combinations the window shapes are built from.
#pragma once

#include <QRect>
#include <QRegion>
#include <span>

namespace lexoria {

QRegion RegionFromRects(std::span<const QRect> rects);
QRegion CombineOr(const QRegion& a, const QRegion& b);
QRegion CombineXor(const QRegion& a, const QRegion& b);

}  // namespace lexoria
