// SPDX-License-Identifier: GPL-3.0-or-later
// What a traveller does beyond the described window: slow playback, copying
// the phrase, the card shown to a local, and the keyboard.
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include "app/showcard.h"
#include "controls/hoverbutton.h"
#include "windowfixture.h"

using windowtest::DataFolder;
using windowtest::Window;

namespace {

// Opens the context menu of a control and triggers its entry `label`.
// False when no menu came up or it had no such enabled entry.
bool TriggerMenuEntry(QWidget* control, const QString& label) {
  bool triggered = false;
  QTimer::singleShot(0, control, [&triggered, label] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr) return;
    for (QAction* action : menu->actions()) {
      if (action->text() == label && action->isEnabled()) {
        action->trigger();
        triggered = true;
      }
    }
    menu->close();
  });
  const QPoint at = control->rect().center();
  QContextMenuEvent event(QContextMenuEvent::Mouse, at, control->mapToGlobal(at));
  QApplication::sendEvent(control, &event);
  return triggered;
}

QString Clipboard() { return QGuiApplication::clipboard()->text(); }

void Key(Window& w, int key, Qt::KeyboardModifiers modifiers = {}) {
  QWidget* target = QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : &w.Dlg();
  QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
}

// Waits for the card to be closed and the main window still up.
bool CardClosedWindowUp(CWendaroDlg& dlg) {
  return QTest::qWaitFor([&dlg] { return dlg.Card() != nullptr && !dlg.Card()->isVisible(); }, 2000) &&
         dlg.isVisible() && dlg.result() == 0;
}

}  // namespace

class TravellerKeysTest : public QObject {
  Q_OBJECT

 private slots:
  void slowButtonPlaysLonger();
  void copyShortcutTakesTheFormShown();
  void copyMenuEntries_data();
  void copyMenuEntries();
  void copyMenuOfATemplateLine();
  void cardOpensAndClosesAlone();
  void cardPlaysAndShowsKanaOnlyForKanji();
  void searchTakesTheTyping_data();
  void searchTakesTheTyping();
  void slashIsTextInTheKeyWordBox();
  void altDigitsChooseCategories_data();
  void altDigitsChooseCategories();
  void favouriteAndRelatedKeys();
  void spaceInTheListPlays();
  void keysHelp();
};

void TravellerKeysTest::slowButtonPlaysLonger() {
  DataFolder data;
  Window w;
  CWendaroDlg& dlg = w.Dlg();
  auto* slow = qobject_cast<CHoverButton*>(dlg.Control(CWendaroDlg::kSlowPlayButtonId));
  QVERIFY(slow != nullptr && slow->isVisible());
  QCOMPARE(slow->ToolTipText(), QString("Play slowly"));
  QCOMPARE(slow->size(), dlg.Control(1031)->size());
  QVERIFY(!slow->geometry().intersects(dlg.Control(1031)->geometry()));
  // Like play, it speaks the phrase on show from start-up on.
  w.Click(CWendaroDlg::kSlowPlayButtonId);
  QCOMPARE(w.Sound().Writes().size(), size_t{1});

  w.ClickLine(2);
  w.Click(1031);
  QCOMPARE(w.Sound().Writes().size(), size_t{2});
  const double normal = static_cast<double>(w.Sound().Writes().back().size());
  QVERIFY(normal > 0);
  w.Click(CWendaroDlg::kSlowPlayButtonId);
  QCOMPARE(w.Sound().Writes().size(), size_t{3});
  const double slowSize = static_cast<double>(w.Sound().Writes().back().size());
  QVERIFY2(std::abs(slowSize / normal - 1.0 / 0.7) < 0.01, qPrintable(QString::number(slowSize / normal)));
  // Shift+click on play is the same; a plain click afterwards is not slow.
  QTest::mouseClick(dlg.Control(1031), Qt::LeftButton, Qt::ShiftModifier, dlg.Control(1031)->rect().center());
  QCOMPARE(static_cast<double>(w.Sound().Writes().back().size()), slowSize);
  w.Click(1031);
  QCOMPARE(static_cast<double>(w.Sound().Writes().back().size()), normal);
}

void TravellerKeysTest::copyShortcutTakesTheFormShown() {
  DataFolder data;
  Window w;
  QGuiApplication::clipboard()->setText("before");
  QVERIFY(w.Dlg().PhraseList()->hasFocus());
  Key(w, Qt::Key_C, Qt::ControlModifier);
  QCOMPARE(Clipboard(), QString("Kanji 1"));
  w.Click(1035);  // hides itself, shows the kana switch
  w.Click(1036);
  w.Dlg().PhraseList()->setFocus();
  Key(w, Qt::Key_C, Qt::ControlModifier);
  QCOMPARE(Clipboard(), QString("Kana 1"));
  // With the focus on a button, Ctrl+C still copies the phrase.
  w.Dlg().Control(1101)->setFocus();
  w.ClickLine(2);
  w.Dlg().Control(1101)->setFocus();
  Key(w, Qt::Key_C, Qt::ControlModifier);
  QCOMPARE(Clipboard(), QString("Kana 6"));
  // Nothing shown (search mode, empty list): the clipboard keeps its text.
  w.Click(1021);
  w.Dlg().PhraseList()->setFocus();
  Key(w, Qt::Key_C, Qt::ControlModifier);
  QCOMPARE(Clipboard(), QString("Kana 6"));
}

void TravellerKeysTest::copyMenuEntries_data() {
  QTest::addColumn<int>("control");
  QTest::addColumn<QString>("entry");
  QTest::addColumn<QString>("copied");
  const QString all = "Phrase 1\nKanji 1\nKana 1\nPron 1";
  for (int control : {1033, 1019}) {
    const QByteArray on = QByteArray::number(control);
    QTest::newRow(on + " Japanese") << control << "Copy Japanese"
                                    << "Kanji 1";
    QTest::newRow(on + " kana") << control << "Copy kana"
                                << "Kana 1";
    QTest::newRow(on + " romaji") << control << "Copy romaji"
                                  << "Pron 1";
    QTest::newRow(on + " English") << control << "Copy English"
                                   << "Phrase 1";
    QTest::newRow(on + " all") << control << "Copy all" << all;
  }
}

void TravellerKeysTest::copyMenuEntries() {
  QFETCH(int, control);
  QFETCH(QString, entry);
  QFETCH(QString, copied);
  DataFolder data;
  Window w;
  QGuiApplication::clipboard()->setText("before");
  // Phrase 1 keeps byte-order marks in its fields: none reaches the copy.
  QVERIFY(TriggerMenuEntry(w.Dlg().Control(control), entry));
  QCOMPARE(Clipboard(), copied);
}

void TravellerKeysTest::copyMenuOfATemplateLine() {
  DataFolder data;
  Window w;
  w.ClickLine(1);  // "I want [tea] with [milk]"
  QVERIFY(TriggerMenuEntry(w.Dlg().Control(1033), "Copy English"));
  QCOMPARE(Clipboard(), QString("I want tea with milk"));
  QVERIFY(TriggerMenuEntry(w.Dlg().Control(1019), "Copy all"));
  QCOMPARE(Clipboard(), QString("I want tea with milk\nKanji 2\nKana 2\nPron 2"));
  // No phrase shown: the entries are there but copy nothing.
  w.Click(1021);
  QGuiApplication::clipboard()->setText("kept");
  QVERIFY(!TriggerMenuEntry(w.Dlg().Control(1033), "Copy Japanese"));
  QCOMPARE(Clipboard(), QString("kept"));
}

void TravellerKeysTest::cardOpensAndClosesAlone() {
  DataFolder data;
  Window w;
  CWendaroDlg& dlg = w.Dlg();
  // F11 opens it; Escape closes the card and nothing else.
  Key(w, Qt::Key_F11);
  QVERIFY(dlg.Card() != nullptr);
  QVERIFY(QTest::qWaitFor([&dlg] { return dlg.Card()->isVisible(); }, 2000));
  QVERIFY(dlg.Card()->isFullScreen());
  QTest::keyClick(dlg.Card(), Qt::Key_Escape);
  QVERIFY(CardClosedWindowUp(dlg));
  // Escape again, now in the main window, ends the program as it always did.
  QVERIFY(dlg.isVisible());

  // A double-click on the Japanese opens it; its own release does not close
  // it, a click on the card does.
  QWidget* japanese = dlg.Control(1033);
  QTest::mouseDClick(japanese, Qt::LeftButton, {}, japanese->rect().center());
  QTest::mouseRelease(japanese, Qt::LeftButton, {}, japanese->rect().center());
  QVERIFY(QTest::qWaitFor([&dlg] { return dlg.Card()->isVisible(); }, 2000));
  QTest::mouseClick(dlg.Card(), Qt::LeftButton, {}, dlg.Card()->rect().center());
  QVERIFY(CardClosedWindowUp(dlg));

  // F11 on the card closes it too.
  Key(w, Qt::Key_F11);
  QVERIFY(QTest::qWaitFor([&dlg] { return dlg.Card()->isVisible(); }, 2000));
  QTest::keyClick(dlg.Card(), Qt::Key_F11);
  QVERIFY(CardClosedWindowUp(dlg));
  QVERIFY(w.Messages().isEmpty());
}

void TravellerKeysTest::cardPlaysAndShowsKanaOnlyForKanji() {
  DataFolder data;
  Window w;
  CWendaroDlg& dlg = w.Dlg();
  w.ClickLine(2);
  dlg.OnShowCard();
  CShowCard* card = dlg.Card();
  QVERIFY(QTest::qWaitFor([card] { return card->isVisible(); }, 2000));
  QCOMPARE(card->Japanese(), QString("Kanji 6"));
  QCOMPARE(card->Kana(), QString("Kana 6"));
  QCOMPARE(card->English(), QString("Phrase 6"));
  // As large as fits: far above the window's 22 pixels, inside its area,
  // with the English smaller below it.
  QVERIFY2(card->JapanesePixelSize() > 3 * 22, qPrintable(QString::number(card->JapanesePixelSize())));
  QVERIFY(card->rect().contains(card->JapaneseArea()));
  QVERIFY(card->KanaArea().top() > card->JapaneseArea().bottom());
  QVERIFY(card->EnglishArea().top() >= card->KanaArea().bottom());
  QVERIFY(card->rect().contains(card->EnglishArea()));
  QFont big = dlg.JapaneseFont();
  big.setPixelSize(card->JapanesePixelSize());
  const QRect need =
      QFontMetrics(big).boundingRect(card->JapaneseArea(), Qt::AlignCenter | Qt::TextWordWrap, card->Japanese());
  QVERIFY(card->JapaneseArea().contains(need));

  // Space plays, S plays slowly.
  QTest::keyClick(card, Qt::Key_Space);
  QCOMPARE(w.Sound().Writes().size(), size_t{1});
  const double normal = static_cast<double>(w.Sound().Writes().back().size());
  QTest::keyClick(card, Qt::Key_S);
  QCOMPARE(w.Sound().Writes().size(), size_t{2});
  QVERIFY(std::abs(static_cast<double>(w.Sound().Writes().back().size()) / normal - 1.0 / 0.7) < 0.01);
  QTest::keyClick(card, Qt::Key_Escape);
  QVERIFY(CardClosedWindowUp(dlg));

  // The kana form shown: the card shows it, with no second line.
  w.Click(1035);
  w.Click(1036);
  dlg.OnShowCard();
  QCOMPARE(card->Japanese(), QString("Kana 6"));
  QVERIFY(card->Kana().isEmpty());
  QTest::keyClick(card, Qt::Key_Escape);
  QVERIFY(CardClosedWindowUp(dlg));

  // Nothing shown: no card.
  w.Click(1021);
  dlg.OnShowCard();
  QVERIFY(!card->isVisible());
}

void TravellerKeysTest::searchTakesTheTyping_data() {
  QTest::addColumn<int>("how");  // 0 click on Search, 1 Ctrl+F, 2 "/"
  QTest::newRow("click") << 0;
  QTest::newRow("Ctrl+F") << 1;
  QTest::newRow("slash") << 2;
}

void TravellerKeysTest::searchTakesTheTyping() {
  QFETCH(int, how);
  DataFolder data;
  Window w;
  CWendaroDlg& dlg = w.Dlg();
  if (how == 0) w.Click(1021);
  if (how == 1) Key(w, Qt::Key_F, Qt::ControlModifier);
  if (how == 2) Key(w, Qt::Key_Slash);
  QCOMPARE(dlg.Book().ViewMode(), lexoria::kViewSearch);
  QVERIFY(dlg.Control(1020)->hasFocus());
  // What the user types goes there, and Enter searches.
  QTest::keyClicks(QApplication::focusWidget(), "hello");
  QCOMPARE(w.Text(1020), QString("hello"));
  Key(w, Qt::Key_Return);
  QCOMPARE(w.Lines(), QStringList({"Hello", "Hello, how are you?"}));
  // Back to the key word from the list, keeping what was found.
  dlg.PhraseList()->setFocus();
  Key(w, Qt::Key_F, Qt::ControlModifier);
  QVERIFY(dlg.Control(1020)->hasFocus());
  QCOMPARE(w.Lines().size(), 2);
}

void TravellerKeysTest::slashIsTextInTheKeyWordBox() {
  DataFolder data;
  Window w;
  w.Click(1021);
  QTest::keyClicks(QApplication::focusWidget(), "a/b");
  QCOMPARE(w.Text(1020), QString("a/b"));
  QVERIFY(w.Dlg().Control(1020)->hasFocus());
}

void TravellerKeysTest::altDigitsChooseCategories_data() {
  QTest::addColumn<int>("key");
  QTest::addColumn<int>("code");
  const int codes[] = {100, 200, 400, 300, 700, 500, 600, 800, 900, 1000};
  for (int i = 0; i < 10; ++i) {
    const int digit = (i + 1) % 10;
    QTest::newRow(qPrintable(QString("Alt+%1").arg(digit))) << int(Qt::Key_0 + digit) << codes[i];
  }
}

void TravellerKeysTest::altDigitsChooseCategories() {
  QFETCH(int, key);
  QFETCH(int, code);
  DataFolder data;
  Window w;
  // From search mode, where the category buttons' codes are all left.
  w.Click(1021);
  w.Dlg().PhraseList()->setFocus();
  Key(w, key, Qt::AltModifier);
  QCOMPARE(w.Dlg().Book().CategoryCode(), code);
  QCOMPARE(w.Dlg().Book().ViewMode(), lexoria::kViewBrowse);
  QCOMPARE(w.Text(1117), QString("All"));
}

void TravellerKeysTest::favouriteAndRelatedKeys() {
  DataFolder data;
  Window w;
  CWendaroDlg& dlg = w.Dlg();
  Key(w, Qt::Key_D, Qt::ControlModifier);
  QCOMPARE(w.TakeMessages(), QStringList{"One item has just added to your favorite category"});
  Key(w, Qt::Key_D, Qt::ControlModifier);
  QCOMPARE(w.TakeMessages(), QStringList{"This item has already existed in favorite category!"});
  QCOMPARE(windowtest::ReadFavourites().size(), size_t{1});
  w.Click(1026);
  QVERIFY(dlg.Book().FavouritesView());
  Key(w, Qt::Key_D, Qt::ControlModifier);
  QCOMPARE(w.TakeMessages(), QStringList{"One item has just removed from your favorite category"});
  QVERIFY(windowtest::ReadFavourites().empty());

  // Ctrl+R: the phrases related to phrase 1.
  w.Click(1101);
  Key(w, Qt::Key_R, Qt::ControlModifier);
  QCOMPARE(dlg.Book().ViewMode(), lexoria::kViewRelated);
  QCOMPARE(w.Lines(), QStringList({"Hello", "Hello, how are you?"}));
  QCOMPARE(w.Text(1018), QString("Your phrase:"));
}

void TravellerKeysTest::spaceInTheListPlays() {
  DataFolder data;
  Window w;
  CMyListBox* list = w.Dlg().PhraseList();
  QVERIFY(list->hasFocus());
  // The phrase shown from the start, without waiting for a click.
  QTest::keyClick(list, Qt::Key_Space);
  QCOMPARE(w.Sound().Writes().size(), size_t{1});
  QCOMPARE(list->currentRow(), 0);
  QTest::keyClick(list, Qt::Key_Down);
  QCOMPARE(w.Dlg().Book().CurrentClip(), 2);
  QTest::keyClick(list, Qt::Key_Space);
  QCOMPARE(w.Sound().Writes().size(), size_t{2});
  QVERIFY(w.Sound().Writes()[1].size() > w.Sound().Writes()[0].size());
}

void TravellerKeysTest::keysHelp() {
  DataFolder data;
  Window w;
  Key(w, Qt::Key_F1);
  const QStringList messages = w.TakeMessages();
  QCOMPARE(messages.size(), 1);
  for (const char* key : {"Space", "Ctrl+F", "Alt+1", "Ctrl+D", "Ctrl+R", "Ctrl+C", "F11", "Escape"}) {
    QVERIFY2(messages[0].contains(key), key);
  }
}

QTEST_MAIN(TravellerKeysTest)
#include "test_travellerkeys.moc"
