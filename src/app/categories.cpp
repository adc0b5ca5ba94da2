// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/categories.h"

#include <array>

#include "data/phrasebook.h"

namespace lexoria {

namespace {

// Category buttons and their codes.
constexpr std::array<CategoryButton, 10> kButtons = {{
    {1101, 100},
    {1102, 200},
    {1103, 400},
    {1104, 300},
    {1105, 700},
    {1106, 500},
    {1107, 600},
    {1108, 800},
    {1109, 900},
    {1110, 1000},
}};

// Sub-category entries of combo 1117, by category code.
constexpr std::array<const char*, 8> kBasic = {"All",   "Greetings",     "Language", "Weather",
                                               "Signs", "Date and Time", "Numbers",  "Key Words and Phrases"};
constexpr std::array<const char*, 11> kTravel = {"All",   "Arrival",   "Loss and damage", "Directions",      "Plane",
                                                 "Signs", "Train/Bus", "Car rental",      "Gas and Parking", "Problems",
                                                 "Taxi"};
constexpr std::array<const char*, 6> kFood = {
    "All", "Finding a Restaurant", "At the Restaurant", "Personal Needs", "Complaints", "Menu Reader"};
constexpr std::array<const char*, 8> kLodging = {"All",         "Reservation",    "At Hotel", "Check in",
                                                 "About Hotel", "Personal Needs", "Problems", "Check out"};
constexpr std::array<const char*, 3> kBusiness = {"All", "Basic", "Exchange Information"};
constexpr std::array<const char*, 4> kSightSeeing = {"All", "Questions", "Useful Words", "Leisure"};
constexpr std::array<const char*, 4> kSocial = {"All", "Conversation", "Get Together", "Exchange Information"};
constexpr std::array<const char*, 5> kShopping = {"All", "Finding places", "Purchase", "Return", "Banking"};
constexpr std::array<const char*, 4> kEmergency = {"All", "Medical", "Lost and Missing", "Help"};
constexpr std::array<const char*, 6> kQuestion = {"All", "Where", "When", "How much/many", "Why", "Who/Which"};
constexpr std::array<const char*, 1> kFavourites = {"All"};

// View modes: controls hidden, then shown, and the two captions.
constexpr std::array kBrowseHidden = {1023, 1020, 1024};
constexpr std::array kBrowseShown = {1117, 1018};
constexpr std::array kSearchHidden = {1117};
constexpr std::array kSearchShown = {1024, 1020, 1023};
constexpr std::array kRelatedHidden = {1117, 1023, 1024};
constexpr std::array kRelatedShown = {1020};

const std::array<ViewModeRow, 3> kViewModes = {{
    {kViewBrowse, kBrowseHidden, kBrowseShown, "Sub category:", "", true},
    {kViewSearch, kSearchHidden, kSearchShown, "Your key word:", "Your phrases:", true},
    {kViewRelated, kRelatedHidden, kRelatedShown, "Your phrase:", "Related phrases:", false},
}};

}  // namespace

std::span<const CategoryButton> CategoryButtons() { return kButtons; }

std::span<const char* const> SubCategoriesOf(std::int32_t code) {
  switch (code) {
    case 100: return kBasic;
    case 200: return kTravel;
    case 300: return kFood;
    case 400: return kLodging;
    case 500: return kBusiness;
    case 600: return kSightSeeing;
    case 700: return kSocial;
    case 800: return kShopping;
    case 900: return kEmergency;
    case 1000: return kQuestion;
    case kCategoryFavourites: return kFavourites;
    default: return {};
  }
}

const ViewModeRow* ViewModeRowOf(std::int32_t mode) {
  for (const ViewModeRow& row : kViewModes) {
    if (row.mode == mode) return &row;
  }
  return nullptr;
}

}  // namespace lexoria
