// SPDX-License-Identifier: GPL-3.0-or-later
// The favourites buttons: add, refuse a duplicate, list, remove the first,
// a middle and the last, with the messages and favorite.dat checked; the
// tooltip of 1116 following what the button does.
#include <QComboBox>
#include <QTest>

#include "windowfixture.h"

using windowtest::DataFolder;
using windowtest::FavouriteRecord;
using windowtest::ReadFavourites;
using windowtest::Window;

namespace {
const QString kAdded = "One item has just added to your favorite category";
const QString kRemoved = "One item has just removed from your favorite category";
const QString kDuplicate = "This item has already existed in favorite category!";
const QString kNone = "No favorite phrase!";

// Basic lines 0 (phrase 1), 1 (the template line, phrase 2) and 2 (phrase 6).
const std::vector<FavouriteRecord> kThree = {{"Phrase 1", 1}, {"I want tea with milk", 2}, {"Phrase 6", 6}};

void AddThree(Window& w) {
  for (int row : {0, 1, 2}) {
    w.ClickLine(row);
    w.Click(1116);
  }
}
}  // namespace

class FavouritesWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void noFavouritesYet();
  void addRefuseAndList();
  void remove_data();
  void remove();
  void removeEveryOne();
  void tooltipFollowsTheView();
};

void FavouritesWindowTest::noFavouritesYet() {
  DataFolder data;
  Window w;
  QVERIFY(QFile::exists("favorite.dat"));  // created empty by the first open
  w.Click(1026);
  QCOMPARE(w.Messages(), QStringList{kNone});
  QCOMPARE(w.Dlg().Book().CategoryCode(), 100);
  QCOMPARE(w.Lines().size(), 151);
}

void FavouritesWindowTest::addRefuseAndList() {
  DataFolder data;
  Window w;
  AddThree(w);
  QCOMPARE(w.TakeMessages(), (QStringList{kAdded, kAdded, kAdded}));
  QCOMPARE(ReadFavourites(), kThree);
  // The same phrase again, and the template line with its other spelling.
  w.ClickLine(0);
  w.Click(1116);
  w.ClickLine(1);
  w.Click(1116);
  QCOMPARE(w.TakeMessages(), (QStringList{kDuplicate, kDuplicate}));
  QCOMPARE(ReadFavourites(), kThree);
  QCOMPARE(QFileInfo("favorite.dat").size(), 3 * 124);

  w.Click(1026);
  QVERIFY(w.Messages().isEmpty());
  CWendaroDlg& dlg = w.Dlg();
  QCOMPARE(dlg.Book().CategoryCode(), lexoria::kCategoryFavourites);
  QVERIFY(dlg.Book().FavouritesView());
  QCOMPARE(w.Lines(), (QStringList{"Phrase 1", "I want tea with milk", "Phrase 6"}));
  QCOMPARE(w.ComboEntries(1117), QStringList{"All"});
  QVERIFY(!dlg.Control(1117)->isEnabled());
  QCOMPARE(dlg.FavouriteTooltip(), QString("Remove from Favorite"));
  QCOMPARE(dlg.PhraseList()->currentRow(), 0);
  QCOMPARE(w.Text(1019), QString("Pron 1"));
  // A stored line without brackets is still found in its phrase map.
  w.ClickLine(1);
  QCOMPARE(w.Text(1019), QString("Pron 2"));
  QVERIFY(w.Messages().isEmpty());
}

void FavouritesWindowTest::remove_data() {
  QTest::addColumn<int>("row");
  QTest::addColumn<QStringList>("left");
  QTest::newRow("first") << 0 << QStringList{"I want tea with milk", "Phrase 6"};
  QTest::newRow("middle") << 1 << QStringList{"Phrase 1", "Phrase 6"};
  QTest::newRow("last") << 2 << QStringList{"Phrase 1", "I want tea with milk"};
}

void FavouritesWindowTest::remove() {
  QFETCH(int, row);
  QFETCH(QStringList, left);
  DataFolder data;
  Window w;
  AddThree(w);
  w.Click(1026);
  w.TakeMessages();
  w.ClickLine(row);
  w.Click(1116);
  QCOMPARE(w.Messages(), QStringList{kRemoved});
  QCOMPARE(w.Lines(), left);
  QStringList stored;
  for (const FavouriteRecord& record : ReadFavourites()) stored << record.text;
  QCOMPARE(stored, left);
  QVERIFY(!QFile::exists("temp.dat"));
  // The first remaining favourite is listed and shown.
  QCOMPARE(w.Dlg().PhraseList()->currentRow(), 0);
  QCOMPARE(w.Text(1019), QString("Pron %1").arg(ReadFavourites().front().number));
}

void FavouritesWindowTest::removeEveryOne() {
  DataFolder data;
  Window w;
  AddThree(w);
  w.Click(1026);
  w.TakeMessages();
  for (int i = 0; i < 3; ++i) w.Click(1116);  // always the first line
  QCOMPARE(w.TakeMessages(), (QStringList{kRemoved, kRemoved, kRemoved}));
  QVERIFY(w.Lines().isEmpty());
  QCOMPARE(QFileInfo("favorite.dat").size(), 0);
  QCOMPARE(w.Text(1019), QString());
  QCOMPARE(w.Text(1033), QString());
  // With the list empty the button does nothing.
  w.Click(1116);
  QVERIFY(w.Messages().isEmpty());
  w.Click(1026);
  QCOMPARE(w.Messages(), QStringList{kNone});
}

void FavouritesWindowTest::tooltipFollowsTheView() {
  DataFolder data;
  Window w;
  CWendaroDlg& dlg = w.Dlg();
  w.ClickLine(2);
  w.Click(1116);
  w.Click(1026);
  QCOMPARE(dlg.FavouriteTooltip(), QString("Remove from Favorite"));
  // Search mode: the button adds again, and says so.
  w.Click(1021);
  QCOMPARE(dlg.FavouriteTooltip(), QString("Add to Favorite"));
  w.TypeKeyWord("hello");
  w.PressEnter();
  w.TakeMessages();
  w.Click(1116);
  QCOMPARE(w.Messages(), QStringList{kAdded});
  QCOMPARE(ReadFavourites().back(), (FavouriteRecord{"Hello", 10}));
  // Related mode from the favourites adds too.
  w.Click(1026);
  QCOMPARE(dlg.FavouriteTooltip(), QString("Remove from Favorite"));
  w.Click(1022);
  QVERIFY(!dlg.Book().FavouritesView());
  QCOMPARE(dlg.FavouriteTooltip(), QString("Add to Favorite"));
  // A category keeps it at "Add to Favorite".
  w.Click(1108);
  QCOMPARE(dlg.FavouriteTooltip(), QString("Add to Favorite"));
}

QTEST_MAIN(FavouritesWindowTest)
#include "test_favouriteswindow.moc"
