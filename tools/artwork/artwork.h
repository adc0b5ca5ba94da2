#pragma once
#include "buttontable.h"

#include <QImage>

// The pictures, each at its exact resource size times scale (1 or 2).
QImage DrawSkin(int scale);             // 1129, 725 x 553
QImage DrawListTexture(int scale);      // 149, 170 x 86
QImage DrawAboutBackground(int scale);  // 189, 496 x 412
QImage DrawButtonStrip(const ButtonStrip& strip, int scale);
QImage DrawSwitch(bool kanji, int scale);  // 160 (kanji and kana), 161 (kana only), 20 x 20
QImage DrawIcon(int scale);                // 146, 64 x 64
