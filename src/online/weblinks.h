// SPDX-License-Identifier: GPL-3.0-or-later
// The three web-page buttons of the main window: each opens one page of the
// vendor's site in the user's browser and does not wait for it.
#pragma once

#include <QString>

namespace lexoria::online {

struct WebLink {
  int buttonId;
  const char* caption;
  const char* pagePath;
};

// The pages, by the id of the button that opens them.
inline constexpr WebLink kWebLinks[] = {
    {1046, "Update", "/Lexoria_Japanese/checkforupdate.jsp"},
    {1047, "Tech", "/Lexoria_Japanese/technicalsupport.jsp"},
    {1048, "Report", "/Lexoria_Japanese/reportabug.jsp"},
};

// Full address of the page of buttonId, empty for any other id.
QString WebLinkAddress(int buttonId);

// Asks the desktop to open the page of buttonId; the outcome is ignored by
// the callers and returned only for tests.
bool OpenWebLink(int buttonId);

}  // namespace lexoria::online
