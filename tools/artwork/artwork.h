// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "buttontable.h"

#include <QImage>
#include <QString>

class QDir;

// The pictures, each at its exact resource size times scale (1 or 2).
QImage DrawSkin(int scale);             // 1129, 725 x 553
QImage DrawListTexture(int scale);      // 149, 170 x 86
QImage DrawAboutBackground(int scale);  // 189, 496 x 412
QImage DrawButtonStrip(const ButtonStrip& strip, int scale);
QImage DrawSwitch(bool kanji, int scale);  // 160 (kanji and kana), 161 (kana only), 20 x 20
QImage DrawIcon(int scale);                // 146, 64 x 64

// The desktop icon theme's sizes, in pixels, and the application icon drawn
// at one of them.
inline constexpr int kHicolorSizes[] = {16, 24, 32, 48, 64, 128, 256};
QImage DrawAppIcon(int px);
// Writes icons/hicolor/<N>x<N>/apps/<appId>.png under dir for every size.
bool SaveHicolorIcons(const QDir& dir, const QString& appId);
