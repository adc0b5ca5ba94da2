// SPDX-License-Identifier: GPL-3.0-or-later
// CWendaroDlg: the main window of the phrasebook.
//
// The path of a click, from the list to the sound. A click on a line makes
// it current; the list's currentRowChanged reaches OnListRowChanged, then
// OnPhraseSelected (src/app/phrasehandlers.cpp). That hands the row to the
// model (PhraseBookModel, src/app/phrasebookmodel.cpp) and runs its
// ShowSelectedPhrase. The PhraseBook (src/data/phrasebook.cpp) looks the
// line's text up in the phrase map, records that the phrase's clip is
// wanted, reads the pronunciation and the Japanese text from Japanese.dat
// and returns. The model then emits clipWanted, and the window's LoadClip
// (phrasehandlers.cpp) calls lexoria::sound::LoadClip
// (src/sound/loadclip.cpp), which reads the clip from data.idx and data.dat
// (src/sound/cliparchive.cpp) into the CWavePlayer
// (src/sound/waveplayer.cpp); the player finds the MPEG stream, opens the
// output and decodes the first quarter of the block (src/mpeg).
// OnPhraseSelected ends with the transfer to the controls
// (TransferToControls, wendarodlg.cpp) and a repaint of the text area.
// Play (1031) runs OnPlay (phrasehandlers.cpp): the player's Stop and Start
// decode the rest and write the block to the AudioOutput, PulseOutput
// (src/toolkit/pulseoutput.cpp) unless a test gave another. A slot choice
// in the list takes the same road from OnPhraseSelected, through the list's
// phraseChosen signal.
//
// How data flows: one way, control -> handler -> model -> signal -> view.
// The window owns a PhraseBookModel over the PhraseBook (src/data), which
// holds the phrase files, the phrase map, the list lines with their CItems,
// the selection, the category code, the view mode and the four exchanged
// values. User actions arrive through WireMessageMap(), one connect per
// control, at handlers grouped by file: categories and view modes
// (categoryhandlers.cpp), phrase display and play (phrasehandlers.cpp),
// commands and favourites (commandhandlers.cpp), the skin (skinhandlers.cpp,
// over CSkinnedDialog) and the button pictures and online hooks
// (buttonsetup.cpp). A handler changes the model through its operations; the
// model never calls the window, it emits what changed (WireModel()): the
// list refilled (the window mirrors the lines into CMyListBox, 1111), a
// phrase shown (TransferToControls() and the text area), a clip wanted
// (LoadClip()) or a message (ShowMessage(), through the window's own
// MessageBoxes). The pronunciation text (1019), the key word (1020), the
// exact-match switch (1024) and the Japanese text (1033) move between the
// model and the controls only by TransferToControls() and
// TransferFromControls(). The list tells the window of a slot choice
// (lineRewritten, then phraseChosen); the model rewrites the line and its
// CItem.
#pragma once

#include <QBrush>
#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QRect>
#include <QRegion>
#include <QStringList>
#include <QTimer>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/bitmapstatic.h"
#include "app/phrasebookmodel.h"
#include "controls/mylistbox.h"
#include "controls/skinneddialog.h"
#include "controls/transparentstatic.h"
#include "data/phrasebook.h"
#include "online/autoupdate.h"
#include "sound/audiooutput.h"
#include "sound/waveplayer.h"
#include "toolkit/apppaths.h"
#include "toolkit/dialogtemplate.h"
#include "toolkit/messagebox.h"

class CLearning;
class CShowCard;

class CWendaroDlg : public CSkinnedDialog {
  Q_OBJECT

 public:
  // Id of the one timer: the update hand-over, one second after start.
  static constexpr int kUpdateTimerId = 1000;
  static constexpr int kUpdateTimerPeriodMs = 1000;
  // Client pixels repainted after a phrase is shown, and the caption area.
  static inline const QRect kTextArea{QPoint(170, 380), QPoint(519, 479)};
  static inline const QRect kCaptionArea{QPoint(120, 80), QPoint(499, 209)};
  static constexpr std::uint32_t kVersionTextColour = 0xFFFFFF;

  // output: where the player sends its sound; null for the sound card.
  explicit CWendaroDlg(QWidget* parent = nullptr, lexoria::sound::AudioOutput* output = nullptr);
  ~CWendaroDlg() override;

  // Where the data, favourites and fonts are; before the window is first
  // shown. Without it, the run folder in the working folder.
  void UsePaths(const lexoria::AppPaths& paths) { paths_ = paths; }

  // Builds the window (OnInitDialog) before it is first shown.
  void setVisible(bool visible) override;

  // The "Play slowly" button beside 1031; not in the template.
  static constexpr int kSlowPlayButtonId = 1032;

  // --- For the application and tests -------------------------------------
  QWidget* Control(int id) const { return controls_.value(id, nullptr); }
  QPushButton* Button(int id) const { return qobject_cast<QPushButton*>(Control(id)); }
  CMyListBox* PhraseList() const { return phraseList_; }
  lexoria::PhraseBook& Book() { return book_; }
  PhraseBookModel& Model() { return model_; }
  // Where ShowMessage() goes; tests install an interceptor here.
  lexoria::MessageBoxes& MessageBoxes() { return messageBoxes_; }
  const lexoria::sound::CWavePlayer& Player() const { return player_; }
  bool PhraseShown() const { return phraseShown_; }
  bool SearchChanged() const { return searchChanged_; }
  bool UpdateCheckDone() const { return updateCheckDone_; }
  bool UpdateTimerActive() const { return updateTimer_.isActive(); }
  const QFont& LatinFont() const { return latinFont_; }
  const QFont& JapaneseFont() const { return japaneseFont_; }
  QString FavouriteTooltip() const { return favouriteTooltip_; }

  // --- Handlers (message map) ----------------------------------------------
  bool OnInitDialog();
  void OnTimer();
  void OnDestroy();
  void OnOK();
  // Categories and view modes (categoryhandlers.cpp).
  // A category button: code is the category it selects.
  void OnCategoryButton(std::int32_t code);
  void SelectCategory();
  void FillSubCategories();
  void OnSubCategoryChosen();
  void ApplyViewMode();
  void ClearPhraseView();
  void OnSearchMode();
  void OnRunSearch();
  void OnKeyWordChanged();
  // Typing in search mode: the results follow the key word after a pause,
  // with no message box and the typing left where it is.
  void OnKeyWordEdited();
  void OnLiveSearch();
  // Caption 1025 above the list: "Showing results for ..." when the search
  // corrected a word.
  void ShowSearchCaption();
  void OnExactMatchClicked();
  void OnRelatedPhrases();
  void UpdateListExtent();
  void SelectListItem(int index);
  void RepaintCaptionArea();
  // The start-up check of the data files (datacheckhandlers.cpp): run while
  // the window initialises, told once the window is up.
  void CheckDataFiles();
  void ReportDamagedFiles();
  // Phrase display (phrasehandlers.cpp).
  void CreateFonts();
  void OnPhraseSelected();
  void OnPlay();
  void OnFirstFormClicked();
  void OnSecondFormClicked();
  void OnListRowChanged();
  // Commands (commandhandlers.cpp).
  void OnShowFavourites();
  void OnToggleFavourite();
  void OnMinimise();
  void OnExit();
  void OnUpdatePage();
  void OnTechPage();
  void OnReportPage();
  void OnAbout();
  // Traveller's commands: slow play (slowplay.cpp), copying (copymenu.cpp),
  // the card (showcard.cpp) and the keys (shortcuts.cpp).
  void OnPlayButton();  // Shift+click plays slowly
  void OnPlaySlowly();
  // Plays the phrase shown at tempo: play, the slow button, Space in the
  // list and on the card, from the first phrase on (phrasehandlers.cpp).
  void PlayShown(float tempo);
  // A second after a play the sound server held: tells a slow server from
  // a missing one when the play did not start.
  void CheckServerAnswered();
  void OnCopyShown();  // Ctrl+C: the Japanese as shown
  void CopyText(const QString& text);
  void ShowCopyMenu(QWidget* control, const QPoint& pos);
  void OnShowCard();
  void OnSearchKey();  // Ctrl+F and "/"
  void OnKeysHelp();
  QPushButton* SlowPlayButton() const { return slowPlayButton_; }
  // Furigana, practice and export (learning.h); made by OnInitDialog.
  CLearning* Learning() const { return learning_; }
  CShowCard* Card() const { return card_; }

  // --- What the model's changes reach ---------------------------------------
  // A message box with this fixed text (the model's messageRaised too).
  void ShowMessage(std::string_view text);
  // The four exchanged values from the model into 1019, 1020, 1024, 1033
  // (phraseShown), and back.
  void TransferToControls();
  void TransferFromControls();
  // Fetches the phrase's recording into the player (clipWanted).
  void LoadClip(std::int32_t phrase);
  // The list shows the model's lines and selection anew (listRefilled).
  void MirrorPhraseList();
  void RepaintTextArea();

  // A slot choice rewrote a line of the list (phrase list 1111).
  void OnLineRewritten(int index, const QString& text);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void done(int result) override;
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;
  // Skin (skinhandlers.cpp): the icon while minimised, else the skin.
  void paintEvent(QPaintEvent* event) override;

 private:
  friend class CLearning;
  void CreateControls();
  QWidget* CreateControl(const lexoria::ControlSpec& spec);
  void AttachControls();
  void WireMessageMap();
  void WireModel();
  void SetFavouriteTooltipFromView();
  // Gives the list the focus unless the user is typing a key word.
  void FocusPhraseList();
  QLineEdit* KeyWordEdit() const { return qobject_cast<QLineEdit*>(Control(1020)); }
  QCheckBox* ExactMatchBox() const { return qobject_cast<QCheckBox*>(Control(1024)); }
  QLabel* Caption(int id) const { return qobject_cast<QLabel*>(Control(id)); }
  CBitmapStatic* Switch(int id) const { return qobject_cast<CBitmapStatic*>(Control(id)); }

  // Skin hooks (skinhandlers.cpp): icon, skin bitmap and region at
  // construction; region to the window; colours and brushes of the controls.
  void LoadSkin();
  void ApplyWindowRegion();
  void ApplyControlColours();
  QBrush MakeListBrush();
  // Button hooks (buttonsetup.cpp): the button objects, their pictures and
  // tooltips, the tooltip of 1116, the web pages, the about box and the
  // update hand-over.
  QPushButton* CreatePushButton(const lexoria::ControlSpec& spec, QWidget* parent);
  void SetUpButtons();
  void SetFavouriteTooltip(const QString& text);
  void OpenWebPage(int buttonId);
  void ShowAboutBox();
  // Once per run: the second call does nothing.
  void RunUpdateHandOver();
  // Accessibility (accessibility.cpp): names, roles and Tab's order once the
  // controls exist; the names that follow the view after every transfer.
  void SetUpAccessibility();
  void UpdateAccessibleNames();
  // The controls and keys that are not in the template: the slow-play
  // button (slowplay.cpp), the copy menus and the shortcuts.
  void CreateSlowPlayButton();
  void WireCopyMenus();
  void WireShortcuts();

  // --- Attached controls, in data-exchange order -----------------------------
  CTransparentStatic* versionText_ = nullptr;     // 1059
  QPushButton* updateButton_ = nullptr;           // 1046
  QPushButton* reportButton_ = nullptr;           // 1048
  QPushButton* techButton_ = nullptr;             // 1047
  QPushButton* aboutButton_ = nullptr;            // 1050
  CTransparentStatic* pronunciation_ = nullptr;   // 1019
  CTransparentStatic* japanese_ = nullptr;        // 1033
  QComboBox* subCategoryCombo_ = nullptr;         // 1117
  QPushButton* playButton_ = nullptr;             // 1031
  QPushButton* runSearchButton_ = nullptr;        // 1023
  QPushButton* minimiseButton_ = nullptr;         // 1030
  QPushButton* favouritesButton_ = nullptr;       // 1026
  QPushButton* relatedButton_ = nullptr;          // 1022
  QPushButton* searchModeButton_ = nullptr;       // 1021
  QPushButton* favouriteToggleButton_ = nullptr;  // 1116
  QPushButton* categoryButtons_[10] = {};         // 1101-1110
  QPushButton* exitButton_ = nullptr;             // 1041
  CMyListBox* phraseList_ = nullptr;              // 1111

  // --- Member state, in declaration order -------------------------------------
  lexoria::AppPaths paths_;
  lexoria::MessageBoxes messageBoxes_;
  bool updateCheckDone_ = false;
  std::unique_ptr<CAutoUpdate> updateJob_;  // the update hand-over, once per run
  PhraseBookModel model_;                   // phrase files, map, lines and view state
  lexoria::PhraseBook& book_ = model_.Book();
  std::unique_ptr<lexoria::sound::AudioOutput> ownedOutput_;
  lexoria::sound::CWavePlayer player_;
  bool phraseShown_ = false;
  QRect textArea_ = kTextArea;
  bool searchChanged_ = false;
  QBrush listBrush_;  // bitmap 149 tiled
  QFont latinFont_;
  QFont japaneseFont_;
  QIcon icon_;  // icon 146

  // Why the phrase shown has no recording (empty: it has one); Play says it.
  std::string clipFailure_;
  QString damageMessage_;  // the start-up check's message, until shown

  QMap<int, QWidget*> controls_;
  QTimer updateTimer_;
  QTimer serverAnswerTimer_;                     // single shot: CheckServerAnswered
  QTimer liveSearchTimer_;                       // single shot: OnLiveSearch
  static constexpr int kLiveSearchPause = 150;   // ms after the last key
  static constexpr int kSearchIndexDelay = 300;  // ms after the window shows
  int searchCaptionWidth_ = -1;                  // caption 1025 as laid out
  std::optional<QFont> searchCaptionFont_;       // and its letter
  QString favouriteTooltip_;
  QStringList latinFamilies_;
  QStringList japaneseFamilies_;
  bool initialised_ = false;
  bool destroyed_ = false;
  QPushButton* slowPlayButton_ = nullptr;
  CShowCard* card_ = nullptr;  // a child window, made on first use
  CLearning* learning_ = nullptr;
};
