// Draws every bitmap and the icon of the program into the folder given as the
// only argument. Same fonts and same code give the same bytes, so a test can
// regenerate the committed files and compare.
#include "artwork.h"
#include "bmpwriter.h"
#include "painting.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>

namespace {
bool Save(const QDir& dir, int id, const char* stem, const QImage& img) {
  const QString name = QStringLiteral("%1_%2.bmp").arg(id).arg(QString::fromUtf8(stem));
  if (WriteBmp24(img, dir.filePath(name))) return true;
  std::fprintf(stderr, "cannot write %s\n", qPrintable(dir.filePath(name)));
  return false;
}
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
  bool ok = Save(dir, 1129, "skin", DrawSkin());
  ok = Save(dir, 149, "list_texture", DrawListTexture()) && ok;
  ok = Save(dir, 160, "switch_kanji", DrawSwitch(true)) && ok;
  ok = Save(dir, 161, "switch_kana", DrawSwitch(false)) && ok;
  ok = Save(dir, 189, "about_background", DrawAboutBackground()) && ok;
  ok = Save(dir, 146, "icon", DrawIcon()) && ok;
  for (const ButtonStrip& strip : kButtonStrips) ok = Save(dir, strip.id, strip.stem, DrawButtonStrip(strip)) && ok;
  return ok ? 0 : 1;
}
