#pragma once
#include "buttontable.h"

#include <QImage>

// The pictures, each at its exact resource size.
QImage DrawSkin();             // 1129, 725 x 553
QImage DrawListTexture();      // 149, 170 x 86
QImage DrawAboutBackground();  // 189, 496 x 412
QImage DrawButtonStrip(const ButtonStrip& strip);
QImage DrawSwitch(bool kanji);  // 160 (kanji and kana), 161 (kana only), 20 x 20
QImage DrawIcon();              // 146, 64 x 64
