// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How much detail a picture carries beyond half its resolution: the RMSE
// (0..1) of the picture against its own 2x point-downscale blown up again.
// 0 for a 1x picture blown up to 2x; natively drawn 2x text gives about 0.15.
#include <QImage>

#include <cmath>

inline double DetailRmse(const QImage& source) {
  const QImage img = source.convertToFormat(QImage::Format_RGB32);
  double sum = 0;
  const int w = img.width() & ~1;
  const int h = img.height() & ~1;
  for (int y = 0; y < h; ++y) {
    const QRgb* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
    const QRgb* kept = reinterpret_cast<const QRgb*>(img.constScanLine(y & ~1));
    for (int x = 0; x < w; ++x) {
      const QRgb a = line[x];
      const QRgb b = kept[x & ~1];
      const double dr = qRed(a) - qRed(b), dg = qGreen(a) - qGreen(b), db = qBlue(a) - qBlue(b);
      sum += dr * dr + dg * dg + db * db;
    }
  }
  return w * h == 0 ? 0 : std::sqrt(sum / (3.0 * w * h)) / 255.0;
}
