// SPDX-License-Identifier: GPL-3.0-or-later
// CPracticeDlg: the practice window. One card at a time from a session over
// the favourites or a category (lexoria::PracticeSession): a Say card shows
// the English, Space reveals the Japanese and plays it; a Hear card plays
// the recording, Space reveals the English. 1-4 rate Again, Hard, Good,
// Easy (each button shows the interval it gives); R plays the recording
// again; Escape closes. Each rating is appended to the history at once.
#pragma once

#include <QWidget>
#include <array>
#include <cstdint>
#include <map>
#include <memory>

#include "data/phraseexport.h"
#include "data/practicedeck.h"

class CLearning;
class CRubyStatic;
class QComboBox;
class QLabel;
class QPushButton;

class CPracticeDlg : public QWidget {
  Q_OBJECT

 public:
  CPracticeDlg(CLearning& learning, QWidget* parent);
  ~CPracticeDlg() override;

  // Opens on the favourites (0) or a category code, with the cards due.
  void Start(std::int32_t code);
  void Reveal();
  void Rate(lexoria::fsrs::Rating rating);
  void Replay();

  // For tests and the screen reader: what is on show.
  bool Revealed() const { return revealed_; }
  bool Finished() const;
  std::int32_t SetCode() const { return code_; }
  const lexoria::PracticeSession* Session() const { return session_.get(); }
  QLabel* EnglishLabel() const { return english_; }
  CRubyStatic* JapaneseText() const { return japanese_; }
  QLabel* PromptLabel() const { return prompt_; }
  QPushButton* RateButton(int rating) const { return rateButtons_.at(static_cast<std::size_t>(rating - 1)); }
  QPushButton* ShowButton() const { return showButton_; }
  QString LastError() const { return lastError_; }

 signals:
  void closed();

 protected:
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void BuildSession();
  void ShowCurrent();
  const lexoria::ExportRow* CurrentRow() const;

  CLearning& learning_;
  std::int32_t code_ = 0;
  std::unique_ptr<lexoria::PracticeSession> session_;
  std::map<std::int32_t, lexoria::ExportRow> rows_;
  bool revealed_ = false;
  QString lastError_;

  QComboBox* set_ = nullptr;
  QLabel* progress_ = nullptr;
  QLabel* kind_ = nullptr;
  QLabel* english_ = nullptr;
  CRubyStatic* japanese_ = nullptr;
  QLabel* kana_ = nullptr;
  QLabel* romaji_ = nullptr;
  QLabel* prompt_ = nullptr;
  QPushButton* showButton_ = nullptr;
  std::array<QPushButton*, 4> rateButtons_{};
};
