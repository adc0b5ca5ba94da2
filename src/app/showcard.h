// SPDX-License-Identifier: GPL-3.0-or-later
// CShowCard: the phrase shown full-screen, to be read across a counter. The
// Japanese as large as fits, its kana below when the kanji form is shown,
// the English small at the bottom. Space plays, S plays slowly; Escape, F11
// or a click closes the card and only the card.
#pragma once

#include <QFont>
#include <QString>
#include <QWidget>
#include <optional>

#include "data/readings.h"

class CShowCard : public QWidget {
  Q_OBJECT

 public:
  // parent: the main window, so the card stays usable while it runs modally.
  explicit CShowCard(QWidget* parent);

  // kana empty: none below the Japanese.
  void SetTexts(const QString& japanese, const QString& kana, const QString& english, const QFont& japaneseFont,
                const QFont& latinFont);
  QString Japanese() const { return japanese_; }
  QString Kana() const { return kana_; }
  QString English() const { return english_; }
  // Readings drawn over the Japanese (furigana), or none.
  void SetReadings(std::optional<lexoria::RubyText> readings);
  bool DrawsReadings() const { return readings_.has_value(); }
  // Pixel size the Japanese is drawn at for the card's present size.
  int JapanesePixelSize() const { return japaneseSize_; }
  // Where each text is drawn, in the card's pixels.
  QRect JapaneseArea() const;
  QRect KanaArea() const;
  QRect EnglishArea() const;

 signals:
  void playRequested();
  void playSlowlyRequested();
  // F: furigana on the card on or off.
  void furiganaToggled();

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void Fit();
  int EnglishPixelSize() const;
  int KanaPixelSize() const;

  QString japanese_;
  QString kana_;
  QString english_;
  QFont japaneseFont_;
  QFont latinFont_;
  int japaneseSize_ = 0;
  std::optional<lexoria::RubyText> readings_;
  // A click closes only when it began on the card: the double-click that
  // opened it must not close it on its release.
  bool pressed_ = false;
};
