// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/maintemplate.h"

#include <array>

namespace lexoria {

namespace {

using K = ControlKind;
using namespace style;

constexpr std::uint32_t kButton = kOwnerDraw;
constexpr std::uint32_t Static(std::uint32_t word) { return word << kStaticStyleShift; }

// Template 1202, rectangles in dialog units (x, y, width, height).
constexpr std::array kControls = {
    ControlSpec{1101, K::PushButton, QRect(368, 75, 83, 18), kButton, "Basic"},
    ControlSpec{1102, K::PushButton, QRect(368, 98, 83, 18), kButton, "Travel"},
    ControlSpec{1103, K::PushButton, QRect(368, 121, 83, 18), kButton, "Logding"},
    ControlSpec{1104, K::PushButton, QRect(368, 145, 83, 18), kButton, "Food"},
    ControlSpec{1105, K::PushButton, QRect(368, 168, 83, 18), kButton, "Social"},
    ControlSpec{1106, K::PushButton, QRect(368, 191, 83, 18), kButton, "Business"},
    ControlSpec{1107, K::PushButton, QRect(368, 214, 83, 18), kButton, "SightSeeing"},
    ControlSpec{1108, K::PushButton, QRect(368, 238, 83, 18), kButton, "Shopping"},
    ControlSpec{1109, K::PushButton, QRect(368, 261, 83, 18), kButton, "Emergency"},
    ControlSpec{1110, K::PushButton, QRect(368, 285, 83, 18), kButton, "Question"},
    ControlSpec{1111, K::ListBox, QRect(115, 118, 213, 114),
                kNotSorted | kNotify | kNoIntegralHeight | kVScroll | kHScroll, ""},
    ControlSpec{1115, K::ComboBox, QRect(200, 136, 82, 16), kHidden, ""},
    ControlSpec{1116, K::PushButton, QRect(303, 63, 19, 13), kButton, ""},
    ControlSpec{1117, K::ComboBox, QRect(183, 89, 145, 78), kNotSorted | kVScroll, ""},
    ControlSpec{1018, K::StaticText, QRect(115, 89, 65, 12), 0, ""},
    ControlSpec{1019, K::StaticText, QRect(115, 274, 213, 32), kNotify | Static(ss::kCenter), ""},
    ControlSpec{1020, K::EditBox, QRect(180, 89, 148, 14), kBorder | kAutoHScroll, ""},
    ControlSpec{1021, K::PushButton, QRect(21, 45, 44, 13), kButton, ""},
    ControlSpec{1022, K::PushButton, QRect(199, 33, 57, 9), kButton, ""},
    ControlSpec{1023, K::PushButton, QRect(273, 63, 19, 13), kButton, ""},
    ControlSpec{1024, K::CheckBox, QRect(235, 105, 100, 11), kAutoCheckBox | kNotify, "Exact match only"},
    ControlSpec{1025, K::StaticText, QRect(115, 105, 86, 12), 0, ""},
    ControlSpec{1026, K::PushButton, QRect(136, 33, 57, 9), kButton, ""},
    ControlSpec{1030, K::PushButton, QRect(429, 17, 12, 11), kButton, ""},
    ControlSpec{1031, K::PushButton, QRect(96, 274, 14, 12), kButton, ""},
    ControlSpec{1033, K::StaticText, QRect(115, 235, 213, 36), kNotify | Static(ss::kCenter), ""},
    ControlSpec{1035, K::BitmapStatic, QRect(96, 235, 17, 14), kBorder | kNotify, ""},
    ControlSpec{1036, K::BitmapStatic, QRect(96, 235, 17, 14), kBorder | kNotify, ""},
    ControlSpec{1041, K::PushButton, QRect(441, 17, 12, 11), kButton, ""},
    ControlSpec{1046, K::PushButton, QRect(33, 315, 70, 8), kButton, "Update"},
    ControlSpec{1047, K::PushButton, QRect(118, 315, 94, 8), kButton, "Tech"},
    ControlSpec{1048, K::PushButton, QRect(225, 315, 115, 8), kButton, "Report"},
    ControlSpec{1050, K::PushButton, QRect(26, 18, 40, 10), kButton, "About"},
    ControlSpec{1059, K::StaticText, QRect(287, 52, 31, 10), 0, "1 . 5 . 2"},
};

constexpr DialogTemplate kMainTemplate{kMainTemplateId, QSize(489, 376), kControls, "Lexoria_Japanese"};

}  // namespace

const DialogTemplate& MainTemplate() { return kMainTemplate; }

}  // namespace lexoria
