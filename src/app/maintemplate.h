// SPDX-License-Identifier: GPL-3.0-or-later
// Dialog template 1202: the main window's controls, in template order.
#pragma once

#include "toolkit/dialogtemplate.h"

namespace lexoria {

inline constexpr int kMainTemplateId = 1202;

const DialogTemplate& MainTemplate();

}  // namespace lexoria
