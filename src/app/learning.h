// SPDX-License-Identifier: GPL-3.0-or-later
// CLearning: what the main window offers for learning before the trip:
// furigana over the kanji rendering (furigana.cpp), the practice mode with
// its button, key and due count (practice.cpp, practicedlg.*), and export
// for a flashcard program from a menu on the favourites (exportmenu.cpp).
//
// How data flows: the readings come from Readings.txt in the data folder,
// read once; the Japanese text 1033 (a CRubyStatic) asks ReadingsOf() for
// the sentence it shows each time it paints. The switches are kept in
// settings.ini beside favorite.dat (run folder) or in the user's config
// folder (installed). The practice history is reviews.tsv beside
// favorite.dat (lexoria::ReviewLog); the due count is the favourites'
// cards due today, recounted when the favourites or the history change.
#pragma once

#include <QObject>
#include <QPoint>
#include <QSettings>
#include <QString>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "data/phraseexport.h"
#include "data/readings.h"

class CWendaroDlg;
class CPracticeDlg;
class CTransparentStatic;
class QMenu;
class QPushButton;

class CLearning : public QObject {
  Q_OBJECT

 public:
  // The practice button's id and picture, beside the window's own ids.
  static constexpr int kPracticeButtonId = 1146;
  static constexpr int kDueCountId = 1147;

  // Made by the window once its controls, fonts and data folders are set.
  explicit CLearning(CWendaroDlg& dlg);
  ~CLearning() override;

  // --- Furigana -----------------------------------------------------------
  bool FuriganaAvailable() const { return !readings_.empty(); }
  bool FuriganaOn() const { return furiganaOn_; }
  void SetFuriganaOn(bool on);
  void OnToggleFurigana();  // the key and the menu
  bool CardFuriganaOn() const { return cardFuriganaOn_; }
  void SetCardFuriganaOn(bool on);
  // The readings of the sentence shown in the kanji rendering, when the
  // phrase on show has them and the sentence is theirs.
  std::optional<lexoria::RubyText> ReadingsOf(const QString& shown) const;
  std::optional<lexoria::RubyText> ReadingsOfPhrase(std::int32_t phrase) const;
  // The switch in the menu on the Japanese text.
  void AddFuriganaAction(QMenu& menu);

  // --- Practice -----------------------------------------------------------
  void OnPractice();  // the button and the key
  // The day reviews are counted on (days since 1970 in local time); tests
  // set it.
  std::int32_t Today() const;
  void SetToday(std::optional<std::int32_t> day) { today_ = day; }
  // Cards of the favourites to practise today.
  int DueCount() const { return dueCount_; }
  void UpdateDueCount();
  QPushButton* PracticeButton() const { return practiceButton_; }
  CTransparentStatic* DueLabel() const { return dueLabel_; }
  CPracticeDlg* Practice() const { return practice_; }
  // The phrases of the favourites (code 0) or of a category.
  bool PhraseRows(std::int32_t code, std::vector<lexoria::ExportRow>& rows, std::string& error) const;
  // Plays phrase n's recording through the window's player.
  void PlayPhrase(std::int32_t n);
  // Where reviews.tsv is: beside favorite.dat.
  std::filesystem::path HistoryFolder() const;
  // The main window's phrase back in the player once practice ends.
  void RestoreShownClip();
  // The category browsed, else the favourites (0).
  std::int32_t CurrentSetCode() const;
  // What practice opens on: the favourites when there are any, else the
  // category browsed.
  std::int32_t PracticeSetCode() const;

  // --- Export ---------------------------------------------------------------
  // The menu on the favourites button (right-click).
  void ShowFavouritesMenu(const QPoint& globalPos);
  // Writes the favourites (code 0) or the category into folder; the text
  // for the message box either way.
  bool ExportTo(const QString& folder, std::int32_t code, QString& message);
  void OnExport(std::int32_t code);
  // Asks for the folder to export into; tests replace it. Empty: cancelled.
  static std::function<QString(QWidget* parent, const QString& title)>& FolderChooser();

  QSettings& Settings() { return *settings_; }
  // A message box of the main window's, owned by `owner`.
  void ShowMessage(QWidget* owner, const QString& text);

 private:
  void LoadReadings();
  void CreatePracticeControls();

  CWendaroDlg& dlg_;
  std::unique_ptr<QSettings> settings_;
  lexoria::Readings readings_;
  bool furiganaOn_ = false;
  bool cardFuriganaOn_ = false;
  std::optional<std::int32_t> today_;
  int dueCount_ = 0;
  QPushButton* practiceButton_ = nullptr;
  CTransparentStatic* dueLabel_ = nullptr;
  CPracticeDlg* practice_ = nullptr;
};
