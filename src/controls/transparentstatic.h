// SPDX-License-Identifier: GPL-3.0-or-later
// CTransparentStatic: a static text that paints only its letters, in a
// colour of its own, so whatever the parent painted shows around them.
#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>

class CTransparentStatic : public QWidget {
  Q_OBJECT

 public:
  // staticStyle: the static control style word (ss:: bits of
  // toolkit/dialogtemplate.h) that decides alignment and wrapping.
  explicit CTransparentStatic(std::uint32_t staticStyle = 0, QWidget* parent = nullptr);
  ~CTransparentStatic() override;

  QString Text() const { return text_; }
  void SetText(const QString& text);

  // 0x00BBGGRR, black at construction.
  std::uint32_t TextColour() const { return textColour_; }
  void SetTextColour(std::uint32_t colour);

  std::uint32_t StaticStyle() const { return staticStyle_; }
  // Qt alignment and text flags that the style word asks for, and the
  // elision mode for single-line texts.
  int TextFlags() const;
  Qt::TextElideMode ElideMode() const;

 signals:
  // The static notifies its parent of clicks.
  void clicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  std::uint32_t staticStyle_;
  std::uint32_t textColour_ = 0;
  QString text_;
};
