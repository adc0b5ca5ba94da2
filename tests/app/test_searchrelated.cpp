// SPDX-License-Identifier: GPL-3.0-or-later
// Search mode and the key-word search, related phrases and their captions.
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QTest>

#include "windowfixture.h"

using windowtest::DataFolder;
using windowtest::Window;

class SearchRelatedTest : public QObject {
  Q_OBJECT

 private slots:
  void searchModeShowsItsControls();
  void searchByEnterFollowsTheChangedFlag();
  void searchButtonAlwaysRuns();
  void exactMatch_data();
  void exactMatch();
  void searchFindsNothing();
  void liveResultsFollowTheTyping();
  void relatedPhrases();
  void relatedNeedsALoadedClip();
};

void SearchRelatedTest::searchModeShowsItsControls() {
  DataFolder data;
  Window w;
  w.Click(1021);
  CWendaroDlg& dlg = w.Dlg();
  QCOMPARE(dlg.Book().ViewMode(), lexoria::kViewSearch);
  QCOMPARE(dlg.Book().CategoryCode(), 0);
  QCOMPARE(w.Text(1018), QString("Your key word:"));
  QCOMPARE(w.Text(1025), QString("Your phrases:"));
  for (int shown : {1024, 1020, 1023, 1018, 1025}) QVERIFY2(w.Visible(shown), qPrintable(QString::number(shown)));
  QVERIFY(!w.Visible(1117));
  QVERIFY(dlg.Control(1020)->isEnabled());
  QVERIFY(w.Lines().isEmpty());
  QCOMPARE(w.Text(1019), QString());
  QCOMPARE(w.Text(1033), QString());
  QCOMPARE(w.Text(1020), QString());
  // Back to a category: the browse controls again.
  w.Click(1101);
  QVERIFY(!w.Visible(1020));
  QVERIFY(!w.Visible(1023));
  QVERIFY(!w.Visible(1024));
  QVERIFY(w.Visible(1117));
  QCOMPARE(w.Text(1018), QString("Sub category:"));
  QCOMPARE(w.Text(1025), QString());
}

void SearchRelatedTest::searchByEnterFollowsTheChangedFlag() {
  DataFolder data;
  Window w;
  w.Click(1021);
  w.TypeKeyWord("HELLO");
  QVERIFY(w.Dlg().SearchChanged());
  // The typing keeps the focus in the key-word box, repaints included.
  w.Dlg().repaint();
  QApplication::processEvents();
  QVERIFY(w.Dlg().Control(1020)->hasFocus());
  w.PressEnter();
  QCOMPARE(w.Lines(), (QStringList{"Hello", "Hello, how are you?"}));
  QCOMPARE(w.Dlg().PhraseList()->currentRow(), 0);
  QCOMPARE(w.Text(1019), QString("Pron 10"));
  QVERIFY(!w.Dlg().SearchChanged());
  QCOMPARE(w.Text(1020), QString("HELLO"));
  // A second Enter without a change runs nothing: the selection stays.
  w.ClickLine(1);
  QCOMPARE(w.Text(1019), QString("Pron 11"));
  w.PressEnter();
  QCOMPARE(w.Dlg().PhraseList()->currentRow(), 1);
  QCOMPARE(w.Text(1019), QString("Pron 11"));
  // A slot alternative is found too, the line shows the choice found.
  w.TypeKeyWord("coffee");
  w.PressEnter();
  QCOMPARE(w.Lines(), QStringList{"I want [coffee] with [milk]"});
  QCOMPARE(w.Text(1019), QString("Pron 4"));
  QVERIFY(w.Messages().isEmpty());
  // In browse mode Enter only clears the flag.
  w.Click(1101);
  w.PressEnter();
  QVERIFY(!w.Dlg().SearchChanged());
  QCOMPARE(w.Lines().size(), 151);
}

void SearchRelatedTest::searchButtonAlwaysRuns() {
  DataFolder data;
  Window w;
  w.Click(1021);
  w.TypeKeyWord("hello");
  w.Click(1023);
  QCOMPARE(w.Lines().size(), 2);
  // The button leaves the flag set, so Enter runs the search again.
  QVERIFY(w.Dlg().SearchChanged());
  w.ClickLine(1);
  w.PressEnter();
  QCOMPARE(w.Dlg().PhraseList()->currentRow(), 0);
  QVERIFY(!w.Dlg().SearchChanged());
  // And the button runs even with nothing changed.
  w.ClickLine(1);
  w.Click(1023);
  QCOMPARE(w.Dlg().PhraseList()->currentRow(), 0);
}

void SearchRelatedTest::exactMatch_data() {
  QTest::addColumn<QString>("keyWord");
  QTest::addColumn<bool>("exact");
  QTest::addColumn<QStringList>("lines");
  QTest::newRow("hello, any") << "hello" << false << QStringList{"Hello", "Hello, how are you?"};
  QTest::newRow("hello, exact") << "hello" << true << QStringList{"Hello"};
  QTest::newRow("slot word, exact") << "coffee" << true << QStringList{};
  QTest::newRow("whole template, exact") << "i want [tea|coffee] with [milk|sugar]" << true
                                         << QStringList{"I want [tea] with [milk]"};
}

void SearchRelatedTest::exactMatch() {
  QFETCH(QString, keyWord);
  QFETCH(bool, exact);
  QFETCH(QStringList, lines);
  DataFolder data;
  Window w;
  w.Click(1021);
  w.TypeKeyWord(keyWord);
  if (exact) {
    w.Dlg().Control(1024)->setFocus();
    w.Click(1024);
    QVERIFY(qobject_cast<QCheckBox*>(w.Dlg().Control(1024))->isChecked());
  }
  QVERIFY(w.Dlg().SearchChanged());
  w.PressEnter();
  QCOMPARE(w.Lines(), lines);
  QCOMPARE(w.Messages(), lines.isEmpty() ? QStringList{"This item can't be found!"} : QStringList{});
  if (!exact) return;
  // Ticking the switch alone counts as a change.
  w.Click(1024);
  QVERIFY(w.Dlg().SearchChanged());
  w.PressEnter();
  QCOMPARE(w.Lines().contains("Hello, how are you?"), keyWord == "hello");
}

void SearchRelatedTest::liveResultsFollowTheTyping() {
  DataFolder data;
  Window w;
  w.Click(1021);
  w.TypeKeyWord("hello");
  QVERIFY(w.Lines().isEmpty());  // not before the pause
  QTRY_COMPARE(w.Lines().size(), 2);
  // Nothing is selected and the keys still go to the key word.
  QCOMPARE(w.Dlg().PhraseList()->currentRow(), -1);
  QVERIFY(w.Dlg().Control(1020)->hasFocus());
  QCOMPARE(w.Text(1020), QString("hello"));
  QVERIFY(w.Messages().isEmpty());
  // Nothing found while typing is an empty list, not a message box...
  w.TypeKeyWord("xyzzyq");
  QTRY_VERIFY(w.Lines().isEmpty());
  QTest::qWait(300);
  QVERIFY(w.Messages().isEmpty());
  // ...but Enter still says so.
  w.PressEnter();
  QCOMPARE(w.TakeMessages(), QStringList{"This item can't be found!"});
  // A slip corrected is said above the list, Enter shows the phrase.
  w.TypeKeyWord("cofee");
  w.PressEnter();
  QCOMPARE(w.Lines(), QStringList{"I want [coffee] with [milk]"});
  QCOMPARE(w.Dlg().Control(1025)->toolTip(), QString("Showing results for \u201Ccoffee\u201D"));
  QCOMPARE(w.Text(1025), QString("Showing results for \u201Ccoffee\u201D:"));
  // In a longer query the caption names the corrected word, the tooltip the whole.
  w.TypeKeyWord("I want cofee");
  w.PressEnter();
  QCOMPARE(w.Text(1025), QString("Showing results for \u201Ccoffee\u201D:"));
  QCOMPARE(w.Dlg().Control(1025)->toolTip(), QString("Showing results for \u201Ci want coffee\u201D"));
  // The pause after Enter runs nothing more: the selection stays.
  QTest::qWait(300);
  QCOMPARE(w.Dlg().PhraseList()->currentRow(), 0);
  // A search as typed says nothing of corrections; another mode has its own caption.
  w.TypeKeyWord("coffee");
  w.PressEnter();
  QCOMPARE(w.Text(1025), QString("Your phrases:"));
  w.TypeKeyWord("cofee");
  w.PressEnter();
  w.Click(1101);
  QCOMPARE(w.Text(1025), QString());
  QVERIFY(w.Dlg().Control(1025)->toolTip().isEmpty());
}

void SearchRelatedTest::searchFindsNothing() {
  DataFolder data;
  Window w;
  w.Click(1021);
  w.TypeKeyWord("zebra");
  w.PressEnter();
  QCOMPARE(w.Messages(), QStringList{"This item can't be found!"});
  QVERIFY(w.Lines().isEmpty());
  QCOMPARE(w.Text(1019), QString());
  // Play with the empty list does nothing.
  w.Click(1031);
  QVERIFY(w.Sound().Writes().empty());
}

void SearchRelatedTest::relatedPhrases() {
  DataFolder data;
  Window w;
  CWendaroDlg& dlg = w.Dlg();
  // Phrase 1 was shown and its clip loaded at start-up.
  w.Click(1022);
  QCOMPARE(w.Lines(), (QStringList{"Hello", "Hello, how are you?"}));
  QCOMPARE(dlg.Book().ViewMode(), lexoria::kViewRelated);
  QCOMPARE(dlg.Book().CategoryCode(), 0);
  QCOMPARE(w.Text(1018), QString("Your phrase:"));
  QCOMPARE(w.Text(1025), QString("Related phrases:"));
  QVERIFY(w.Visible(1020));
  QVERIFY(!dlg.Control(1020)->isEnabled());
  QCOMPARE(w.Text(1020), QString("Phrase 1"));
  for (int hidden : {1117, 1023, 1024}) QVERIFY(!w.Visible(hidden));
  QCOMPARE(w.Text(1019), QString("Pron 10"));
  QCOMPARE(dlg.Book().CurrentClip(), 10);
  // Again: the phrases related to the related phrase now shown. Phrase 1
  // keeps its byte-order mark in a related list and is still found.
  w.Click(1022);
  QCOMPARE(w.Lines(), QStringList{QString(QChar(0xFEFF)) + "Phrase 1"});
  QCOMPARE(w.Text(1020), QString("Hello"));
  QCOMPARE(w.Text(1019), QString("Pron 1"));
  QVERIFY(w.Messages().isEmpty());
  // A phrase with no relations: the message, list and mode unchanged.
  w.Click(1022);
  w.ClickLine(1);
  QCOMPARE(w.Text(1019), QString("Pron 11"));
  w.Click(1022);
  QCOMPARE(w.Messages(), QStringList{"No related phrase(s) found!"});
  QCOMPARE(w.Lines(), (QStringList{"Hello", "Hello, how are you?"}));
  QCOMPARE(dlg.Book().ViewMode(), lexoria::kViewRelated);
  QVERIFY(!dlg.Control(1020)->isEnabled());
  // Enter does nothing here but clear the flag.
  w.PressEnter();
  QCOMPARE(w.Lines().size(), 2);
}

// Mended: with no recording for the phrase shown, Related listed the
// relations of the phrase whose recording was still held (phrase 1).
void SearchRelatedTest::relatedNeedsALoadedClip() {
  DataFolder data;
  // Clip 29 empty in the index.
  QFile index(data.File("data.idx"));
  QVERIFY(index.open(QIODevice::ReadWrite));
  index.seek(28 * 8 + 4);
  index.write(QByteArray(4, '\0'));
  index.close();
  Window w;
  w.ClickLine(25);
  QCOMPARE(w.Text(1019), QString("Pron 29"));
  QCOMPARE(w.Dlg().Book().CurrentClip(), -1);
  w.TakeMessages();
  w.Click(1022);
  QCOMPARE(w.Messages(), QStringList{"No related phrase(s) found!"});
  QCOMPARE(w.Lines().size(), 151);
}

QTEST_MAIN(SearchRelatedTest)
#include "test_searchrelated.moc"
