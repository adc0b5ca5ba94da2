// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/showcard.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "controls/rubytext.h"

namespace {

// Margins and shares of the card's height: the Japanese takes what is left
// once the kana and the English have theirs.
constexpr double kMargin = 0.05;
constexpr double kKanaShare = 0.18;
constexpr double kEnglishShare = 0.08;
constexpr int kTextFlags = Qt::AlignCenter | Qt::TextWordWrap;

const QColor kCardPaper(252, 247, 234);
const QColor kCardInk(27, 38, 72);
const QColor kCardSoftInk(90, 96, 120);

// Largest pixel size at which text, wrapped at the area's width, fits it.
int LargestFit(const QString& text, QFont font, const QRect& area) {
  if (text.isEmpty() || area.width() < 1 || area.height() < 1) return 0;
  int low = 4, high = std::max(4, area.height());
  while (low < high) {
    const int mid = (low + high + 1) / 2;
    font.setPixelSize(mid);
    const QRect need = QFontMetrics(font).boundingRect(QRect(0, 0, area.width(), 1 << 20), kTextFlags, text);
    if (need.width() <= area.width() && need.height() <= area.height()) {
      low = mid;
    } else {
      high = mid - 1;
    }
  }
  return low;
}

}  // namespace

CShowCard::CShowCard(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
  setAttribute(Qt::WA_QuitOnClose, false);
  setWindowTitle(QStringLiteral("Lexoria_Japanese"));
  setCursor(Qt::PointingHandCursor);
  setFocusPolicy(Qt::StrongFocus);
}

void CShowCard::SetTexts(const QString& japanese, const QString& kana, const QString& english,
                         const QFont& japaneseFont, const QFont& latinFont) {
  japanese_ = japanese;
  kana_ = kana;
  english_ = english;
  japaneseFont_ = japaneseFont;
  latinFont_ = latinFont;
  Fit();
  update();
}

QRect CShowCard::JapaneseArea() const {
  const int m = static_cast<int>(height() * kMargin);
  const double below = (kana_.isEmpty() ? 0.0 : kKanaShare) + kEnglishShare;
  const int bottom = static_cast<int>(height() * (1.0 - kMargin - below));
  return QRect(QPoint(m, m), QPoint(width() - m - 1, bottom - 1));
}

QRect CShowCard::KanaArea() const {
  if (kana_.isEmpty()) return QRect();
  const QRect above = JapaneseArea();
  return QRect(above.left(), above.bottom() + 1, above.width(), static_cast<int>(height() * kKanaShare));
}

QRect CShowCard::EnglishArea() const {
  const QRect above = JapaneseArea();
  const int top = static_cast<int>(height() * (1.0 - kMargin - kEnglishShare));
  return QRect(above.left(), top, above.width(), static_cast<int>(height() * kEnglishShare));
}

int CShowCard::KanaPixelSize() const {
  // Readable, and never larger than the Japanese it spells.
  const int fit = LargestFit(kana_, japaneseFont_, KanaArea());
  return japaneseSize_ > 0 ? std::min(fit, japaneseSize_) : fit;
}

int CShowCard::EnglishPixelSize() const {
  return std::min(LargestFit(english_, latinFont_, EnglishArea()), std::max(12, height() / 24));
}

void CShowCard::SetReadings(std::optional<lexoria::RubyText> readings) {
  readings_ = std::move(readings);
  Fit();
  update();
}

void CShowCard::Fit() {
  const QRect area = JapaneseArea();
  japaneseSize_ =
      readings_ ? CRubyLayout::FittingPixelSize(*readings_, japaneseFont_, area.size(), std::max(4, area.height()), 4)
                : LargestFit(japanese_, japaneseFont_, area);
}

void CShowCard::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), kCardPaper);
  p.setRenderHint(QPainter::TextAntialiasing);
  QFont font = japaneseFont_;
  if (japaneseSize_ > 0) {
    font.setPixelSize(japaneseSize_);
    p.setFont(font);
    p.setPen(kCardInk);
    if (readings_) {
      const QRect area = JapaneseArea();
      const CRubyLayout layout(*readings_, font, area.width());
      layout.Draw(p, QPointF(area.left(), area.top() + std::max(0.0, (area.height() - layout.Size().height()) / 2)));
    } else {
      p.drawText(JapaneseArea(), kTextFlags, japanese_);
    }
  }
  if (const int size = KanaPixelSize(); size > 0) {
    font.setPixelSize(size);
    p.setFont(font);
    p.setPen(kCardInk);
    p.drawText(KanaArea(), kTextFlags, kana_);
  }
  if (const int size = EnglishPixelSize(); size > 0) {
    QFont latin = latinFont_;
    latin.setPixelSize(size);
    p.setFont(latin);
    p.setPen(kCardSoftInk);
    p.drawText(EnglishArea(), kTextFlags, english_);
  }
}

void CShowCard::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Fit();
}

// The card's keys are its own, even where the main window has a shortcut
// for them (F11) and the window system still counts that window active.
bool CShowCard::event(QEvent* event) {
  if (event->type() == QEvent::ShortcutOverride) {
    switch (static_cast<QKeyEvent*>(event)->key()) {
      case Qt::Key_Space:
      case Qt::Key_S:
      case Qt::Key_F:
      case Qt::Key_Escape:
      case Qt::Key_F11: event->accept(); return true;
      default: break;
    }
  }
  return QWidget::event(event);
}

void CShowCard::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Space: emit playRequested(); break;
    case Qt::Key_S: emit playSlowlyRequested(); break;
    case Qt::Key_F: emit furiganaToggled(); break;
    case Qt::Key_Escape:
    case Qt::Key_F11: close(); break;
    default: QWidget::keyPressEvent(event); return;
  }
  // Handled here: nothing reaches the main window, where Escape would end
  // the program.
  event->accept();
}

void CShowCard::mousePressEvent(QMouseEvent* event) {
  pressed_ = true;
  event->accept();
}

void CShowCard::mouseReleaseEvent(QMouseEvent* event) {
  if (pressed_) close();
  pressed_ = false;
  event->accept();
}
