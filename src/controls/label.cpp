// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/label.h"

#include "controls/owntooltip.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QTimerEvent>

CLabel::CLabel(QWidget* parent) : QLabel(parent) {
  const QPalette pal = palette();
  textColour_ = pal.color(QPalette::WindowText);
  backgroundColour_ = pal.color(QPalette::Button);
  windowColour_ = pal.color(QPalette::Button);
  const QFont base = QApplication::font();
  fontFace_ = base.family().left(kFaceNameMax);
  fontHeight_ = -(base.pixelSize() > 0 ? base.pixelSize() : QFontInfo(base).pixelSize());
  fontWeight_ = base.bold() ? 700 : 400;
  fontItalic_ = base.italic();
  fontUnderline_ = base.underline();
  RebuildFont();
  ApplyTextColour();
}

CLabel::~CLabel() = default;

CLabel& CLabel::SetText(const QString& text) {
  setText(text);
  return *this;
}

CLabel& CLabel::SetTextColor(const QColor& colour) {
  textColour_ = colour;
  ApplyTextColour();
  Redraw();
  return *this;
}

CLabel& CLabel::SetFontBold(bool bold) {
  fontWeight_ = bold ? 700 : 400;
  RebuildFont();
  Redraw();
  return *this;
}

CLabel& CLabel::SetFontUnderline(bool underline) {
  fontUnderline_ = underline;
  RebuildFont();
  Redraw();
  return *this;
}

CLabel& CLabel::SetFontItalic(bool italic) {
  fontItalic_ = italic;
  RebuildFont();
  Redraw();
  return *this;
}

CLabel& CLabel::SetFontSize(int size) {
  fontHeight_ = -size;
  RebuildFont();
  Redraw();
  return *this;
}

CLabel& CLabel::SetFontName(const QString& face) {
  // The face name field holds 31 characters; longer names are cut rather
  // than written past it.
  fontFace_ = face.left(kFaceNameMax);
  RebuildFont();
  Redraw();
  return *this;
}

CLabel& CLabel::SetBkColor(const QColor& colour) {
  backgroundColour_ = colour;  // shows at the next repaint
  return *this;
}

CLabel& CLabel::SetStaticEdge(bool on) {
  staticEdge_ = on;
  ApplyFrame();
  return *this;
}

CLabel& CLabel::SetBorder(bool on) {
  border_ = on;
  ApplyFrame();
  return *this;
}

CLabel& CLabel::SetClickNotify(bool on) {
  clickNotify_ = on;
  return *this;
}

CLabel& CLabel::SetCursorHandle(const QCursor& cursor) {
  cursor_ = cursor;
  setCursor(cursor);
  return *this;
}

CLabel& CLabel::BlinkText(bool on) {
  if (timerRunning_) {
    setText(savedText_);
    blinkTimer_.stop();
    // Cleared so that a later stop cannot bring back a stale text.
    timerRunning_ = false;
  }
  if (on) {
    savedText_ = text();
    blinkPhase_ = false;
    timerRunning_ = true;
    blinkTimer_.start(kBlinkPeriodMs, this);
    blinkType_ = kBlinkText;
  }
  return *this;
}

CLabel& CLabel::BlinkBackground(bool on) {
  if (timerRunning_) {
    blinkTimer_.stop();
    timerRunning_ = false;
  }
  if (on) {
    blinkPhase_ = false;
    timerRunning_ = true;
    blinkTimer_.start(kBlinkPeriodMs, this);
    blinkType_ = kBlinkBackground;
  }
  return *this;
}

CLabel& CLabel::SetToolTipText(const QString& text, int displayMs) {
  toolTipCreated_ = true;
  toolText_ = text;
  if (displayMs != 0) toolDisplayMs_ = displayMs;
  return *this;
}

CLabel& CLabel::SetHollowBackground(bool hollow) {
  hollow_ = hollow;
  update();
  return *this;
}

QColor CLabel::CurrentBackground() const {
  // The window brush shows in the "off" phase of a background blink.
  return (blinkType_ == kBlinkBackground && !blinkPhase_) ? windowColour_ : backgroundColour_;
}

void CLabel::RebuildFont() {
  QFont f(fontFace_);
  if (fontHeight_ < 0)
    f.setPixelSize(-fontHeight_);
  else if (fontHeight_ > 0)
    f.setPixelSize(fontHeight_);
  f.setWeight(fontWeight_ >= 700 ? QFont::Bold : QFont::Normal);
  f.setItalic(fontItalic_);
  f.setUnderline(fontUnderline_);
  setFont(f);
}

void CLabel::Redraw() { update(); }

void CLabel::ApplyTextColour() {
  QPalette pal = palette();
  pal.setColor(QPalette::WindowText, textColour_);
  setPalette(pal);
}

void CLabel::ApplyFrame() {
  // Two independent styles: the border is a plain line round the label, the
  // static edge a sunken line inside it. With both, the frame draws the edge
  // one pixel in and paintEvent() adds the border.
  if (staticEdge_) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
  } else if (border_) {
    setFrameStyle(QFrame::Box | QFrame::Plain);
  } else {
    setFrameStyle(QFrame::NoFrame);
  }
  setLineWidth(1);
  setFrameRect(staticEdge_ && border_ ? rect().adjusted(1, 1, -1, -1) : QRect());
  update();
}

bool CLabel::event(QEvent* event) {
  if (lexoria::ShowOwnToolTip(*this, *event, toolTipCreated_, toolText_, QRect(),
                              toolDisplayMs_ > 0 ? toolDisplayMs_ : -1))
    return true;
  return QLabel::event(event);
}

void CLabel::paintEvent(QPaintEvent* event) {
  {
    QPainter p(this);
    if (!hollow_) p.fillRect(rect(), CurrentBackground());
  }
  QLabel::paintEvent(event);
  if (border_ && staticEdge_) {
    QPainter p(this);
    p.setPen(palette().color(QPalette::WindowText));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
  }
}

void CLabel::timerEvent(QTimerEvent* event) {
  if (event->timerId() != blinkTimer_.timerId()) {
    QLabel::timerEvent(event);
    return;
  }
  blinkPhase_ = !blinkPhase_;
  if (blinkType_ == kBlinkText) {
    setText(blinkPhase_ ? QString() : savedText_);
  } else if (blinkType_ == kBlinkBackground) {
    update();
  }
}

void CLabel::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) emit rightClicked(ControlId());
  QLabel::mousePressEvent(event);
}

void CLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && clickNotify_ && rect().contains(event->position().toPoint())) emit clicked();
  QLabel::mouseReleaseEvent(event);
}
