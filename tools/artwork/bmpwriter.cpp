// SPDX-License-Identifier: GPL-3.0-or-later
#include "bmpwriter.h"

#include <QFile>

#include <cstdint>
#include <vector>

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(uint8_t(v));
  out.push_back(uint8_t(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

}  // namespace

// Written by hand rather than with QImage::save so that the header (no
// resolution guesswork, no colour table) is the same on every Qt version.
bool WriteBmp24(const QImage& source, const QString& path) {
  const QImage img = source.convertToFormat(QImage::Format_RGB32);
  const uint32_t w = uint32_t(img.width());
  const uint32_t h = uint32_t(img.height());
  const uint32_t stride = (w * 3 + 3) & ~3u;
  const uint32_t pixelBytes = stride * h;
  std::vector<uint8_t> out;
  out.reserve(54 + pixelBytes);
  out.push_back('B');
  out.push_back('M');
  Put32(out, 54 + pixelBytes);
  Put32(out, 0);
  Put32(out, 54);
  Put32(out, 40);
  Put32(out, w);
  Put32(out, h);
  Put16(out, 1);
  Put16(out, 24);
  Put32(out, 0);
  Put32(out, pixelBytes);
  Put32(out, 2835);  // 72 dots per inch
  Put32(out, 2835);
  Put32(out, 0);
  Put32(out, 0);
  for (uint32_t row = 0; row < h; ++row) {
    const QRgb* line = reinterpret_cast<const QRgb*>(img.constScanLine(int(h - 1 - row)));
    for (uint32_t x = 0; x < w; ++x) {
      out.push_back(uint8_t(qBlue(line[x])));
      out.push_back(uint8_t(qGreen(line[x])));
      out.push_back(uint8_t(qRed(line[x])));
    }
    for (uint32_t pad = w * 3; pad < stride; ++pad) out.push_back(0);
  }
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  return file.write(reinterpret_cast<const char*>(out.data()), qint64(out.size())) == qint64(out.size());
}
