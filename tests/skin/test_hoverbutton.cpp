// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/hoverbutton.h"
#include "testenv.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

namespace {
// A strip whose three pictures are plain red, green and blue.
QImage Strip(int width, int height) {
  QImage img(width, height, QImage::Format_RGB32);
  const int cell = width / 3;
  for (int x = 0; x < width; ++x) {
    const QRgb c = x < cell ? qRgb(255, 0, 0) : (x < 2 * cell ? qRgb(0, 255, 0) : qRgb(0, 0, 255));
    for (int y = 0; y < height; ++y) img.setPixel(x, y, c);
  }
  return img;
}

QRgb Shown(CHoverButton& b) { return b.grab().toImage().pixel(b.width() / 2, b.height() / 2); }

void Move(QWidget& w, QPoint at) {
  QMouseEvent move(QEvent::MouseMove, at, w.mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(&w, &move);
}
}  // namespace

class HoverButtonTest : public QObject {
  Q_OBJECT
 private slots:
  void sizeFollowsThePicture_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<QSize>("button");
    QTest::newRow("150 x 20") << 150 << 20 << QSize(50, 20);
    QTest::newRow("151 wide still 50") << 151 << 20 << QSize(50, 20);
  }
  void sizeFollowsThePicture() {
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(QSize, button);
    QWidget parent;
    CHoverButton b(&parent);
    b.setGeometry(30, 40, 200, 90);
    QVERIFY(b.SetBitmap(Strip(width, height)));
    QCOMPARE(b.size(), button);
    QCOMPARE(b.pos(), QPoint(30, 40));
  }

  void resourceBitmapSizesTheButton() {
    CHoverButton b;
    QVERIFY(b.LoadBitmap(186));
    QCOMPARE(b.size(), QSize(127, 34));
    QVERIFY(b.LoadBitmap(1138));
    QCOMPARE(b.size(), QSize(126, 35));
    QVERIFY(!b.LoadBitmap(4242));
  }

  void picturesForNormalHoverAndPressed() {
    QWidget parent;
    parent.resize(200, 100);
    CHoverButton b(&parent);
    b.SetBitmap(Strip(150, 20));
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));
    QEvent away(QEvent::Leave);  // wherever the pointer happens to be
    QApplication::sendEvent(&b, &away);
    QCOMPARE(Shown(b), qRgb(255, 0, 0));
    Move(b, QPoint(5, 5));
    QVERIFY(b.IsHover());
    QVERIFY(b.IsTracking());
    QCOMPARE(Shown(b), qRgb(0, 0, 255));
    b.setDown(true);  // pressed wins over hover
    QCOMPARE(b.CurrentPicture(), CHoverButton::kPressed);
    QCOMPARE(Shown(b), qRgb(0, 255, 0));
    b.setDown(false);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&b, &leave);
    QVERIFY(!b.IsHover());
    QVERIFY(!b.IsTracking());
    QCOMPARE(Shown(b), qRgb(255, 0, 0));
    // The next move asks for tracking again.
    Move(b, QPoint(6, 6));
    QVERIFY(b.IsTracking());
    QVERIFY(b.IsHover());
  }

  void pressedWithoutHover() {
    CHoverButton b;
    b.SetBitmap(Strip(90, 10));
    b.setDown(true);
    QCOMPARE(Shown(b), qRgb(0, 255, 0));
  }

  void clickStillClicks() {
    QWidget parent;
    CHoverButton b(&parent);
    b.SetBitmap(Strip(90, 10));
    parent.show();
    int clicks = 0;
    QObject::connect(&b, &QPushButton::clicked, &parent, [&clicks] { ++clicks; });
    QTest::mouseClick(&b, Qt::LeftButton, {}, QPoint(3, 3));
    QCOMPARE(clicks, 1);
  }

  void toolTips() {
    CHoverButton b;
    QVERIFY(!b.HasToolTip());
    b.SetToolTipText(QString(), true);  // nothing happens
    QVERIFY(!b.HasToolTip());
    b.ActivateToolTip(true);  // no tool yet: nothing to activate
    QVERIFY(!b.IsToolTipActive());
    b.SetToolTipText(QStringLiteral("Search"), true);
    QVERIFY(b.HasToolTip());
    QVERIFY(b.IsToolTipActive());
    QCOMPARE(b.ToolTipText(), QStringLiteral("Search"));
    // A second call updates the one tool's text.
    b.SetToolTipText(QStringLiteral("Remove from Favorite"), false);
    QCOMPARE(b.ToolTipText(), QStringLiteral("Remove from Favorite"));
    QVERIFY(!b.IsToolTipActive());
    b.ActivateToolTip(true);
    QVERIFY(b.IsToolTipActive());
  }

  // The string-resource form: a button's tooltip is the string of its id; an
  // id without a string changes nothing.
  void toolTipFromAStringResource() {
    CHoverButton b;
    b.SetToolTipText(999999, true);
    QVERIFY(!b.HasToolTip());
    b.SetToolTipText(1031, true);
    QCOMPARE(b.ToolTipText(), QStringLiteral("Play sound"));
    QVERIFY(b.IsToolTipActive());
    b.SetToolTipText(999999, false);
    QCOMPARE(b.ToolTipText(), QStringLiteral("Play sound"));
    QVERIFY(b.IsToolTipActive());
  }
};

LEXORIA_TEST_MAIN(HoverButtonTest)
#include "test_hoverbutton.moc"
