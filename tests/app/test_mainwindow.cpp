// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: start-up, categories and sub-categories, the Japanese
// form, play, missing data files, the timer and how the program ends.
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include "windowfixture.h"

using windowtest::DataFolder;
using windowtest::Window;

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void startUpState();
  void categoryButtons_data();
  void categoryButtons();
  void subCategoryChosenTwice();
  void japaneseFormSwitch();
  void playSpeaksThePhraseOnShow_data();
  void playSpeaksThePhraseOnShow();
  void playWithoutASoundServer();
  void playWithASlowSoundServer();
  void missingFiles_data();
  void missingFiles();
  void timerHandsOverOnce();
  void enterDoesNotClose();
  void escapeAndExitEndTheRun_data();
  void escapeAndExitEndTheRun();
};

void MainWindowTest::startUpState() {
  DataFolder data;
  Window w;
  CWendaroDlg& dlg = w.Dlg();
  QCOMPARE(dlg.windowTitle(), QString("Lexoria_Japanese"));
  QVERIFY(w.Messages().isEmpty());
  // Basic, "All": 154 phrases, the group of four shown as one line.
  const QStringList lines = w.Lines();
  QCOMPARE(lines.size(), 151);
  QCOMPARE(lines[0], QString("Phrase 1"));
  QCOMPARE(lines[1], QString("I want [tea] with [milk]"));
  QCOMPARE(lines[2], QString("Phrase 6"));
  QCOMPARE(dlg.PhraseList()->currentRow(), 0);
  QCOMPARE(w.Text(1019), QString("Pron 1"));
  QCOMPARE(w.Text(1033), QString("Kanji 1"));
  QCOMPARE(w.Text(1117), QString("All"));
  QCOMPARE(w.ComboEntries(1117).size(), 8);
  QCOMPARE(w.Text(1018), QString("Sub category:"));
  QCOMPARE(w.Text(1025), QString());
  for (int hidden : {1023, 1020, 1024, 1115}) QVERIFY2(!w.Visible(hidden), qPrintable(QString::number(hidden)));
  for (int shown : {1117, 1018, 1111, 1035, 1036, 1031}) QVERIFY2(w.Visible(shown), qPrintable(QString::number(shown)));
  QCOMPARE(dlg.Book().CategoryCode(), 100);
  QCOMPARE(dlg.Book().ViewMode(), lexoria::kViewBrowse);
  QVERIFY(!dlg.Book().FavouritesView());
  QCOMPARE(dlg.Book().CurrentClip(), 1);  // fetched and prepared, not played
  QVERIFY(!dlg.PhraseShown());
  QVERIFY(w.Sound().Writes().empty());
  QCOMPARE(dlg.FavouriteTooltip(), QString("Add to Favorite"));
  QVERIFY(dlg.PhraseList()->hasFocus());
  // Restored from the taskbar, the list has the focus again.
  dlg.Control(1101)->setFocus();
  dlg.showMinimized();
  dlg.showNormal();
  QApplication::processEvents();
  QVERIFY(dlg.PhraseList()->hasFocus());
  // The version text is white, the phrase texts black; fonts by pixel size.
  QCOMPARE(qobject_cast<CTransparentStatic*>(dlg.Control(1059))->TextColour(), 0xFFFFFFu);
  QCOMPARE(qobject_cast<CTransparentStatic*>(dlg.Control(1033))->TextColour(), 0u);
  QCOMPARE(dlg.Control(1111)->font().pixelSize(), 15);
  QCOMPARE(dlg.Control(1033)->font().pixelSize(), 22);
  QCOMPARE(dlg.Control(1019)->font().pixelSize(), 15);
  // Controls sit at their template rectangles (dialog units to pixels).
  QCOMPARE(dlg.Control(1111)->geometry(), QRect(173, 192, 319, 185));
  QCOMPARE(dlg.Control(1033)->geometry(), lexoria::DialogRectToPixels(QRect(115, 235, 213, 36)));
}

void MainWindowTest::categoryButtons_data() {
  QTest::addColumn<int>("button");
  QTest::addColumn<int>("code");
  QTest::addColumn<int>("firstPhrase");
  QTest::addColumn<QStringList>("entries");
  QTest::newRow("Basic") << 1101 << 100 << 1
                         << QStringList{"All",   "Greetings",     "Language", "Weather",
                                        "Signs", "Date and Time", "Numbers",  "Key Words and Phrases"};
  QTest::newRow("Travel") << 1102 << 200 << 155
                          << QStringList{"All",       "Arrival",    "Loss and damage", "Directions", "Plane", "Signs",
                                         "Train/Bus", "Car rental", "Gas and Parking", "Problems",   "Taxi"};
  QTest::newRow("Logding") << 1103 << 400 << 476
                           << QStringList{"All",         "Reservation",    "At Hotel", "Check in",
                                          "About Hotel", "Personal Needs", "Problems", "Check out"};
  QTest::newRow("Food") << 1104 << 300 << 315
                        << QStringList{"All",        "Finding a Restaurant", "At the Restaurant", "Personal Needs",
                                       "Complaints", "Menu Reader"};
  QTest::newRow("Social") << 1105 << 700 << 616
                          << QStringList{"All", "Conversation", "Get Together", "Exchange Information"};
  QTest::newRow("Business") << 1106 << 500 << 553 << QStringList{"All", "Basic", "Exchange Information"};
  QTest::newRow("SightSeeing") << 1107 << 600 << 572 << QStringList{"All", "Questions", "Useful Words", "Leisure"};
  QTest::newRow("Shopping") << 1108 << 800 << 658
                            << QStringList{"All", "Finding places", "Purchase", "Return", "Banking"};
  QTest::newRow("Emergency") << 1109 << 900 << 714 << QStringList{"All", "Medical", "Lost and Missing", "Help"};
  QTest::newRow("Question") << 1110 << 1000 << 756
                            << QStringList{"All", "Where", "When", "How much/many", "Why", "Who/Which"};
}

void MainWindowTest::categoryButtons() {
  QFETCH(int, button);
  QFETCH(int, code);
  QFETCH(int, firstPhrase);
  QFETCH(QStringList, entries);
  DataFolder data;
  Window w;
  // Leave Basic first, so every button shows a change (Basic from Food).
  w.Click(button == 1101 ? 1104 : 1101);
  w.Click(button);
  QCOMPARE(w.Dlg().Book().CategoryCode(), code);
  QCOMPARE(w.ComboEntries(1117), entries);
  QCOMPARE(w.Text(1117), QString("All"));
  QVERIFY(w.Dlg().Control(1117)->isEnabled());
  QCOMPARE(w.Lines().value(0), QString("Phrase %1").arg(firstPhrase));
  QCOMPARE(w.Dlg().PhraseList()->currentRow(), 0);
  QCOMPARE(w.Text(1019), QString("Pron %1").arg(firstPhrase));
  QCOMPARE(w.Dlg().Book().ViewMode(), lexoria::kViewBrowse);
  QVERIFY(w.Messages().isEmpty());
}

void MainWindowTest::subCategoryChosenTwice() {
  DataFolder data;
  Window w;
  w.Click(1102);
  // Travel "Signs" is 251-275, listed after "Plane" although "Train/Bus"
  // (213-250) comes later in the combo.
  w.ChooseSubCategory(5);
  QCOMPARE(w.Lines().size(), 25);
  QCOMPARE(w.Lines().first(), QString("Phrase 251"));
  w.ClickLine(3);
  QCOMPARE(w.Text(1019), QString("Pron 254"));
  w.ChooseSubCategory(5);
  QCOMPARE(w.Lines().size(), 25);
  QCOMPARE(w.Dlg().PhraseList()->currentRow(), 0);
  QCOMPARE(w.Text(1019), QString("Pron 251"));
  w.ChooseSubCategory(6);
  const QStringList train = w.Lines();
  QCOMPARE(train.size(), 38);
  QCOMPARE(train.first(), QString("Phrase 213"));
  QCOMPARE(train.last(), QString("Phrase 250"));
}

void MainWindowTest::japaneseFormSwitch() {
  DataFolder data;
  Window w;
  CWendaroDlg& dlg = w.Dlg();
  QVERIFY(!dlg.PhraseShown());
  // 1035 lies on top while both show; a click hides it and keeps form one.
  w.Click(1035);
  QVERIFY(dlg.Book().JapaneseForm());
  QVERIFY(!w.Visible(1035));
  QVERIFY(w.Visible(1036));
  QCOMPARE(w.Text(1033), QString("Kanji 1"));
  QVERIFY(dlg.PhraseShown());
  w.Click(1036);
  QVERIFY(!dlg.Book().JapaneseForm());
  QVERIFY(w.Visible(1035));
  QVERIFY(!w.Visible(1036));
  QCOMPARE(w.Text(1033), QString("Kana 1"));
  QCOMPARE(w.Text(1019), QString("Pron 1"));
  // The form stays across categories.
  w.Click(1104);
  QCOMPARE(w.Text(1033), QString("Kana 315"));
  // With an empty list only the switch changes.
  w.Click(1021);
  w.Click(1035);
  QVERIFY(dlg.Book().JapaneseForm());
  QCOMPARE(w.Text(1033), QString());
  QVERIFY(w.Messages().isEmpty());
}

void MainWindowTest::playSpeaksThePhraseOnShow_data() {
  QTest::addColumn<int>("before");  // 0 nothing, a button id, or -n: click line n
  QTest::addColumn<bool>("doubleClick");
  QTest::addColumn<int>("phrase");
  QTest::newRow("start-up, Play") << 0 << false << 1;
  QTest::newRow("start-up, double click") << 0 << true << 1;
  QTest::newRow("first after a category change, Play") << 1104 << false << 315;
  QTest::newRow("first after a category change, double click") << 1104 << true << 315;
  QTest::newRow("a new selection") << -2 << false << 6;
  QTest::newRow("a new selection, double click") << -2 << true << 6;
}

// Play and a double click on the line speak the phrase whose Japanese is
// shown, from the first phrase shown at start-up on.
void MainWindowTest::playSpeaksThePhraseOnShow() {
  QFETCH(int, before);
  QFETCH(bool, doubleClick);
  QFETCH(int, phrase);
  DataFolder data;
  Window w;
  CMyListBox* list = w.Dlg().PhraseList();
  if (before > 0) w.Click(before);
  if (before < 0) w.ClickLine(-before);
  QCOMPARE(w.Text(1033), QString("Kanji %1").arg(phrase));
  QVERIFY(w.Sound().Writes().empty());
  if (doubleClick) {
    // What the window system sends for a double click, on the words before
    // any slot: press, release, press with its double click, release.
    const QRect line = list->visualItemRect(list->currentItem());
    const QPoint at(line.left() + 3, line.center().y());
    QTest::mousePress(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mousePress(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
  } else {
    w.Click(1031);
  }
  QCOMPARE(w.Dlg().Book().CurrentClip(), phrase);
  QCOMPARE(w.Sound().Writes().size(), size_t{1});
  // The whole block of that clip, as the player prepared it.
  QCOMPARE(w.Sound().Writes().back().size(), size_t{w.Dlg().Player().BlockSize()});
  QVERIFY(w.Sound().Writes().back().size() > 0);
  // Again: the player stops and starts, one buffer at a time.
  w.Sound().ClearLog();
  w.Click(1031);
  QCOMPARE(w.Sound().Log(), std::string("reset write"));
  QCOMPARE(w.Sound().Writes().back().size(), size_t{w.Dlg().Player().BlockSize()});
  QVERIFY(w.Messages().isEmpty());
}

// No sound server: Play says so once per press and plays nothing; once a
// server is there again, Play speaks without a restart.
void MainWindowTest::playWithoutASoundServer() {
  const QStringList noServer{"Can't play the sound: no sound server is running!"};
  DataFolder data;
  Window w;
  // The server went away after start-up and is back by the first Play.
  w.Sound().SetLost(true);
  w.Click(1031);
  QVERIFY(w.TakeMessages().isEmpty());
  QCOMPARE(w.Sound().Writes().size(), size_t{1});
  // Gone, and not back.
  w.Sound().SetLost(true);
  w.Sound().SetOpenFails(true);
  w.Sound().ClearLog();
  w.Click(1031);
  QCOMPARE(w.TakeMessages(), noServer);
  QVERIFY(w.Sound().Writes().empty());
  // A new phrase is still shown and loaded; its Play says it again.
  w.ClickLine(2);
  QVERIFY(w.TakeMessages().isEmpty());
  QCOMPARE(w.Text(1033), QString("Kanji 6"));
  w.Click(1031);
  QCOMPARE(w.TakeMessages(), noServer);
  QVERIFY(w.Sound().Writes().empty());
  // Back.
  w.Sound().SetOpenFails(false);
  w.Click(1031);
  QVERIFY(w.TakeMessages().isEmpty());
  QCOMPARE(w.Sound().Writes().size(), size_t{1});
  QCOMPARE(w.Sound().Writes().back().size(), size_t{w.Dlg().Player().BlockSize()});
  QCOMPARE(w.Dlg().Book().CurrentClip(), 6);
}

// A server that is there but has not answered: the window goes on at once;
// a second later the held play is dropped and the window says the server is
// slow, not missing. One that answers in time plays, one that goes away
// meanwhile is said to be missing.
void MainWindowTest::playWithASlowSoundServer() {
  const QStringList slow{"Can't play the sound: the sound server is not answering. Try again in a moment."};
  const QStringList noServer{"Can't play the sound: no sound server is running!"};
  DataFolder data;
  Window w;
  w.Sound().SetWaiting(true);
  w.Sound().ClearLog();
  w.Click(1031);
  QVERIFY(w.TakeMessages().isEmpty());
  QVERIFY2(w.Sound().Log().ends_with("write"), w.Sound().Log().c_str());
  QTRY_COMPARE_WITH_TIMEOUT(w.Messages(), slow, 5000);
  // The held play dropped.
  QVERIFY2(w.Sound().Log().ends_with("write reset"), w.Sound().Log().c_str());
  w.TakeMessages();
  // Answered before the second is up.
  w.Click(1031);
  w.Sound().SetWaiting(false);
  QTest::qWait(1500);
  QVERIFY(w.TakeMessages().isEmpty());
  // Gone while it was waited for.
  w.Sound().SetWaiting(true);
  w.Click(1031);
  w.Sound().SetLost(true);
  QTRY_COMPARE_WITH_TIMEOUT(w.Messages(), noServer, 5000);
}

void MainWindowTest::missingFiles_data() {
  QTest::addColumn<QString>("missing");
  QTest::addColumn<int>("action");  // 0 start only, 1 search "hello", 2 related
  QTest::addColumn<QStringList>("messages");
  QTest::addColumn<int>("lines");
  QTest::newRow("English.dat") << "English.dat" << 0 << QStringList{} << 0;
  QTest::newRow("English.dat, search") << "English.dat" << 1
                                       << QStringList{"Can't read file", "This phrase can't be found"} << 2;
  QTest::newRow("Japanese.dat") << "Japanese.dat" << 0 << QStringList{} << 151;
  QTest::newRow("MapEngSpec.data") << "MapEngSpec.data" << 0 << QStringList{"Can't read MapEngSpec file"} << 0;
  QTest::newRow("MapEngSpec.data, search") << "MapEngSpec.data" << 1 << QStringList{} << 0;
  QTest::newRow("data.dat") << "data.dat" << 0 << QStringList{"Can't find sound file!"} << 151;
  QTest::newRow("data.idx") << "data.idx" << 0 << QStringList{} << 151;
  // Mended: Related did nothing without a sound archive, and a missing
  // Relate.dat said there were no related phrases.
  QTest::newRow("data.dat, related") << "data.dat" << 2 << QStringList{"Can't find sound file!"} << 2;
  QTest::newRow("Relate.dat") << "Relate.dat" << 2 << QStringList{"Can't read Relate file"} << 151;
}

void MainWindowTest::missingFiles() {
  QFETCH(QString, missing);
  QFETCH(int, action);
  QFETCH(QStringList, messages);
  QFETCH(int, lines);
  DataFolder data;
  data.Remove(missing);
  Window w;
  QCOMPARE(w.Dlg().windowTitle(), QString("Lexoria_Japanese"));
  if (action != 0) w.TakeMessages();
  if (action == 1) {
    w.Click(1021);
    w.TypeKeyWord("hello");
    w.PressEnter();
  } else if (action == 2) {
    w.Click(1022);
  }
  QCOMPARE(w.Messages().join(" | "), messages.join(" | "));
  QCOMPARE(w.Lines().size(), lines);
  if (missing == "Japanese.dat") {
    QCOMPARE(w.Text(1019), QString());
    QCOMPARE(w.Text(1033), QString());
  }
  // Still usable afterwards.
  w.Click(1104);
  w.Click(1031);
}

void MainWindowTest::timerHandsOverOnce() {
  DataFolder data;
  Window w;
  QVERIFY(w.Dlg().UpdateTimerActive());
  QVERIFY(!w.Dlg().UpdateCheckDone());
  QTRY_VERIFY_WITH_TIMEOUT(w.Dlg().UpdateCheckDone(), 3000);
  QVERIFY(!w.Dlg().UpdateTimerActive());
  w.Dlg().OnTimer();
  QVERIFY(!w.Dlg().UpdateTimerActive());
}

void MainWindowTest::enterDoesNotClose() {
  DataFolder data;
  Window w;
  w.PressEnter();
  QVERIFY(w.Dlg().isVisible());
  w.Click(1021);
  w.Dlg().Control(1020)->setFocus();
  w.PressEnter();
  QVERIFY(w.Dlg().isVisible());
  QVERIFY(w.Lines().isEmpty());  // unchanged key word: no search
}

void MainWindowTest::escapeAndExitEndTheRun_data() {
  QTest::addColumn<bool>("useEscape");
  QTest::newRow("Escape") << true;
  QTest::newRow("exit button") << false;
}

void MainWindowTest::escapeAndExitEndTheRun() {
  QFETCH(bool, useEscape);
  DataFolder data;
  lexoria::sound::CaptureOutput sound;
  CWendaroDlg dlg(nullptr, &sound);
  bool ended = false;
  QTimer::singleShot(50, &dlg, [&dlg, useEscape] {
    if (useEscape) {
      QTest::keyClick(dlg.PhraseList(), Qt::Key_Escape);
    } else {
      QTest::mouseClick(dlg.Control(1041), Qt::LeftButton);
    }
  });
  // A safety net so a failure does not hang the run.
  QTimer::singleShot(5000, &dlg, [&dlg] { dlg.QDialog::done(99); });
  const int result = dlg.exec();
  ended = true;
  QVERIFY(ended);
  QCOMPARE(result, int(QDialog::Rejected));
  QVERIFY(!dlg.isVisible());
}

QTEST_MAIN(MainWindowTest)
#include "test_mainwindow.moc"
