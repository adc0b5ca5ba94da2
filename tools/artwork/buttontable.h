// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Every three-picture button strip: resource id, file stem, strip size (three
// pictures side by side), the kind of drawing and its words.
enum class ButtonKind {
  Category,
  HeaderLink,
  FooterLink,
  Minimise,
  Exit,
  Search,
  Go,
  Favourite,
  Play,
  PlaySlow,
  Practice,
  AboutOk
};

struct ButtonStrip {
  int id;
  const char* stem;
  int width;
  int height;
  ButtonKind kind;
  const char* label;
  const char* glyph;  // Japanese emblem of the category buttons
};

inline constexpr ButtonStrip kButtonStrips[] = {
    {177, "link_update", 354, 13, ButtonKind::FooterLink, "Check for updates", ""},
    {178, "link_report", 576, 13, ButtonKind::FooterLink, "Report a bug or comments", ""},
    {180, "about", 195, 15, ButtonKind::HeaderLink, "About", ""},
    {181, "link_support", 486, 13, ButtonKind::FooterLink, "Technical support", ""},
    {1130, "exit", 54, 18, ButtonKind::Exit, "", ""},
    {156, "minimise", 54, 18, ButtonKind::Minimise, "", ""},
    {1133, "cat_basic", 378, 34, ButtonKind::Category, "Basic", "基"},
    {1143, "cat_travel", 378, 34, ButtonKind::Category, "Travel", "旅"},
    {1137, "cat_food", 378, 34, ButtonKind::Category, "Food", "食"},
    {1138, "cat_lodging", 378, 35, ButtonKind::Category, "Lodging", "宿"},
    {1134, "cat_business", 378, 36, ButtonKind::Category, "Business", "商"},
    {1141, "cat_sightseeing", 378, 35, ButtonKind::Category, "Sightseeing", "観"},
    {1142, "cat_social", 378, 34, ButtonKind::Category, "Social", "交"},
    {1140, "cat_shopping", 378, 36, ButtonKind::Category, "Shopping", "買"},
    {1135, "cat_emergency", 378, 36, ButtonKind::Category, "Emergency", "急"},
    {1144, "cat_question", 378, 36, ButtonKind::Category, "Question", "問"},
    {1136, "favourite_toggle", 129, 33, ButtonKind::Favourite, "", ""},
    {147, "search_mode", 243, 29, ButtonKind::Search, "Search", ""},
    {157, "search_go", 132, 33, ButtonKind::Go, "Go", ""},
    {148, "related", 258, 13, ButtonKind::HeaderLink, "Related", ""},
    {150, "favourites", 270, 13, ButtonKind::HeaderLink, "Favorites", ""},
    {1139, "play", 93, 28, ButtonKind::Play, "", ""},
    {186, "about_ok", 381, 34, ButtonKind::AboutOk, "OK", ""},
    {1145, "play_slow", 93, 28, ButtonKind::PlaySlow, "", ""},
    {1146, "practice", 270, 26, ButtonKind::Practice, "Practice", ""},
};
