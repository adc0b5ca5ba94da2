// SPDX-License-Identifier: GPL-3.0-or-later
#include "online/aboutdlg.h"
#include "testenv.h"
#include "toolkit/bitmaptoregion.h"
#include "toolkit/resources.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

class AboutDlgTest : public QObject {
  Q_OBJECT
 private slots:
  void shapeIsThePicture() {
    CAboutDlg about;
    QCOMPARE(about.Background().size(), QSize(496, 412));
    QVERIFY(about.Shape().has_value());
    const QRegion expected = *lexoria::BitmapToRegion(lexoria::LoadBitmapResource(189), lexoria::kKeyBlack, 0);
    QCOMPARE(*about.Shape(), expected);
    QCOMPARE(about.mask(), expected);
    QVERIFY(!about.mask().contains(QPoint(1, 1)));
    QVERIFY(!about.mask().contains(QPoint(495, 411)));
    // Outside the picture (the dialog is larger) nothing is shown.
    QVERIFY(!about.mask().contains(QPoint(497, 200)));
    // Every control stands inside the shape.
    for (QWidget* child : about.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      QVERIFY2(about.mask().intersected(child->geometry()) == QRegion(child->geometry()),
               qPrintable(child->objectName()));
    }
  }

  void labels_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<int>("size");
    QTest::newRow("1051") << 1051 << "Lexoria_Japanese" << QColor(0, 128, 192) << 22;
    QTest::newRow("1052") << 1052 << "Version 1.5.2" << QColor(0, 125, 251) << 14;
    QTest::newRow("1053") << 1053 << QString::fromUtf8("© 2026 Lexoria Phrasebooks") << QColor(0, 125, 251) << 14;
    QTest::newRow("1054") << 1054 << "All rights reserved." << QColor(0, 125, 251) << 14;
  }
  void labels() {
    QFETCH(int, id);
    QFETCH(QString, text);
    QFETCH(QColor, colour);
    QFETCH(int, size);
    CAboutDlg about;
    CLabel* label = about.Label(id);
    QVERIFY(label);
    QCOMPARE(label->text(), text);
    QCOMPARE(label->TextColor(), colour);
    QCOMPARE(label->FontWeight(), 700);
    QCOMPARE(label->FontHeight(), -size);
    // The text fits its room.
    QVERIFY(QFontMetrics(label->font()).horizontalAdvance(text) <= label->width());
  }

  void creditsTheVoice() {
    CAboutDlg about;
    const QString credits = about.Credits()->text();
    for (const char* part : {"\xE2\x80\x9CMei\xE2\x80\x9D HTS voice", "Nagoya Institute of Technology",
                             "MMDAgent Project Team", "CC BY 3.0"})
      QVERIFY2(credits.contains(QString::fromUtf8(part)), part);
    const QRect room = about.Credits()->contentsRect();
    const QRect needed = QFontMetrics(about.Credits()->font()).boundingRect(room, Qt::TextWordWrap, credits);
    QVERIFY(needed.height() <= room.height());
  }

  void okButtonEndsTheDialog() {
    CAboutDlg about;
    QCOMPARE(about.OkButton()->size(), QSize(127, 34));
    QCOMPARE(about.OkButton()->objectName(), QStringLiteral("1056"));
    QTimer::singleShot(0, &about,
                       [&about] { QTest::mouseClick(about.OkButton(), Qt::LeftButton, {}, QPoint(10, 10)); });
    QCOMPARE(about.exec(), int(QDialog::Accepted));
  }

  void draggedByLabelsAndEmptyArea() {
    CAboutDlg about;
    about.move(100, 100);
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    for (QWidget* grip : {static_cast<QWidget*>(&about), static_cast<QWidget*>(about.Label(1052))}) {
      const QPoint start = about.pos();
      QTest::mousePress(grip, Qt::LeftButton, {}, QPoint(5, 5));
      QMouseEvent move(QEvent::MouseMove, QPointF(25, 15), grip->mapToGlobal(QPointF(25, 15)), Qt::NoButton,
                       Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(grip, &move);
      QTest::mouseRelease(grip, Qt::LeftButton, {}, QPoint(25, 15));
      QCOMPARE(about.pos(), start + QPoint(20, 10));
    }
  }
};

LEXORIA_TEST_MAIN(AboutDlgTest)
#include "test_aboutdlg.moc"
