// SPDX-License-Identifier: GPL-3.0-or-later
#include "online/abouttemplate.h"

#include "lexoria/buildconfig.h"

namespace lexoria::online {
namespace {

using namespace lexoria::style;

// The about box's controls: four labels and the OK button.
constexpr ControlSpec kAboutControls[] = {
    {1051, ControlKind::StaticText, QRect(52, 74, 236, 24), 0, "Lexoria_Japanese"},
    {1052, ControlKind::StaticText, QRect(52, 116, 79, 13), 0, "Version " LEXORIA_VERSION},
    {1053, ControlKind::StaticText, QRect(52, 136, 173, 13), 0, "\xA9 2026 Lexoria Phrasebooks"},
    {1054, ControlKind::StaticText, QRect(52, 156, 103, 13), 0, "All rights reserved."},
    {1056, ControlKind::PushButton, QRect(189, 184, 50, 14), kOwnerDraw, ""},
};

constexpr DialogTemplate kAbout{kAboutTemplateId, QSize(333, 273), kAboutControls, ""};

const LabelLook kLooks[] = {
    {1051, QColor(0, 128, 192), true, 22},
    {1052, QColor(0, 125, 251), true, 14},
    {1053, QColor(0, 125, 251), true, 14},
    {1054, QColor(0, 125, 251), true, 14},
};

}  // namespace

const DialogTemplate& AboutTemplate() { return kAbout; }

std::span<const LabelLook> AboutLabelLooks() { return kLooks; }

const char kVoiceCredits[] =
    "Voice of the recordings: \xE2\x80\x9CMei\xE2\x80\x9D HTS voice, \xC2\xA9 2009-2013 Nagoya Institute of "
    "Technology (MMDAgent Project Team), licensed under CC BY 3.0.";

}  // namespace lexoria::online
