// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard focus ring of the controls that paint themselves: a deep
// vermilion band with a white line inside it, whole device pixels wide and
// on the device pixel grid, so it stays sharp at any scale factor and shows
// on the paper, the indigo and the red of the skin alike.
#pragma once

#include <QColor>
#include <QPainter>
#include <QRect>

namespace lexoria {

inline const QColor kFocusRingOuter(160, 44, 28);  // the artwork's deep vermilion
inline const QColor kFocusRingInner(255, 255, 255);

// One unit of the ring in device pixels at a device pixel ratio: the outer
// band is two units wide, the inner line one.
int FocusRingLineWidth(qreal ratio);

// Draws the ring just inside area (logical pixels) of the painter's device.
void DrawFocusRing(QPainter& painter, const QRect& area);

}  // namespace lexoria
