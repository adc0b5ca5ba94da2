// The vendor's web server and the values the update hand-over names. The
// host is our setting; the page and folder paths are fixed.
#pragma once

namespace lexoria::online {

inline constexpr char kVendorHost[] = "http://www.lexoria.example";

inline constexpr char kProductKey[] = "Lexoria_Japanese";
inline constexpr char kDownloadPath[] = "/SoftwareDownload/Lexoria_Japanese";
inline constexpr char kVersionFileName[] = "version.dat";
inline constexpr char kCurrentVersion[] = "1.5.2";

}  // namespace lexoria::online
