// SPDX-License-Identifier: GPL-3.0-or-later
// Compares the outline of the one window in two screenshots taken over a
// plain background (one under X11, one under Wayland): what is not
// background, found by filling from the screenshot's edges, cut to its
// bounding box. The outlines must have the same size and differ in at most
// the given share of the window's pixels.
// usage: compare_outline REFERENCE SHOT MAX_SHARE [EXPECTED_WIDTH EXPECTED_HEIGHT]
// Prints the sizes and the share; exits 1 when a check fails.
#include <QCoreApplication>
#include <QImage>
#include <QRect>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

struct Outline {
  QRect box;                 // in the screenshot
  std::vector<bool> inside;  // box.width() * box.height(), row by row
  long long count = 0;       // pixels inside
};

bool Background(QRgb pixel, QRgb ground) {
  return std::abs(qRed(pixel) - qRed(ground)) + std::abs(qGreen(pixel) - qGreen(ground)) +
             std::abs(qBlue(pixel) - qBlue(ground)) <=
         12;
}

// The background is what the edges' colour reaches; the rest is the window,
// whatever colours it has inside.
Outline OutlineOf(const QImage& shot) {
  const int w = shot.width(), h = shot.height();
  const QRgb ground = shot.pixel(0, 0);
  std::vector<bool> outside(static_cast<size_t>(w) * h, false);
  std::vector<int> stack;
  const auto push = [&](int x, int y) {
    const size_t i = static_cast<size_t>(y) * w + x;
    if (outside[i] || !Background(shot.pixel(x, y), ground)) return;
    outside[i] = true;
    stack.push_back(static_cast<int>(i));
  };
  for (int x = 0; x < w; ++x) push(x, 0), push(x, h - 1);
  for (int y = 0; y < h; ++y) push(0, y), push(w - 1, y);
  while (!stack.empty()) {
    const int i = stack.back();
    stack.pop_back();
    const int x = i % w, y = i / w;
    if (x > 0) push(x - 1, y);
    if (x + 1 < w) push(x + 1, y);
    if (y > 0) push(x, y - 1);
    if (y + 1 < h) push(x, y + 1);
  }
  int left = w, top = h, right = -1, bottom = -1;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      if (outside[static_cast<size_t>(y) * w + x]) continue;
      left = std::min(left, x), right = std::max(right, x);
      top = std::min(top, y), bottom = std::max(bottom, y);
    }
  }
  Outline outline;
  if (right < 0) return outline;
  outline.box = QRect(QPoint(left, top), QPoint(right, bottom));
  for (int y = top; y <= bottom; ++y) {
    for (int x = left; x <= right; ++x) {
      const bool in = !outside[static_cast<size_t>(y) * w + x];
      outline.inside.push_back(in);
      outline.count += in ? 1 : 0;
    }
  }
  return outline;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc < 4) {
    std::fprintf(stderr, "usage: compare_outline REFERENCE SHOT MAX_SHARE [EXPECTED_WIDTH EXPECTED_HEIGHT]\n");
    return 2;
  }
  const QImage reference = QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_RGB32);
  const QImage shot = QImage(QString::fromLocal8Bit(argv[2])).convertToFormat(QImage::Format_RGB32);
  const double maxShare = std::atof(argv[3]);
  if (reference.isNull() || shot.isNull()) {
    std::printf("cannot read the screenshots\n");
    return 1;
  }
  const Outline a = OutlineOf(reference);
  const Outline b = OutlineOf(shot);
  std::printf("reference outline %dx%d (%lld pixels), shot outline %dx%d (%lld pixels)\n", a.box.width(),
              a.box.height(), a.count, b.box.width(), b.box.height(), b.count);
  bool ok = a.count > 0 && b.count > 0;
  if (argc > 5) {
    const QSize expected(std::atoi(argv[4]), std::atoi(argv[5]));
    std::printf("expected %dx%d\n", expected.width(), expected.height());
    ok = ok && a.box.size() == expected && b.box.size() == expected;
  }
  if (!ok || a.box.size() != b.box.size()) {
    std::printf("outlines differ in size\n");
    return 1;
  }
  long long differing = 0;
  for (size_t i = 0; i < a.inside.size(); ++i) differing += a.inside[i] != b.inside[i] ? 1 : 0;
  const double share = static_cast<double>(differing) / static_cast<double>(a.count);
  std::printf("differing pixels %lld, %.4f%% of the window (at most %.4f%%)\n", differing, share * 100, maxShare * 100);
  return share <= maxShare ? 0 : 1;
}
