// SPDX-License-Identifier: GPL-3.0-or-later
// A small phrasebook written into a fresh working directory, and the real
// main window opened over it, with its messages and sound captured.
//
// The data: 826 phrases "Phrase <n>" (pronunciation "Pron <n>", renderings
// "Kanji <n>" and "Kana <n>"), phrase 1 with its byte-order marks, except:
//   2-5   one template group "I want [tea|coffee] with [milk|sugar]", whose
//         English texts are the four choices;
//   10    "Hello", 11 "Hello, how are you?";
// Relate.dat: phrase 1 -> 11 and 10 (listed 10, 11), phrase 10 -> 1, every
// other row empty. The sound archive holds a clip for every phrase, each a
// short stream of silent frames (8 + n frames for n up to kClipCount, two
// after).
#pragma once

#include <QDir>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/wendarodlg.h"
#include "sound/captureoutput.h"

namespace windowtest {

inline constexpr int kClipCount = 20;

// Writes the data set into a temporary folder and makes it the working
// directory for as long as it lives.
class DataFolder {
 public:
  DataFolder();
  ~DataFolder();
  QString Path() const { return dir_.path(); }
  QString File(const QString& name) const { return dir_.filePath(name); }
  void Remove(const QString& name) const;

 private:
  QTemporaryDir dir_;
  QString previous_;
};

struct FavouriteRecord {
  QString text;
  std::int32_t number;
  bool operator==(const FavouriteRecord&) const = default;
};
// The records of favorite.dat in the working directory.
std::vector<FavouriteRecord> ReadFavourites();

// The window, its captured sound and the message boxes it showed.
class Window {
 public:
  // paths: the layout the window starts with; the default is the run folder
  // in the working folder with no updater.
  explicit Window(const lexoria::AppPaths& paths = {});
  ~Window();
  CWendaroDlg& Dlg() { return *dlg_; }
  lexoria::sound::CaptureOutput& Sound() { return sound_; }
  QStringList& Messages() { return messages_; }
  QStringList TakeMessages();
  // The messages shown while the window was not visible yet.
  const QStringList& MessagesBeforeShown() const { return messagesBeforeShown_; }

  QStringList Lines() const;
  QStringList ComboEntries(int id) const;
  QString Text(int id) const;  // statics, edits, captions
  bool Visible(int id) const;
  void Click(int id);
  // A mouse click on a line of the phrase list.
  void ClickLine(int row);
  void ChooseSubCategory(int index);
  void TypeKeyWord(const QString& text);
  void PressEnter();

 private:
  lexoria::sound::CaptureOutput sound_;
  QStringList messages_;
  QStringList messagesBeforeShown_;
  std::unique_ptr<CWendaroDlg> dlg_;
};

}  // namespace windowtest
