// SPDX-License-Identifier: GPL-3.0-or-later
// Slot words in the phrase list: a click on a slot opens the choice combo
// over it with that slot's alternatives; a choice rewrites the line and
// shows the phrase it names.
#include <QComboBox>
#include <QFontMetrics>
#include <QScrollBar>
#include <QTest>

#include "windowfixture.h"

using windowtest::DataFolder;
using windowtest::Window;

namespace {

// The point over a character range of a line, where the list draws it.
QPoint PointOver(CMyListBox* list, int row, int from, int to) {
  const QString text = list->item(row)->text();
  const QFontMetrics metrics(list->font());
  const QRect line = list->visualItemRect(list->item(row));
  const int x1 = metrics.horizontalAdvance(text.left(from));
  const int x2 = metrics.horizontalAdvance(text.left(to));
  return QPoint(line.left() + list->TextIndent() + (x1 + x2) / 2, line.center().y());
}

QStringList Entries(QComboBox* combo) {
  QStringList entries;
  for (int i = 0; i < combo->count(); ++i) entries << combo->itemText(i);
  return entries;
}

}  // namespace

class SlotChoiceTest : public QObject {
  Q_OBJECT

 private slots:
  void secondSlotOpensItsAlternatives();
  void firstSlotAndChoosingTheSameWord();
  void clicksThatOpenNothing_data();
  void clicksThatOpenNothing();
  void focusLossAndWheelClose();
  void scrolledListStillHitsTheWord();
};

void SlotChoiceTest::secondSlotOpensItsAlternatives() {
  DataFolder data;
  Window w;
  CMyListBox* list = w.Dlg().PhraseList();
  const QString line = "I want [tea] with [milk]";
  QCOMPARE(list->item(1)->text(), line);
  w.ClickLine(1);  // select it first: the combo opens on the selected line
  QCOMPARE(w.Text(1019), QString("Pron 2"));
  const int b = static_cast<int>(line.lastIndexOf('['));
  const int e = static_cast<int>(line.lastIndexOf(']'));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, PointOver(list, 1, b + 1, e));
  QComboBox* combo = list->ChoiceCombo();
  QVERIFY(combo != nullptr);
  QCOMPARE(combo->objectName(), QString("1115"));
  QVERIFY(combo->isVisible());
  QCOMPARE(Entries(combo), (QStringList{"milk", "sugar"}));
  QCOMPARE(list->SlotStart(), b);
  QCOMPARE(list->SlotEnd(), e);
  QCOMPARE(list->CurrentWord(), QString("milk"));
  // Over the word, as wide as the widest alternative + 5, 300 px of room.
  const QFontMetrics metrics(list->font());
  const QRect lineRect = list->visualItemRect(list->item(1));
  const QRect rect = list->ChoiceRect();
  QCOMPARE(rect.left(), lineRect.left() + list->TextIndent() + metrics.horizontalAdvance(line.left(b + 1)));
  QCOMPARE(rect.width(), metrics.horizontalAdvance("sugar") + 5);
  QCOMPARE(rect.top(), lineRect.top());
  QCOMPARE(rect.bottom(), lineRect.bottom() + 300);
  QCOMPARE(combo->geometry().topLeft(), rect.topLeft());
  QCOMPARE(combo->width(), rect.width());

  combo->hidePopup();
  combo->setCurrentIndex(1);
  emit combo->activated(1);
  QVERIFY(!combo->isVisible());
  QCOMPARE(list->item(1)->text(), QString("I want [tea] with [sugar]"));
  QCOMPARE(list->currentRow(), 1);
  QCOMPARE(w.Text(1019), QString("Pron 3"));
  QCOMPARE(w.Dlg().Book().CurrentClip(), 3);
  // The model holds the rewritten line: adding it stores the new phrase.
  w.Click(1116);
  QCOMPARE(windowtest::ReadFavourites().back(), (windowtest::FavouriteRecord{"I want tea with sugar", 3}));
  QCOMPARE(w.Messages().first(), QString("One item has just added to your favorite category"));
}

void SlotChoiceTest::firstSlotAndChoosingTheSameWord() {
  DataFolder data;
  Window w;
  CMyListBox* list = w.Dlg().PhraseList();
  w.ClickLine(1);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, PointOver(list, 1, 8, 11));
  QComboBox* combo = list->ChoiceCombo();
  QVERIFY(combo != nullptr && combo->isVisible());
  QCOMPARE(Entries(combo), (QStringList{"tea", "coffee"}));
  combo->hidePopup();
  combo->setCurrentIndex(1);
  emit combo->activated(1);
  QCOMPARE(list->item(1)->text(), QString("I want [coffee] with [milk]"));
  QCOMPARE(w.Text(1019), QString("Pron 4"));
  // The same word again: the same text and phrase.
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, PointOver(list, 1, 8, 14));
  QVERIFY(combo->isVisible());
  combo->hidePopup();
  combo->setCurrentIndex(1);
  emit combo->activated(1);
  QCOMPARE(list->item(1)->text(), QString("I want [coffee] with [milk]"));
  QCOMPARE(w.Text(1019), QString("Pron 4"));
  QVERIFY(w.Messages().isEmpty());
}

void SlotChoiceTest::clicksThatOpenNothing_data() {
  QTest::addColumn<int>("from");
  QTest::addColumn<int>("to");
  QTest::addColumn<bool>("favourites");
  // "I want [tea] with [milk]": the words before, a bracket, the gap.
  QTest::newRow("plain words") << 0 << 6 << false;
  QTest::newRow("opening bracket") << 7 << 8 << false;
  QTest::newRow("closing bracket") << 11 << 12 << false;
  QTest::newRow("between the slots") << 12 << 18 << false;
}

void SlotChoiceTest::clicksThatOpenNothing() {
  QFETCH(int, from);
  QFETCH(int, to);
  DataFolder data;
  Window w;
  CMyListBox* list = w.Dlg().PhraseList();
  w.ClickLine(1);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, PointOver(list, 1, from, to));
  QVERIFY(list->ChoiceCombo() == nullptr || !list->ChoiceCombo()->isVisible());
  QCOMPARE(list->item(1)->text(), QString("I want [tea] with [milk]"));
}

void SlotChoiceTest::focusLossAndWheelClose() {
  DataFolder data;
  Window w;
  CMyListBox* list = w.Dlg().PhraseList();
  w.ClickLine(1);
  const QPoint slot = PointOver(list, 1, 8, 11);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, slot);
  QComboBox* combo = list->ChoiceCombo();
  QVERIFY(combo->isVisible());
  combo->hidePopup();  // a cancel closes the combo with its drop-down
  QVERIFY(!combo->isVisible());
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, slot);
  QVERIFY(combo->isVisible());
  combo->hidePopup();
  combo->show();
  combo->setFocus();
  w.Dlg().Control(1117)->setFocus();
  QVERIFY(!combo->isVisible());
  // While the drop-down is open it takes the wheel itself; with it closed
  // and the combo still over the word, the wheel closes the combo.
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, slot);
  QVERIFY(combo->isVisible());
  combo->hidePopup();
  combo->show();
  QWheelEvent wheel(QPointF(5, 5), list->viewport()->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120),
                    Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(list->viewport(), &wheel);
  QVERIFY(!combo->isVisible());
  QCOMPARE(list->item(1)->text(), QString("I want [tea] with [milk]"));
}

void SlotChoiceTest::scrolledListStillHitsTheWord() {
  DataFolder data;
  Window w;
  CMyListBox* list = w.Dlg().PhraseList();
  // The extent leaves room to scroll: the widest line plus 10 pixels.
  QVERIFY(list->HorizontalExtent() >= QFontMetrics(list->font()).horizontalAdvance("I want [tea] with [milk]") + 10);
  list->SetHorizontalExtent(list->viewport()->width() + 200);
  list->horizontalScrollBar()->setValue(40);
  QCOMPARE(list->horizontalScrollBar()->value(), 40);
  w.ClickLine(1);
  list->horizontalScrollBar()->setValue(40);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, PointOver(list, 1, 19, 23));
  QVERIFY(list->ChoiceCombo() != nullptr && list->ChoiceCombo()->isVisible());
  QCOMPARE(list->CurrentWord(), QString("milk"));
}

QTEST_MAIN(SlotChoiceTest)
#include "test_slotchoice.moc"
