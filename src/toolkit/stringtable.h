// SPDX-License-Identifier: GPL-3.0-or-later
// The program's string resources, looked up by numeric id like its bitmaps.
// A button's tooltip has the id of the button.
#pragma once

#include <QString>

namespace lexoria {

// The string, or an empty one for an id the table does not hold.
QString LoadStringResource(int id);

}  // namespace lexoria
