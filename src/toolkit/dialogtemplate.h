// SPDX-License-Identifier: GPL-3.0-or-later
// Dialog templates as data: one row per control, in dialog units, turned
// into pixels once when the dialog builds its controls.
//
// How data flows: a dialog keeps a static table of ControlSpec rows (id,
// kind, rectangle in dialog units, style bits, initial text). When it builds
// itself it walks the table in order, creates one widget per row at
// DialogRectToPixels(row.rect) and keeps it by id; the order of the table is
// the stacking and tab order of the controls.
#pragma once

#include <QRect>
#include <QString>
#include <cstdint>
#include <span>

namespace lexoria {

enum class ControlKind {
  PushButton,
  ListBox,
  ComboBox,  // drop-down list (the user picks, does not type)
  StaticText,
  BitmapStatic,
  EditBox,
  CheckBox,
};

// Style bits of the controls, named after what they mean to us. Each kind
// reads only the bits that apply to it.
namespace style {
inline constexpr std::uint32_t kHidden = 1u << 0;
inline constexpr std::uint32_t kOwnerDraw = 1u << 1;
inline constexpr std::uint32_t kNotify = 1u << 2;
inline constexpr std::uint32_t kBorder = 1u << 3;
inline constexpr std::uint32_t kVScroll = 1u << 4;
inline constexpr std::uint32_t kHScroll = 1u << 5;
inline constexpr std::uint32_t kNoIntegralHeight = 1u << 6;
inline constexpr std::uint32_t kNotSorted = 1u << 7;
inline constexpr std::uint32_t kAutoHScroll = 1u << 8;
inline constexpr std::uint32_t kAutoCheckBox = 1u << 9;
// Static text alignment and wrapping, with the values the static control's
// own style word uses, so CTransparentStatic can read them unchanged.
inline constexpr std::uint32_t kStaticStyleShift = 16;
}  // namespace style

// Static control style word (the low 16 bits of a static's own style).
namespace ss {
inline constexpr std::uint32_t kCenter = 0x1;
inline constexpr std::uint32_t kRight = 0x2;
inline constexpr std::uint32_t kLeftNoWordWrap = 0xC;
inline constexpr std::uint32_t kNoPrefix = 0x80;
inline constexpr std::uint32_t kCenterImage = 0x200;
inline constexpr std::uint32_t kEndEllipsis = 0x4000;
inline constexpr std::uint32_t kPathEllipsis = 0x8000;
inline constexpr std::uint32_t kWordEllipsis = 0xC000;
}  // namespace ss

struct ControlSpec {
  int id;
  ControlKind kind;
  QRect rect;           // dialog units: x, y, width, height
  std::uint32_t style;  // style:: bits, static style word in the high half
  const char* text;     // initial text, Latin-1
};

struct DialogTemplate {
  int id;
  QSize size;  // dialog units
  std::span<const ControlSpec> controls;
  const char* title;
};

// A dialog unit is 6/4 pixel across and 13/8 pixel down for the template
// font. Each edge is converted on its own, rounded like the platform's
// integer scaling, so adjacent controls stay adjacent.
int DialogUnitsToPixelsX(int units);
int DialogUnitsToPixelsY(int units);
QRect DialogRectToPixels(const QRect& units);
QSize DialogSizeToPixels(const QSize& units);

// The static style word of a row (0 for rows that are not statics).
inline std::uint32_t StaticStyleOf(const ControlSpec& spec) { return spec.style >> style::kStaticStyleShift; }

}  // namespace lexoria
