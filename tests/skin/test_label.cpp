// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/label.h"
#include "testenv.h"

#include <QApplication>
#include <QTest>

class LabelTest : public QObject {
  Q_OBJECT
 private slots:
  void settersChainAndStore() {
    CLabel label;
    CLabel& same =
        label.SetTextColor(QColor(0, 128, 192)).SetFontBold(true).SetFontSize(22).SetText("Lexoria_Japanese");
    QCOMPARE(&same, &label);
    QCOMPARE(label.TextColor(), QColor(0, 128, 192));
    QCOMPARE(label.FontWeight(), 700);
    QCOMPARE(label.FontHeight(), -22);
    QCOMPARE(label.font().pixelSize(), 22);
    QVERIFY(label.font().bold());
    QCOMPARE(label.text(), QStringLiteral("Lexoria_Japanese"));
    QCOMPARE(label.palette().color(QPalette::WindowText), QColor(0, 128, 192));

    label.SetFontSize(14).SetFontBold(false).SetFontItalic(true).SetFontUnderline(true);
    QCOMPARE(label.FontHeight(), -14);
    QCOMPARE(label.FontWeight(), 400);
    QVERIFY(label.font().italic());
    QVERIFY(label.font().underline());
    QVERIFY(!label.font().bold());
  }

  void faceNameKeepsToItsField() {
    CLabel label;
    label.SetFontName(QStringLiteral("Liberation Sans"));
    QCOMPARE(label.FontName(), QStringLiteral("Liberation Sans"));
    label.SetFontName(QString(40, QLatin1Char('x')));
    QCOMPARE(label.FontName().size(), CLabel::kFaceNameMax);
  }

  void backgroundColourWaitsForRepaint() {
    CLabel label;
    label.resize(40, 20);
    label.SetBkColor(QColor(10, 200, 30));
    QCOMPARE(label.BkColor(), QColor(10, 200, 30));
    QCOMPARE(label.CurrentBackground(), QColor(10, 200, 30));
    QCOMPARE(label.grab().toImage().pixelColor(2, 2), QColor(10, 200, 30));
  }

  void frames() {
    CLabel label;
    label.SetBorder(true);
    QCOMPARE(label.frameShape(), QFrame::Box);
    label.SetBorder(false).SetStaticEdge(true);
    QCOMPARE(label.frameShape(), QFrame::Panel);
    label.SetStaticEdge(false);
    QCOMPARE(label.frameShape(), QFrame::NoFrame);
  }

  // The border and the static edge are independent: with both, the border is
  // the outer line and the sunken edge lies inside it; taking either away
  // leaves the other.
  void borderAndStaticEdgeTogether() {
    CLabel label;
    label.resize(40, 20);
    label.SetBkColor(QColor(200, 200, 200)).SetTextColor(QColor(0, 0, 0));
    label.SetBorder(true).SetStaticEdge(true);
    QCOMPARE(label.frameShape(), QFrame::Panel);
    QCOMPARE(label.contentsRect(), QRect(2, 2, 36, 16));
    const QImage shot = label.grab().toImage();
    QCOMPARE(shot.pixelColor(0, 10), QColor(0, 0, 0));         // the border
    QVERIFY(shot.pixelColor(1, 10) != QColor(200, 200, 200));  // the edge
    label.resize(60, 30);
    QCOMPARE(label.contentsRect(), QRect(2, 2, 56, 26));
    label.SetStaticEdge(false);
    QCOMPARE(label.frameShape(), QFrame::Box);
    QCOMPARE(label.contentsRect(), QRect(1, 1, 58, 28));
    label.SetStaticEdge(true).SetBorder(false);
    QCOMPARE(label.frameShape(), QFrame::Panel);
    QCOMPARE(label.contentsRect(), QRect(1, 1, 58, 28));
  }

  void textBlinkRestoresTheText() {
    CLabel label;
    label.SetText(QStringLiteral("Version 1.5.2"));
    label.BlinkText(true);
    QVERIFY(label.IsBlinkTimerActive());
    QCOMPARE(label.CurrentBlinkType(), CLabel::kBlinkText);
    QTRY_COMPARE_WITH_TIMEOUT(label.text(), QString(), 2000);  // blanked by the first tick
    QTRY_COMPARE_WITH_TIMEOUT(label.text(), QStringLiteral("Version 1.5.2"), 2000);
    QTRY_COMPARE_WITH_TIMEOUT(label.text(), QString(), 2000);
    label.BlinkText(false);  // stopped while blanked
    QVERIFY(!label.IsBlinkTimerActive());
    QCOMPARE(label.text(), QStringLiteral("Version 1.5.2"));
    // A later stop does not bring back an old text.
    label.SetText(QStringLiteral("new"));
    label.BlinkText(false);
    QCOMPARE(label.text(), QStringLiteral("new"));
  }

  void backgroundBlinkAlternatesBrushes() {
    CLabel label;
    label.resize(30, 10);
    label.SetBkColor(QColor(200, 0, 0));
    label.BlinkBackground(true);
    QCOMPARE(label.CurrentBlinkType(), CLabel::kBlinkBackground);
    QVERIFY(!label.BlinkPhase());
    const QColor window = label.CurrentBackground();
    QVERIFY(window != QColor(200, 0, 0));
    QTRY_VERIFY_WITH_TIMEOUT(label.BlinkPhase(), 2000);
    QCOMPARE(label.CurrentBackground(), QColor(200, 0, 0));
    QTRY_VERIFY_WITH_TIMEOUT(!label.BlinkPhase(), 2000);
    label.BlinkBackground(false);
    QVERIFY(!label.IsBlinkTimerActive());
    // Stopped in the "off" phase: the window brush stays.
    QCOMPARE(label.CurrentBackground(), window);
  }

  void rightClickReportsTheControlId() {
    QWidget parent;
    CLabel label(&parent);
    label.setObjectName(QStringLiteral("1053"));
    label.resize(50, 15);
    QList<int> ids;
    QObject::connect(&label, &CLabel::rightClicked, &parent, [&ids](int id) { ids.append(id); });
    QTest::mouseClick(&label, Qt::RightButton, {}, QPoint(4, 4));
    // Click notify governs left clicks only.
    label.SetClickNotify(false);
    QTest::mouseClick(&label, Qt::LeftButton, {}, QPoint(4, 4));
    QCOMPARE(ids, QList<int>{1053});
  }

  void leftClickNotifiesWhileAllowed() {
    CLabel label;
    label.resize(50, 15);
    int clicks = 0;
    QObject::connect(&label, &CLabel::clicked, &label, [&clicks] { ++clicks; });
    QTest::mouseClick(&label, Qt::LeftButton, {}, QPoint(4, 4));
    label.SetClickNotify(false);
    QTest::mouseClick(&label, Qt::LeftButton, {}, QPoint(4, 4));
    QCOMPARE(clicks, 1);
  }

  void cursorAndToolTip() {
    CLabel label;
    label.SetCursorHandle(QCursor(Qt::PointingHandCursor));
    QCOMPARE(label.cursor().shape(), Qt::PointingHandCursor);
    QVERIFY(!label.HasToolTip());
    label.SetToolTipText(QStringLiteral("first"), 0).SetToolTipText(QStringLiteral("second"), 3000);
    QVERIFY(label.HasToolTip());
    QCOMPARE(label.ToolTipText(), QStringLiteral("second"));
  }
};

LEXORIA_TEST_MAIN(LabelTest)
#include "test_label.moc"
