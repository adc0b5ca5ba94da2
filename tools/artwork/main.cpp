// SPDX-License-Identifier: GPL-3.0-or-later
// Draws every bitmap and the icon of the program into the folder given as the
// only argument, at 1x and at 2x. Same fonts and same code give the same
// bytes, so a test can regenerate the committed files and compare.
#include "artwork.h"
#include "painting.h"
#include "picturefiles.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>

namespace {
QString Name(int id, const char* stem) { return QStringLiteral("%1_%2.bmp").arg(id).arg(QString::fromUtf8(stem)); }
}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: lexoria_artwork OUTPUT_FOLDER\n");
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (!LoadArtworkFonts()) {
    std::fprintf(stderr, "font files missing (fonts-liberation, fonts-ipaexfont)\n");
    return 1;
  }
  QDir dir(QString::fromLocal8Bit(argv[1]));
  if (!dir.exists() && !QDir().mkpath(dir.path())) return 1;
  bool ok = SavePicture(dir, Name(1129, "skin"), {725, 553}, DrawSkin);
  ok = SavePicture(dir, Name(149, "list_texture"), {170, 86}, DrawListTexture) && ok;
  ok = SavePicture(dir, Name(160, "switch_kanji"), {20, 20}, [](int scale) { return DrawSwitch(true, scale); }) && ok;
  ok = SavePicture(dir, Name(161, "switch_kana"), {20, 20}, [](int scale) { return DrawSwitch(false, scale); }) && ok;
  ok = SavePicture(dir, Name(189, "about_background"), {496, 412}, DrawAboutBackground) && ok;
  ok = SavePicture(dir, Name(146, "icon"), {64, 64}, DrawIcon) && ok;
  for (const ButtonStrip& strip : kButtonStrips) {
    ok = SavePicture(dir, Name(strip.id, strip.stem), {strip.width, strip.height},
                     [&strip](int scale) { return DrawButtonStrip(strip, scale); }) &&
         ok;
  }
  ok = SaveHicolorIcons(dir, QStringLiteral("example.lexoria.Japanese")) && ok;
  return ok ? 0 : 1;
}
