// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader says for each control of the window, the order Tab
// takes through them, and the names that follow the view. The pictures say
// what a button does; these names say it to those who cannot see them.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "app/accessiblecontrols.h"
#include "app/maintemplate.h"
#include "app/phraseforms.h"
#include "app/wendarodlg.h"

namespace {

struct AccessibleName {
  int control;
  const char* name;
};

// Names of the controls whose name never changes. The tooltips stay as they
// are; these are the names a listener hears.
constexpr AccessibleName kNames[] = {
    {1101, "Basic"},
    {1102, "Travel"},
    {1103, "Lodging"},
    {1104, "Food"},
    {1105, "Social"},
    {1106, "Business"},
    {1107, "Sightseeing"},
    {1108, "Shopping"},
    {1109, "Emergency"},
    {1110, "Questions"},
    {1021, "Search"},
    {1023, "Run the search"},
    {1022, "Related phrases"},
    {1026, "Show favourites"},
    {1030, "Minimise"},
    {1041, "Exit"},
    {1031, "Play"},
    {CWendaroDlg::kSlowPlayButtonId, "Play slowly"},
    {1035, "Show kanji"},
    {1036, "Show kana"},
    {1046, "Update version"},
    {1047, "Technical support"},
    {1048, "Report a bug or comments"},
    {1050, "About"},
    {1024, "Exact match only"},
    {1033, "Japanese"},
    {1019, "Pronunciation"},
    {1059, "Version"},
};

// Tab's way round the window: the modes along the top, what the list shows,
// the list, the phrase on show and its sound, the categories, then the
// links and the window's own buttons. Hidden controls are passed over.
constexpr int kTabOrder[] = {
    1021, 1026, 1022,                                              // modes
    1117, 1020, 1024, 1023, 1116,                                  // what the list shows
    1111,                                                          // the phrases
    1035, 1036, 1033, 1019, 1031, CWendaroDlg::kSlowPlayButtonId,  // the phrase on show
    1101, 1102, 1103, 1104, 1105, 1106,
    1107, 1108, 1109, 1110,              // categories
    1050, 1046, 1047, 1048, 1030, 1041,  // links, window
};

}  // namespace

void CWendaroDlg::SetUpAccessibility() {
  lexoria::InstallAccessibleControls();
  setAccessibleName(QString::fromLatin1(lexoria::MainTemplate().title));
  for (const AccessibleName& entry : kNames) {
    if (QWidget* control = Control(entry.control)) control->setAccessibleName(QString::fromLatin1(entry.name));
  }
  // The texts on show can be reached to be read again; the version cannot.
  japanese_->setFocusPolicy(Qt::TabFocus);
  pronunciation_->setFocusPolicy(Qt::TabFocus);
  lexoria::SetAccessibleLanguage(japanese_, "ja");
  lexoria::SetAccessibleLanguage(pronunciation_, "ja-Latn");
  QWidget* previous = nullptr;
  for (int id : kTabOrder) {
    QWidget* control = Control(id);
    if (control == nullptr) continue;
    if (previous != nullptr) setTabOrder(previous, control);
    previous = control;
  }
  UpdateAccessibleNames();
}

void CWendaroDlg::UpdateAccessibleNames() {
  if (favouriteToggleButton_ == nullptr) return;
  // What the button does, which is the view's to decide, not the tooltip's.
  const QString toggle =
      book_.FavouritesView() ? QStringLiteral("Remove from favourites") : QStringLiteral("Add to favourites");
  if (favouriteToggleButton_->accessibleName() != toggle) favouriteToggleButton_->setAccessibleName(toggle);

  QString list = QStringLiteral("Phrases");
  QString keyWord = QStringLiteral("Key word");
  if (book_.FavouritesView()) {
    list = QStringLiteral("Favourite phrases");
  } else if (book_.ViewMode() == lexoria::kViewSearch) {
    list = QStringLiteral("Phrases found");
  } else if (book_.ViewMode() == lexoria::kViewRelated) {
    list = QStringLiteral("Related phrases");
    keyWord = QStringLiteral("Phrase whose related phrases are listed");
  }
  if (phraseList_->accessibleName() != list) phraseList_->setAccessibleName(list);
  if (KeyWordEdit()->accessibleName() != keyWord) KeyWordEdit()->setAccessibleName(keyWord);
  // The first caption labels the sub-category box, or the key word where
  // that box is hidden: a screen reader says it with the control.
  if (QLabel* caption = Caption(1018)) {
    QWidget* labelled = book_.ViewMode() == lexoria::kViewBrowse ? static_cast<QWidget*>(subCategoryCombo_)
                                                                 : static_cast<QWidget*>(KeyWordEdit());
    if (caption->buddy() != labelled) caption->setBuddy(labelled);
  }

  // The kanji on show are read with their kana, as the card shows them.
  const PhraseForms forms = ShownForms(book_);
  const QString reading = book_.JapaneseForm() && forms.kana != forms.shown ? forms.kana : QString();
  if (japanese_->accessibleDescription() != reading) japanese_->setAccessibleDescription(reading);
}
