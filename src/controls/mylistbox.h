// SPDX-License-Identifier: GPL-3.0-or-later
// CMyListBox: the phrase list. A plain single-selection list whose lines may
// carry a CItem; a click on a slot word ("[...]") of the selected line opens
// the choice combo 1115 over the word with the slot's alternatives, and a
// choice rewrites the line and has the main window show the phrase the new
// line names.
//
// How data flows: the window adds lines with AddItem() (template lines, the
// CItem shared with the phrase data) or AddPlainLine() (favourites). A slot
// click runs HitTestSlot() on the selected line; the chosen alternative goes
// through ApplyChoice(), which shows the new text on the line and emits
// lineRewritten(); the window's model, the one writer of the CItem, then
// rewrites the item, and phraseChosen() has the window show the new line's
// phrase. The window hands the list a query for its favourites view, in
// which slot clicks are plain clicks.
#pragma once

#include <QBrush>
#include <QComboBox>
#include <QListWidget>
#include <QString>
#include <functional>
#include <memory>

#include "data/item.h"

class CMyListBox : public QListWidget {
  Q_OBJECT

 public:
  // The id of the choice combo, a child of the list.
  static constexpr int kChoiceComboId = 1115;
  // Room below the line for the drop-down list.
  static constexpr int kDropDownDepth = 300;

  explicit CMyListBox(QWidget* parent = nullptr);
  ~CMyListBox() override;

  int AddItem(std::shared_ptr<lexoria::CItem> item);
  int AddPlainLine(const QString& text);
  // The item behind a line, null for plain lines.
  std::shared_ptr<lexoria::CItem> ItemOf(int row) const;

  // True when the point (viewport coordinates) hits a slot word of the line
  // at lineRect; rect then is where the combo goes (its bottom reaching
  // kDropDownDepth below the line), the combo holds the alternatives and the
  // slot members describe the slot.
  bool HitTestSlot(const QPoint& point, const lexoria::CItem& item, const QRect& lineRect, QRect& rect);
  // Shows the combo's chosen alternative on the selected line and emits
  // lineRewritten(); the item itself is left to the phrase data.
  void ApplyChoice();

  // Asked at every click: true while the window shows the favourites. Unset,
  // slots open as in any other view.
  void SetFavouritesViewQuery(std::function<bool()> query) { favouritesView_ = std::move(query); }

  // Null until the first slot hit.
  QComboBox* ChoiceCombo() const { return choiceCombo_; }
  // The rectangle of the last hit, drop-down room included.
  QRect ChoiceRect() const { return choiceRect_; }
  int SlotStart() const { return slotStart_; }
  int SlotEnd() const { return slotEnd_; }
  QString CurrentWord() const { return currentWord_; }

  // The horizontal scroll extent in pixels (at least what the lines need).
  void SetHorizontalExtent(int pixels);
  int HorizontalExtent() const { return horizontalExtent_; }
  // Where the list draws a line's text, relative to the line's rectangle.
  int TextIndent() const;

  void SetBackgroundBrush(const QBrush& brush);
  QBrush BackgroundBrush() const { return backgroundBrush_; }

 signals:
  // A slot choice rewrote a line's text; the item still holds the old one
  // until the phrase data takes the new text.
  void lineRewritten(int row, const QString& text);
  // A slot choice was applied: the window shows the phrase of the new line.
  void phraseChosen();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void updateGeometries() override;

 private:
  void CreateChoiceCombo(const QRect& rect);
  void HideChoiceCombo();
  void OnChoiceSelected(int index);
  void OnChoicePopupClosed();
  bool IsFavouritesView() const { return favouritesView_ && favouritesView_(); }

  std::function<bool()> favouritesView_;
  QComboBox* choiceCombo_ = nullptr;
  QBrush backgroundBrush_;
  int slotEnd_ = 0;
  int slotStart_ = 0;
  QString currentWord_;

  QRect choiceRect_;
  int horizontalExtent_ = 0;
};
