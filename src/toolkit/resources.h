// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Bitmaps and the icon of the program, looked up by their numeric resource
// ids. The pictures are embedded (res/resources.qrc) at 1x and at 2x; a
// missing id gives a null image or icon, which every caller treats as "no
// picture".
#include <QIcon>
#include <QImage>
#include <QString>

namespace lexoria {

// Resource path of bitmap id, for example ":/lexoria/bitmaps/1129.bmp", or
// ":/lexoria/bitmaps/1129@2x.bmp" for the double-resolution drawing.
QString BitmapResourcePath(int id, bool twoX = false);

// The 1x bitmap as a 32-bit image (RGB32), or a null image. Its pixels are
// the ones layout and window shapes are measured in.
QImage LoadBitmapResource(int id);

// The bitmap for a device pixel ratio, as a 32-bit image carrying that
// ratio: the 1x picture up to ratio 1, the 2x picture at ratio 2, and for
// any other ratio the 2x picture smoothly scaled to the exact device size,
// so that painters draw it pixel for pixel. Without a 2x picture, the 1x one.
// Either way the image covers the 1x size in device-independent pixels.
QImage LoadBitmapForRatio(int id, qreal ratio);

// The icon with its 1x and 2x pictures, or a null icon.
QIcon LoadIconResource(int id);

}  // namespace lexoria
