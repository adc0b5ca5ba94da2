// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/dialogtemplate.h"

namespace lexoria {

namespace {
// value * numerator / denominator rounded half away from zero, as the
// platform's integer scaling does.
int Scale(int value, int numerator, int denominator) {
  const long long product = static_cast<long long>(value) * numerator;
  const long long half = denominator / 2;
  return static_cast<int>(product >= 0 ? (product + half) / denominator : -((-product + half) / denominator));
}
}  // namespace

int DialogUnitsToPixelsX(int units) { return Scale(units, 6, 4); }
int DialogUnitsToPixelsY(int units) { return Scale(units, 13, 8); }

QRect DialogRectToPixels(const QRect& units) {
  const int left = DialogUnitsToPixelsX(units.x());
  const int top = DialogUnitsToPixelsY(units.y());
  const int right = DialogUnitsToPixelsX(units.x() + units.width());
  const int bottom = DialogUnitsToPixelsY(units.y() + units.height());
  return QRect(left, top, right - left, bottom - top);
}

QSize DialogSizeToPixels(const QSize& units) {
  return QSize(DialogUnitsToPixelsX(units.width()), DialogUnitsToPixelsY(units.height()));
}

}  // namespace lexoria
