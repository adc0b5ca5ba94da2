// The keyboard focus ring of the controls that paint themselves: a dark
// line with a light one inside it, each a whole number of device pixels,
// drawn on the device pixel grid so it stays sharp at any scale factor.
#pragma once

#include <QColor>
#include <QPainter>
#include <QRect>

namespace lexoria {

inline const QColor kFocusRingOuter(0x1B, 0x26, 0x48);  // the skin's indigo ink
inline const QColor kFocusRingInner(0xFF, 0xFF, 0xFF);

// Width of each of the two lines in device pixels at a device pixel ratio.
int FocusRingLineWidth(qreal ratio);

// Draws the ring just inside area (logical pixels) of the painter's device.
void DrawFocusRing(QPainter& painter, const QRect& area);

}  // namespace lexoria
