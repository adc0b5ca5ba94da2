// SPDX-License-Identifier: GPL-3.0-or-later
// CRubyStatic: the Japanese text area. A transparent static that, when
// furigana are on and the text on show has readings, draws it with each
// word's reading above (CRubyLayout), shrinking the text only as far as it
// must to fit. The text itself, what a screen reader or a copy gets, stays
// the plain sentence.
#pragma once

#include <QString>
#include <functional>
#include <optional>

#include "controls/transparentstatic.h"
#include "data/readings.h"

class CRubyStatic : public CTransparentStatic {
  Q_OBJECT

 public:
  // The readings of the sentence on show, or none.
  using ReadingsLookup = std::function<std::optional<lexoria::RubyText>(const QString& shown)>;

  explicit CRubyStatic(std::uint32_t staticStyle = 0, QWidget* parent = nullptr);

  void SetReadingsLookup(ReadingsLookup lookup);
  void SetFuriganaShown(bool shown);
  bool FuriganaShown() const { return furiganaShown_; }
  // True when the text on show is drawn with its readings now.
  bool DrawsReadings() const;
  // The readings drawn, empty when none.
  std::optional<lexoria::RubyText> ShownReadings() const;
  // Pixel size the sentence is drawn at with its readings.
  int RubyPixelSize() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  ReadingsLookup lookup_;
  bool furiganaShown_ = false;
};
