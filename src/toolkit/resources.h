#pragma once
// Bitmaps and the icon of the program, looked up by their numeric resource
// ids. The pictures are embedded (res/resources.qrc); a missing id gives a
// null image or icon, which every caller treats as "no picture".
#include <QIcon>
#include <QImage>
#include <QString>

namespace lexoria {

// Resource path of bitmap id, for example ":/lexoria/bitmaps/1129.bmp".
QString BitmapResourcePath(int id);

// The bitmap as a 32-bit image (RGB32), or a null image.
QImage LoadBitmapResource(int id);

// The icon, or a null icon.
QIcon LoadIconResource(int id);

}  // namespace lexoria
