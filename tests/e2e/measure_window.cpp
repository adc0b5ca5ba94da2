// SPDX-License-Identifier: GPL-3.0-or-later
// Measures the window in a screenshot taken at a scale factor: its size, that
// it is still shaped (the root shows through its cut corners), and how much
// detail its artwork carries beyond 1x (detail.h: 0 for a blown-up 1x
// picture).
// usage: measure_window SCREENSHOT X Y WIDTH HEIGHT SCALE [MIN_DETAIL]
// Prints one line per measure; exits 1 when a check fails.
#include "app/maintemplate.h"
#include "detail.h"
#include "toolkit/dialogtemplate.h"

#include <QCoreApplication>
#include <QImage>
#include <QRect>

#include <cmath>
#include <cstdio>

namespace {
struct Region {
  const char* name;
  QRect oneX;  // in the window's 1x pixels, clear of every control
};

// Artwork the window system draws straight from the skin.
constexpr Region kRegions[] = {
    {"title", QRect(126, 18, 214, 34)},
    {"subtitle", QRect(364, 22, 144, 28)},
    {"left panel", QRect(20, 112, 102, 220)},
    {"sun and mountain", QRect(556, 40, 114, 66)},
    {"category buttons", QRect(552, 122, 120, 370)},
    {"footer links", QRect(52, 510, 420, 22)},
};

QRect Scaled(const QRect& r, double scale) {
  return QRect(int(std::lround(r.x() * scale)), int(std::lround(r.y() * scale)), int(std::lround(r.width() * scale)),
               int(std::lround(r.height() * scale)));
}

bool Differs(QRgb a, QRgb b) { return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) > 24; }
}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc < 7) {
    std::fprintf(stderr, "usage: measure_window SCREENSHOT X Y WIDTH HEIGHT SCALE [MIN_DETAIL]\n");
    return 2;
  }
  const QImage shot = QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_RGB32);
  const QRect window(atoi(argv[2]), atoi(argv[3]), atoi(argv[4]), atoi(argv[5]));
  const double scale = atof(argv[6]);
  const double minDetail = argc > 7 ? atof(argv[7]) : -1;
  if (shot.isNull() || !shot.rect().contains(window)) {
    std::printf("window %d,%d %dx%d not inside the screenshot\n", window.x(), window.y(), window.width(),
                window.height());
    return 1;
  }
  bool ok = true;
  // The window's 1x size is its template's, in pixels.
  const QSize oneX = lexoria::DialogSizeToPixels(lexoria::MainTemplate().size);
  const QSize expected(int(std::lround(oneX.width() * scale)), int(std::lround(oneX.height() * scale)));
  std::printf("window %dx%d, expected %dx%d\n", window.width(), window.height(), expected.width(), expected.height());
  ok = ok && window.size() == expected;

  // Shaped: the cut corners show the root behind, the middle of the rim is
  // the window's own.
  const QImage win = shot.copy(window);
  const QRgb root = shot.pixel(0, 0);
  const int cornerIn = int(std::lround(4 * scale));
  const bool cornersCut = win.pixel(0, 0) == root && win.pixel(win.width() - 1, win.height() - 1) == root &&
                          win.pixel(cornerIn / 2, win.height() - 1 - cornerIn / 2) == root;
  const bool rimShown = Differs(win.pixel(win.width() / 2, cornerIn * 2), root);
  std::printf("shaped: corners cut %s, rim shown %s\n", cornersCut ? "yes" : "no", rimShown ? "yes" : "no");
  ok = ok && cornersCut && rimShown;

  for (const Region& region : kRegions) {
    const double detail = DetailRmse(win.copy(Scaled(region.oneX, scale)));
    const bool enough = detail >= minDetail;
    std::printf("detail %-18s %.4f%s\n", region.name, detail, enough ? "" : "  (too little)");
    ok = ok && enough;
  }
  std::printf("%s\n", ok ? "ok" : "FAILED");
  return ok ? 0 : 1;
}
