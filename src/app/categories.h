// SPDX-License-Identifier: GPL-3.0-or-later
// The category buttons, the sub-category lists and the view-mode table.
#pragma once

#include <cstdint>
#include <span>

namespace lexoria {

struct CategoryButton {
  int id;
  std::int32_t code;
};

// Buttons 1101-1110 with the codes they select (not in button order).
std::span<const CategoryButton> CategoryButtons();

// Entries of combo 1117 for a category code, index 0 ("All") first; empty
// for a code in no row.
std::span<const char* const> SubCategoriesOf(std::int32_t code);

struct ViewModeRow {
  std::int32_t mode;
  std::span<const int> hidden;  // hidden first, in this order
  std::span<const int> shown;
  const char* caption1018;
  const char* caption1025;
  bool clearsView;
};

// The row of a view mode, null for an unknown mode.
const ViewModeRow* ViewModeRowOf(std::int32_t mode);

}  // namespace lexoria
