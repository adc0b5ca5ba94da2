// SPDX-License-Identifier: GPL-3.0-or-later
// CLabel: a static text with its own font, text colour and background,
// optional blinking of its text or background, right-clicks reported with
// the control id, an optional cursor and tooltip. Every setter returns the label so
// calls chain: label.SetTextColor(c).SetFontBold(true).SetFontSize(14).
#pragma once

#include <QBasicTimer>
#include <QBrush>
#include <QColor>
#include <QCursor>
#include <QFont>
#include <QLabel>
#include <QString>

#include <optional>

class CLabel : public QLabel {
  Q_OBJECT

 public:
  enum BlinkType { kBlinkNone = 0, kBlinkText = 1, kBlinkBackground = 2 };
  static constexpr int kBlinkTimerId = 1;
  static constexpr int kBlinkPeriodMs = 500;
  static constexpr int kFaceNameMax = 31;

  explicit CLabel(QWidget* parent = nullptr);
  ~CLabel() override;

  CLabel& SetText(const QString& text);
  CLabel& SetTextColor(const QColor& colour);
  CLabel& SetFontBold(bool bold);
  CLabel& SetFontUnderline(bool underline);
  CLabel& SetFontItalic(bool italic);
  CLabel& SetFontSize(int size);
  CLabel& SetFontName(const QString& face);
  CLabel& SetBkColor(const QColor& colour);
  CLabel& SetStaticEdge(bool on);
  CLabel& SetBorder(bool on);
  CLabel& SetClickNotify(bool on);
  CLabel& SetCursorHandle(const QCursor& cursor);
  CLabel& BlinkText(bool on);
  CLabel& BlinkBackground(bool on);
  // The second value is how long the tip stays up, in milliseconds (0: the
  // platform's default).
  CLabel& SetToolTipText(const QString& text, int displayMs = 0);

  // The owning dialog paints behind its labels itself (they stand on its
  // picture): the label then fills no background.
  CLabel& SetHollowBackground(bool hollow);

  // Control id: the dialog names its controls by their id.
  int ControlId() const { return objectName().toInt(); }

  // The font description as stored: height is minus the pixel size.
  int FontHeight() const { return fontHeight_; }
  int FontWeight() const { return fontWeight_; }
  QString FontName() const { return fontFace_; }
  QColor TextColor() const { return textColour_; }
  QColor BkColor() const { return backgroundColour_; }
  // The brush the background is filled with now.
  QColor CurrentBackground() const;
  BlinkType CurrentBlinkType() const { return blinkType_; }
  bool BlinkPhase() const { return blinkPhase_; }
  bool IsBlinkTimerActive() const { return blinkTimer_.isActive(); }
  bool ClickNotify() const { return clickNotify_; }
  QString ToolTipText() const { return toolText_; }
  bool HasToolTip() const { return toolTipCreated_; }

 signals:
  // Left click, reported while click notify is on.
  void clicked();
  // Right button down, whatever click notify says; id is ControlId(), so
  // one slot of the owning dialog can serve all its labels.
  void rightClicked(int id);

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void timerEvent(QTimerEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void RebuildFont();
  void Redraw();
  void ApplyFrame();
  void ApplyTextColour();

  QColor textColour_;
  QColor backgroundColour_;
  QColor windowColour_;
  int fontHeight_ = 0;
  int fontWeight_ = 400;
  bool fontItalic_ = false;
  bool fontUnderline_ = false;
  QString fontFace_;
  QString savedText_;
  bool blinkPhase_ = false;
  bool timerRunning_ = false;
  bool clickNotify_ = true;
  BlinkType blinkType_ = kBlinkNone;
  std::optional<QCursor> cursor_;
  bool toolTipCreated_ = false;
  QString toolText_;
  int toolDisplayMs_ = 0;
  bool staticEdge_ = false;
  bool border_ = false;
  bool hollow_ = false;
  QBasicTimer blinkTimer_;
};
