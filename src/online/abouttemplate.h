// SPDX-License-Identifier: GPL-3.0-or-later
// Dialog template 182, the about box, and the looks of its labels.
#pragma once

#include "toolkit/dialogtemplate.h"

#include <QColor>
#include <span>

namespace lexoria::online {

inline constexpr int kAboutTemplateId = 182;
inline constexpr int kAboutBackgroundBitmap = 189;
inline constexpr int kAboutOkBitmap = 186;
inline constexpr int kAboutOkId = 1056;

// 333 x 273 dialog units, no caption, no frame.
const DialogTemplate& AboutTemplate();

struct LabelLook {
  int id;
  QColor colour;
  bool bold;
  int size;
};

// Colour, weight and size of the four labels, set at initialisation.
std::span<const LabelLook> AboutLabelLooks();

// Credits of the recordings' voice, a small line under the OK button.
extern const char kVoiceCredits[];

}  // namespace lexoria::online
