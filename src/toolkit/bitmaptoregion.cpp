// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/bitmaptoregion.h"

#include "toolkit/regions.h"

#include <QRect>

#include <algorithm>
#include <vector>

namespace lexoria {
namespace {

struct Range {
  int low;
  int high;
};

// Black and white keys match inward only (they are at the ends of the
// scale); any other key matches a little wider on both sides.
Range ComponentRange(int c, std::uint32_t key) {
  if (key == kKeyBlack) return {c, std::min(255, c + 16)};
  if (key == kKeyWhite) return {c - 16, c};
  return {std::max(0, c - 17), std::min(255, c + 17)};
}

class RunBatches {
 public:
  RunBatches(int limit, RegionScanStats& stats) : limit_(limit), stats_(stats) { rects_.reserve(kRegionBatchGrowth); }

  void Add(const QRect& run) {
    if (rects_.size() == rects_.capacity()) rects_.reserve(rects_.capacity() + kRegionBatchGrowth);
    rects_.push_back(run);
    stats_.capacity = std::max(stats_.capacity, int(rects_.capacity()));
    ++stats_.runs;
    if (int(rects_.size()) >= limit_) Flush();
  }

  // Turns the batch into a region and ORs it into the result; an empty
  // batch still counts, as the last one may be.
  void Flush() {
    const QRegion batch = RegionFromRects(rects_);
    result_ = result_ ? CombineOr(*result_, batch) : batch;
    ++stats_.batches;
    rects_.clear();
  }

  QRegion Result() const { return result_.value_or(QRegion()); }

 private:
  int limit_;
  RegionScanStats& stats_;
  std::vector<QRect> rects_;
  std::optional<QRegion> result_;
};

}  // namespace

std::optional<QRegion> BitmapToRegionBatched(const QImage& bitmap, std::uint32_t keyColour, int mode, int batchLimit,
                                             RegionScanStats* stats) {
  RegionScanStats local;
  RegionScanStats& s = stats ? *stats : local;
  s = {};
  if (bitmap.isNull() || batchLimit < 1) return std::nullopt;
  const QImage img = bitmap.convertToFormat(QImage::Format_RGB32);
  if (img.isNull()) return std::nullopt;
  const int w = img.width();
  const int h = img.height();

  // Red against red: the key's lowest byte is its red component.
  const Range red = ComponentRange(int(keyColour & 0xFF), keyColour);
  const Range green = ComponentRange(int((keyColour >> 8) & 0xFF), keyColour);
  const Range blue = ComponentRange(int((keyColour >> 16) & 0xFF), keyColour);
  auto matches = [&](QRgb px) {
    const int r = qRed(px), g = qGreen(px), b = qBlue(px);
    return r >= red.low && r <= red.high && g >= green.low && g <= green.high && b >= blue.low && b <= blue.high;
  };

  RunBatches batches(batchLimit, s);
  const bool collectKey = mode == 0;
  for (int y = 0; y < h; ++y) {
    const QRgb* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
    for (int x = 0; x < w; ++x) {
      const int x0 = x;
      while (x < w && matches(line[x]) == collectKey) ++x;
      if (x > x0) batches.Add(QRect(x0, y, x - x0, 1));
      // The pixel that ended the run is of the other kind: no run starts there.
    }
  }
  batches.Flush();
  QRegion result = batches.Result();
  if (collectKey) result = CombineXor(result, QRegion(0, 0, w, h));
  return result;
}

std::optional<QRegion> BitmapToRegion(const QImage& bitmap, std::uint32_t keyColour, int mode, RegionScanStats* stats) {
  return BitmapToRegionBatched(bitmap, keyColour, mode, kRegionBatchLimit, stats);
}

}  // namespace lexoria
