// SPDX-License-Identifier: GPL-3.0-or-later
// The vendor's web server and the values the update hand-over names. The
// host is our setting; the page and folder paths are fixed.
#pragma once

#include "lexoria/buildconfig.h"

namespace lexoria::online {

inline constexpr char kVendorHost[] = "http://www.lexoria.example";

inline constexpr char kProductKey[] = "Lexoria_Japanese";
inline constexpr char kDownloadPath[] = "/SoftwareDownload/Lexoria_Japanese";
inline constexpr char kVersionFileName[] = "version.dat";
inline constexpr char kCurrentVersion[] = LEXORIA_VERSION;

}  // namespace lexoria::online
