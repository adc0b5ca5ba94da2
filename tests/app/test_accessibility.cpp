// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader finds in the window: a name and a role for every
// control, the Japanese and the pronunciation as text with their changes
// kept up to date, the switches pressable, Tab's way round, and the focus ring.
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QTest>
#include <set>

#include "app/bitmapstatic.h"
#include "app/showcard.h"
#include "controls/focusring.h"
#include "controls/hoverbutton.h"
#include "online/aboutdlg.h"
#include "windowfixture.h"

using windowtest::DataFolder;
using windowtest::Window;

namespace {

QAccessibleInterface* Reader(QWidget* control) { return QAccessible::queryAccessibleInterface(control); }
QString NameOf(QWidget* control) { return Reader(control)->text(QAccessible::Name); }
QString TextOf(QWidget* control) {
  QAccessibleTextInterface* text = Reader(control)->textInterface();
  return text == nullptr ? QStringLiteral("<no text>") : text->text(0, text->characterCount());
}

// The object names of the controls Tab (or Shift+Tab) visits from the
// focus, until it comes back round; at most limit steps.
QStringList TabRound(CWendaroDlg& dlg, bool backwards, int limit = 60) {
  QStringList visited;
  QWidget* start = QApplication::focusWidget();
  for (int i = 0; i < limit; ++i) {
    QTest::keyClick(QApplication::focusWidget(), backwards ? Qt::Key_Backtab : Qt::Key_Tab,
                    backwards ? Qt::ShiftModifier : Qt::NoModifier);
    QWidget* now = QApplication::focusWidget();
    if (now == nullptr || now->window() != &dlg) break;
    visited << now->objectName();
    if (now == start) break;
  }
  return visited;
}

}  // namespace

class AccessibilityTest : public QObject {
  Q_OBJECT

 private slots:
  void namesAndRoles_data();
  void namesAndRoles();
  void everyControlHasAName();
  void japaneseAndPronunciationReadAsText();
  void favouriteButtonSaysWhatTheViewDoes();
  void listAndKeyWordNamedByTheView();
  void switchesArePressableButtons();
  void aboutBoxAndCardNamed();
  void tabGoesRoundEveryControl();
  void focusRingIsCrisp_data();
  void focusRingIsCrisp();
  void focusedButtonShowsTheRing();
};

void AccessibilityTest::namesAndRoles_data() {
  QTest::addColumn<int>("control");
  QTest::addColumn<QString>("name");
  QTest::addColumn<int>("role");
  const int button = QAccessible::PushButton;
  const struct {
    int id;
    const char* name;
    int role;
  } rows[] = {
      {1031, "Play", button},
      {CWendaroDlg::kSlowPlayButtonId, "Play slowly", button},
      {1116, "Add to favourites", button},
      {1035, "Show kanji", button},
      {1036, "Show kana", button},
      {1021, "Search", button},
      {1023, "Run the search", button},
      {1022, "Related phrases", button},
      {1026, "Show favourites", button},
      {1103, "Lodging", button},
      {1107, "Sightseeing", button},
      {1030, "Minimise", button},
      {1041, "Exit", button},
      {1048, "Report a bug or comments", button},
      {1111, "Phrases", QAccessible::List},
      // On Linux a combo's name is its entry; its label is a relation.
      {1117, "All", QAccessible::ComboBox},
      {1020, "Key word", QAccessible::EditableText},
      {1024, "Exact match only", QAccessible::CheckBox},
      {1033, "Japanese", QAccessible::StaticText},
      {1019, "Pronunciation", QAccessible::StaticText},
  };
  for (const auto& row : rows) {
    QTest::newRow(QByteArray::number(row.id)) << row.id << QString::fromLatin1(row.name) << row.role;
  }
}

void AccessibilityTest::namesAndRoles() {
  QFETCH(int, control);
  QFETCH(QString, name);
  QFETCH(int, role);
  DataFolder data;
  Window w;
  QWidget* widget = w.Dlg().Control(control);
  QVERIFY(widget != nullptr);
  QCOMPARE(NameOf(widget), name);
  QCOMPARE(int(Reader(widget)->role()), role);
}

// Whatever the mode, nothing a user can work is nameless; the tooltips are
// the descriptions, spelt right.
void AccessibilityTest::everyControlHasAName() {
  DataFolder data;
  Window w;
  const auto check = [&w](const char* mode) {
    for (QWidget* widget : w.Dlg().findChildren<QWidget*>()) {
      const bool works = qobject_cast<QAbstractButton*>(widget) || qobject_cast<QComboBox*>(widget) ||
                         qobject_cast<QListWidget*>(widget) || qobject_cast<QLineEdit*>(widget) ||
                         qobject_cast<CBitmapStatic*>(widget);
      if (!works || widget->window() != &w.Dlg()) continue;
      if (widget->objectName() == QLatin1String("1115")) continue;  // the list's slot choice, named by its line
      QVERIFY2(!NameOf(widget).isEmpty(),
               qPrintable(QString("%1 %2 in %3")
                              .arg(widget->metaObject()->className(), widget->objectName(), QLatin1String(mode))));
    }
  };
  check("browse");
  w.Click(1021);
  check("search");
  QCOMPARE(Reader(w.Dlg().Control(1021))->text(QAccessible::Description), QString("Search"));
  QCOMPARE(Reader(w.Dlg().Control(1023))->text(QAccessible::Description), QString("Run the search"));
  // The captions label what they stand beside.
  const auto labelOf = [&w](int id) {
    const auto relations = Reader(w.Dlg().Control(id))->relations(QAccessible::Label);
    return relations.isEmpty() ? QString() : relations.first().first->text(QAccessible::Name);
  };
  QCOMPARE(labelOf(1020), QString("Your key word:"));
  w.Click(1101);
  QCOMPARE(labelOf(1117), QString("Sub category:"));
}

void AccessibilityTest::japaneseAndPronunciationReadAsText() {
  DataFolder data;
  Window w;
  CWendaroDlg& dlg = w.Dlg();
  QWidget* japanese = dlg.Control(1033);
  QWidget* pronunciation = dlg.Control(1019);
  QCOMPARE(TextOf(japanese), QString("Kanji 1"));
  QCOMPARE(TextOf(pronunciation), QString("Pron 1"));
  // The kanji are read with their kana.
  QCOMPARE(Reader(japanese)->text(QAccessible::Description), QString("Kana 1"));
  QCOMPARE(Reader(japanese)->textInterface()->text(2, 4), QString("nj"));
  int start = -1, end = -1;
  QCOMPARE(Reader(japanese)->textInterface()->attributes(0, &start, &end), QString("language:ja;"));
  QCOMPARE(end, 7);

  // (The change events need a platform that speaks to screen readers: the
  // AT-SPI end-to-end test hears them.)
  w.ClickLine(1);
  QCOMPARE(TextOf(japanese), QString("Kanji 2"));
  QCOMPARE(TextOf(pronunciation), QString("Pron 2"));
  QCOMPARE(Reader(japanese)->text(QAccessible::Description), QString("Kana 2"));

  // The kana form: the text is kana, nothing more to read with it.
  w.Click(1035);
  w.Click(1036);
  QCOMPARE(TextOf(japanese), QString("Kana 2"));
  QCOMPARE(Reader(japanese)->text(QAccessible::Description), QString());
  // Phrase 1 carries byte-order marks in the data; they are not read out.
  w.ClickLine(0);
  QVERIFY(!TextOf(japanese).contains(QChar(0xFEFF)));
  QVERIFY(!TextOf(pronunciation).contains(QChar(0xFEFF)));
  QCOMPARE(TextOf(japanese), QString("Kana 1"));
}

void AccessibilityTest::favouriteButtonSaysWhatTheViewDoes() {
  DataFolder data;
  Window w;
  CWendaroDlg& dlg = w.Dlg();
  QWidget* toggle = dlg.Control(1116);
  QCOMPARE(NameOf(toggle), QString("Add to favourites"));
  w.Click(1116);  // phrase 1 becomes a favourite
  w.TakeMessages();
  w.Click(1026);
  QCOMPARE(NameOf(toggle), QString("Remove from favourites"));
  // Search mode adds again.
  w.Click(1021);
  QCOMPARE(NameOf(toggle), QString("Add to favourites"));
}

void AccessibilityTest::listAndKeyWordNamedByTheView() {
  DataFolder data;
  Window w;
  CWendaroDlg& dlg = w.Dlg();
  QWidget* list = dlg.Control(1111);
  QWidget* edit = dlg.Control(1020);
  w.Click(1021);
  QCOMPARE(NameOf(list), QString("Phrases found"));
  QCOMPARE(NameOf(edit), QString("Key word"));
  w.Click(1101);
  w.ClickLine(0);
  w.Click(1022);
  QCOMPARE(NameOf(list), QString("Related phrases"));
  QCOMPARE(NameOf(edit), QString("Phrase whose related phrases are listed"));
  w.Click(1101);
  QCOMPARE(NameOf(list), QString("Phrases"));
}

void AccessibilityTest::switchesArePressableButtons() {
  DataFolder data;
  Window w;
  CWendaroDlg& dlg = w.Dlg();
  w.Click(1035);  // leaves the kana switch on show
  QAccessibleActionInterface* press = Reader(dlg.Control(1036))->actionInterface();
  QVERIFY(press != nullptr);
  QVERIFY(press->actionNames().contains(QAccessibleActionInterface::pressAction()));
  press->doAction(QAccessibleActionInterface::pressAction());
  QCOMPARE(w.Text(1033), QString("Kana 1"));
  QVERIFY(dlg.Control(1035)->isVisible());
  // Space does the same from the keyboard.
  dlg.Control(1035)->setFocus(Qt::TabFocusReason);
  QTest::keyClick(dlg.Control(1035), Qt::Key_Space);
  QCOMPARE(w.Text(1033), QString("Kanji 1"));
}

void AccessibilityTest::aboutBoxAndCardNamed() {
  DataFolder data;
  {
    CAboutDlg about(nullptr);
    QCOMPARE(NameOf(about.OkButton()), QString("OK"));
  }
  Window w;
  QTest::keyClick(&w.Dlg(), Qt::Key_F11);
  QWidget* card = w.Dlg().Card();
  QVERIFY(card != nullptr && card->isVisible());
  QCOMPARE(NameOf(card), QString("Phrase card"));
  QCOMPARE(Reader(card)->text(QAccessible::Description), QString("Kanji 1\nKana 1\nPhrase 1"));
  card->close();
}

void AccessibilityTest::tabGoesRoundEveryControl() {
  DataFolder data;
  Window w;
  CWendaroDlg& dlg = w.Dlg();
  dlg.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&dlg));
  // Browse mode at start-up: both switches on show, no search controls.
  const QStringList browse = {"1111", "1035", "1036", "1033", "1019", "1031", "1032", "1101", "1102", "1103",
                              "1104", "1105", "1106", "1107", "1108", "1109", "1110", "1050", "1046", "1047",
                              "1048", "1030", "1041", "1021", "1026", "1022", "1146", "1117", "1116"};
  QVERIFY(dlg.PhraseList()->hasFocus());
  QStringList forwards = TabRound(dlg, false);
  QCOMPARE(forwards, browse.mid(1) + browse.mid(0, 1));
  QStringList backwards = TabRound(dlg, true);
  QStringList reversed;
  for (qsizetype i = browse.size() - 1; i >= 0; --i) reversed << browse[i];
  QCOMPARE(backwards, reversed);

  // Search mode: the key word, the switch and Run the search in their place.
  w.Click(1021);
  dlg.Control(1021)->setFocus(Qt::TabFocusReason);
  forwards = TabRound(dlg, false);
  QCOMPARE(forwards.mid(0, 7), QStringList({"1026", "1022", "1146", "1020", "1024", "1023", "1116"}));
  QCOMPARE(forwards.last(), QString("1021"));
  QCOMPARE(std::set<QString>(forwards.begin(), forwards.end()).size(), size_t(forwards.size()));
}

void AccessibilityTest::focusRingIsCrisp_data() {
  QTest::addColumn<qreal>("ratio");
  QTest::newRow("1") << qreal(1);
  QTest::newRow("1.5") << qreal(1.5);
  QTest::newRow("2") << qreal(2);
}

// Every pixel is the ring's or the ground's, never a blend of the two, and
// each line is whole device pixels wide: two units of band, one of line.
void AccessibilityTest::focusRingIsCrisp() {
  QFETCH(qreal, ratio);
  const QSize size(31, 28);  // the play button
  QImage image(QSize(qRound(size.width() * ratio), qRound(size.height() * ratio)), QImage::Format_RGB32);
  image.setDevicePixelRatio(ratio);
  const QColor ground(200, 100, 50);
  image.fill(ground);
  {
    QPainter painter(&image);
    lexoria::DrawFocusRing(painter, QRect(QPoint(0, 0), size));
  }
  const int line = lexoria::FocusRingLineWidth(ratio);
  QCOMPARE(line, qRound(ratio));
  const QRgb outer = lexoria::kFocusRingOuter.rgb(), inner = lexoria::kFocusRingInner.rgb();
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const int edge = std::min({x, y, image.width() - 1 - x, image.height() - 1 - y});
      const QRgb expected = edge < 2 * line ? outer : edge < 3 * line ? inner : ground.rgb();
      if (image.pixel(x, y) != expected) QFAIL(qPrintable(QString("pixel %1,%2").arg(x).arg(y)));
    }
  }
}

void AccessibilityTest::focusedButtonShowsTheRing() {
  DataFolder data;
  Window w;
  CWendaroDlg& dlg = w.Dlg();
  dlg.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&dlg));
  auto* play = qobject_cast<CHoverButton*>(dlg.Control(1031));
  const QImage before = play->grab().toImage();
  // A click leaves the focus in the list; Tab brings it and its ring.
  w.Click(1031);
  QVERIFY(!play->hasFocus());
  play->setFocus(Qt::TabFocusReason);
  QVERIFY(play->hasFocus());
  const QImage focused = play->grab().toImage().convertToFormat(before.format());
  QVERIFY(focused != before);
  QCOMPARE(focused.pixel(0, 0), lexoria::kFocusRingOuter.rgb());
  QCOMPARE(focused.pixel(focused.width() / 2, focused.height() / 2),
           before.pixel(before.width() / 2, before.height() / 2));
}

QTEST_MAIN(AccessibilityTest)
#include "test_accessibility.moc"
