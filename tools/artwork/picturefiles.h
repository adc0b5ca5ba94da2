// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QDir>
#include <QImage>
#include <QSize>
#include <QString>

#include <functional>

// Every picture is drawn at each of these scales. The 1x file has the plain
// name; a 2x file gains "@2x" before its extension, the name Qt's image and
// icon look-ups take for the double-resolution variant.
inline constexpr int kArtworkScales[] = {1, 2};

// Draws a picture at a scale; NewCanvas (painting.h) gives the canvas.
using DrawAtScale = std::function<QImage(int scale)>;

// "1129_skin.bmp" at scale 2 is "1129_skin@2x.bmp".
QString ScaledFileName(const QString& fileName, int scale);

// The one call that adds a picture: draws it at every scale and writes the
// files into dir, BMP (24-bit) or PNG after fileName's extension. size is the
// 1x size; a drawing of any other size than size times its scale is refused.
// False, with a message on stderr, when a drawing or a file fails.
bool SavePicture(const QDir& dir, const QString& fileName, QSize size, const DrawAtScale& draw);
