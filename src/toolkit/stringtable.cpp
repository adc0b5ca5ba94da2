// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/stringtable.h"

namespace lexoria {

namespace {

struct StringResource {
  int id;
  const char* text;
};

// The tooltips of the main window's buttons (Latin-1, as the templates).
constexpr StringResource kStrings[] = {
    {1021, "Search"},
    {1022, "Related phrases"},
    {1023, "Run the search"},
    {1026, "Favorite phrases"},
    {1030, "Minimize"},
    {1031, "Play sound"},
    {1032, "Play slowly"},
    {1041, "Exit"},
    {1046, "Update version"},
    {1047, "Technical support"},
    {1048, "Report bug or comments"},
    {1050, "About"},
    {1101, "General Category"},
    {1102, "Transportation Category"},
    {1103, "Hotel Category"},
    {1104, "Restaurant Category"},
    {1105, "Events Category"},
    {1106, "Business Category"},
    {1107, "Specialty Category"},
    {1108, "Shopping Category"},
    {1109, "Urgent Category"},
    {1110, "FAQ Category"},
    {1116, "Add to Favorite"},
};

}  // namespace

QString LoadStringResource(int id) {
  for (const StringResource& entry : kStrings) {
    if (entry.id == id) return QString::fromLatin1(entry.text);
  }
  return QString();
}

}  // namespace lexoria
