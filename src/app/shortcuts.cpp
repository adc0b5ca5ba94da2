// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard: the window's shortcuts, Space in the phrase list, and the
// double-click on the Japanese. Escape and Enter keep their meaning
// (wendarodlg.cpp).
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QShortcut>
#include <functional>

#include "app/wendarodlg.h"

namespace {

// Hands a widget's events to a function first; true from it eats the event.
class EventHook : public QObject {
 public:
  EventHook(QObject* watched, std::function<bool(QEvent*)> hook) : QObject(watched), hook_(std::move(hook)) {
    watched->installEventFilter(this);
  }
  bool eventFilter(QObject*, QEvent* event) override { return hook_(event); }

 private:
  std::function<bool(QEvent*)> hook_;
};

constexpr char kKeysHelp[] =
    "Keys:\n"
    "Space - play the phrase (in the list)\n"
    "Shift+click on play, or the tortoise - play slowly\n"
    "Ctrl+F or / - search by key word\n"
    "Enter - run the search\n"
    "Alt+1 ... Alt+0 - the ten categories\n"
    "Ctrl+D - add to or remove from the favourites\n"
    "Ctrl+R - related phrases\n"
    "Ctrl+C - copy the Japanese (right-click it for more)\n"
    "F11 or double-click on the Japanese - show it large; Space plays, S plays slowly, F furigana, Escape closes\n"
    "Ctrl+K - furigana over the kanji (or right-click the Japanese)\n"
    "Ctrl+P - practice: Space shows the answer, 1-4 rate it, R plays it again\n"
    "Right-click on Favorites - practise or export them for flashcards\n"
    "F1 - this list\n"
    "Escape - quit";

}  // namespace

void CWendaroDlg::WireShortcuts() {
  const auto bind = [this](const QKeySequence& keys, std::function<void()> handler) {
    auto* shortcut = new QShortcut(keys, this);
    connect(shortcut, &QShortcut::activated, this, std::move(handler));
  };
  bind(QKeySequence(Qt::CTRL | Qt::Key_F), [this] { OnSearchKey(); });
  bind(QKeySequence(Qt::Key_Slash), [this] { OnSearchKey(); });
  // In the order of the buttons, Alt+0 the tenth.
  for (int i = 0; i < 10; ++i) {
    bind(QKeySequence(Qt::ALT | (Qt::Key_0 + (i + 1) % 10)), [this, i] { categoryButtons_[i]->click(); });
  }
  bind(QKeySequence(Qt::CTRL | Qt::Key_D), [this] { OnToggleFavourite(); });
  bind(QKeySequence(Qt::CTRL | Qt::Key_R), [this] { OnRelatedPhrases(); });
  bind(QKeySequence::Copy, [this] { OnCopyShown(); });
  bind(QKeySequence(Qt::Key_F11), [this] { OnShowCard(); });
  bind(QKeySequence(Qt::Key_F1), [this] { OnKeysHelp(); });

  new EventHook(phraseList_, [this](QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Space && key->modifiers() == Qt::NoModifier) {
      PlayShown(1.0f);
      return true;
    }
    // The list would copy its own line; the traveller wants the Japanese.
    if (key->matches(QKeySequence::Copy)) {
      OnCopyShown();
      return true;
    }
    return false;
  });
  new EventHook(japanese_, [this](QEvent* event) {
    if (event->type() != QEvent::MouseButtonDblClick) return false;
    OnShowCard();
    return true;
  });
}

void CWendaroDlg::OnSearchKey() {
  // Already searching: back to the key word, keeping the list found.
  if (book_.ViewMode() == lexoria::kViewSearch) {
    KeyWordEdit()->setFocus(Qt::ShortcutFocusReason);
    KeyWordEdit()->selectAll();
    return;
  }
  OnSearchMode();
}

void CWendaroDlg::OnKeysHelp() { ShowMessage(kKeysHelp); }
