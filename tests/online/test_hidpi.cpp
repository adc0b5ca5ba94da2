// SPDX-License-Identifier: GPL-3.0-or-later
// The window at the device pixel ratio the test runs at (QT_SCALE_FACTOR:
// registered at 1, 1.5 and 2): every picture is held at that ratio, the
// layout stays in 1x pixels, what is drawn between the controls is the
// picture for the ratio pixel for pixel, and the window shapes follow.
#include "controls/hoverbutton.h"
#include "online/aboutdlg.h"
#include "testenv.h"
#include "toolkit/bitmaptoregion.h"
#include "toolkit/resources.h"
#include "windowfixture.h"

#include <QApplication>
#include <QTest>

#include <cmath>
#include <utility>

namespace {
struct ButtonPicture {
  int control;
  int bitmap;
};

// Every picture button of the main window and its strip.
constexpr ButtonPicture kButtons[] = {
    {1046, 177},  {1048, 178},  {1050, 180},  {1047, 181},  {1041, 1130}, {1030, 156},  {1101, 1133}, {1102, 1143},
    {1104, 1137}, {1103, 1138}, {1106, 1134}, {1107, 1141}, {1105, 1142}, {1108, 1140}, {1109, 1135}, {1110, 1144},
    {1116, 1136}, {1021, 147},  {1023, 157},  {1022, 148},  {1026, 150},  {1031, 1139},
};

qreal Ratio() { return qApp->devicePixelRatio(); }

QSize DeviceSize(QSize oneX, qreal ratio) {
  return QSize(int(std::lround(oneX.width() * ratio)), int(std::lround(oneX.height() * ratio)));
}

// Area (in pixels) of a region.
qint64 Area(const QRegion& region) {
  qint64 area = 0;
  for (const QRect& r : region) area += qint64(r.width()) * r.height();
  return area;
}

// A region in 1x pixels as the window system gets it at ratio: each
// rectangle scaled and rounded.
QRegion ToDevice(const QRegion& region, qreal ratio) {
  QRegion device;
  for (const QRect& r : region) {
    device += QRectF(r.x() * ratio, r.y() * ratio, r.width() * ratio, r.height() * ratio).toRect();
  }
  return device;
}

// The window's free skin: inside its shape and clear of every visible
// control (by one pixel, for edges that fall between device pixels).
QRegion FreeSkin(const QWidget& window) {
  QRegion free = window.mask().isEmpty() ? QRegion(window.rect()) : window.mask();
  for (QWidget* child : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (child->isVisible()) free -= child->geometry().adjusted(-1, -1, 1, 1);
  }
  return free;
}

// Device pixels of shot over the free skin that differ from picture, and how
// many were compared.
struct Compared {
  int compared = 0;
  int differing = 0;
};
Compared CompareFree(const QImage& shot, const QImage& picture, const QRegion& free, qreal ratio) {
  Compared c;
  const QImage a = shot.convertToFormat(QImage::Format_RGB32);
  const QImage b = picture.convertToFormat(QImage::Format_RGB32);
  const int w = qMin(a.width(), b.width()), h = qMin(a.height(), b.height());
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      // Both 1x pixels this device pixel touches must be free.
      const QPoint first(int(x / ratio), int(y / ratio));
      const QPoint last(int((x + 0.999) / ratio), int((y + 0.999) / ratio));
      if (!free.contains(first) || !free.contains(last)) continue;
      ++c.compared;
      if (a.pixel(x, y) != b.pixel(x, y)) ++c.differing;
    }
  }
  return c;
}
}  // namespace

class HiDpiTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() {
    const qreal wanted = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")).toDouble();
    QCOMPARE(Ratio(), wanted);
  }

  void buttonsHoldTheirPicturesAtTheRatio() {
    windowtest::DataFolder data;
    windowtest::Window w;
    const qreal r = Ratio();
    for (const ButtonPicture& entry : kButtons) {
      auto* b = qobject_cast<CHoverButton*>(w.Dlg().Control(entry.control));
      QVERIFY2(b, qPrintable(QString::number(entry.control)));
      const QImage oneX = lexoria::LoadBitmapResource(entry.bitmap);
      QCOMPARE(b->Bitmap().devicePixelRatio(), r);
      QCOMPARE(b->Bitmap().size(), DeviceSize(oneX.size(), r));
      if (r == 2) QCOMPARE(b->Bitmap(), lexoria::LoadBitmapForRatio(entry.bitmap, 2));
      // The layout does not move: one picture of the 1x strip.
      QCOMPARE(b->size(), QSize(oneX.width() / 3, oneX.height()));
      // What the button shows is its picture for the ratio, pixel for pixel.
      const QImage shot = b->grab().toImage();
      QCOMPARE(shot.size(), DeviceSize(b->size(), r));
      const QImage normal = b->Bitmap().copy(QRect(QPoint(0, 0), shot.size()));
      const Compared c = CompareFree(shot, normal, QRegion(b->rect().adjusted(0, 0, -1, -1)), r);
      QVERIFY2(
          c.differing == 0,
          qPrintable(QStringLiteral("%1: %2 of %3 pixels differ").arg(entry.control).arg(c.differing).arg(c.compared)));
    }
  }

  void switchesAndTextureAtTheRatio() {
    windowtest::DataFolder data;
    windowtest::Window w;
    const qreal r = Ratio();
    for (int id : {1035, 1036}) {
      auto* label = qobject_cast<QLabel*>(w.Dlg().Control(id));
      QVERIFY(label);
      const QPixmap pixmap = label->pixmap();
      QCOMPARE(pixmap.devicePixelRatio(), r);
      QCOMPARE(pixmap.size(), DeviceSize(QSize(20, 20), r));
      QCOMPARE(label->size(), QSize(22, 22));  // picture and border in 1x pixels
    }
    const QBrush base = w.Dlg().PhraseList()->palette().brush(QPalette::Base);
    QCOMPARE(base.texture().devicePixelRatio(), r);
    QCOMPARE(base.texture().size(), DeviceSize(QSize(170, 86), r));
    QCOMPARE(base.texture().deviceIndependentSize(), QSizeF(170, 86));
    // The icon gives its 2x drawing wherever more than 1x is asked for.
    const QPixmap icon = w.Dlg().windowIcon().pixmap(QSize(64, 64), 2.0);
    QCOMPARE(icon.size(), QSize(128, 128));
    QCOMPARE(icon.toImage().convertToFormat(QImage::Format_RGB32),
             QImage(QStringLiteral(":/lexoria/icons/146@2x.bmp")).convertToFormat(QImage::Format_RGB32));
  }

  void skinDrawnPixelForPixel() {
    windowtest::DataFolder data;
    windowtest::Window w;
    const qreal r = Ratio();
    QCOMPARE(w.Dlg().SkinAsDrawn().devicePixelRatio(), r);
    QCOMPARE(w.Dlg().SkinAsDrawn().size(), DeviceSize(QSize(725, 553), r));
    const QImage shot = w.Dlg().grab().toImage();
    QCOMPARE(shot.devicePixelRatio(), r);
    const QImage expected = lexoria::LoadBitmapForRatio(1129, r);
    const Compared c = CompareFree(shot, expected, FreeSkin(w.Dlg()), r);
    QVERIFY(c.compared > 150000 * r * r);
    QVERIFY2(c.differing == 0, qPrintable(QStringLiteral("%1 of %2 pixels differ").arg(c.differing).arg(c.compared)));
  }

  void windowShapeFollowsTheScale() {
    windowtest::DataFolder data;
    windowtest::Window w;
    const qreal r = Ratio();
    const QImage oneX = lexoria::LoadBitmapResource(1129);
    QCOMPARE(w.Dlg().mask(), *lexoria::BitmapToRegion(oneX, lexoria::kKeyBlack, 0));
    // In device pixels the shape covers the 1x shape scaled, and agrees with
    // the shape of the picture drawn for the ratio but for its rounded
    // corners' antialiased rims.
    const QRegion device = ToDevice(w.Dlg().mask(), r);
    const QRegion drawn = *lexoria::BitmapToRegion(lexoria::LoadBitmapForRatio(1129, r), lexoria::kKeyBlack, 0);
    // Whole device pixels: a fractional ratio may round an edge either way.
    const QRect bounds = device.boundingRect(), drawnBounds = drawn.boundingRect();
    const int slack = r == std::floor(r) ? 0 : 1;
    for (auto [got, want] : {std::pair{bounds.left(), drawnBounds.left()},
                             {bounds.top(), drawnBounds.top()},
                             {bounds.right(), drawnBounds.right()},
                             {bounds.bottom(), drawnBounds.bottom()}}) {
      QVERIFY2(std::abs(got - want) <= slack, qPrintable(QStringLiteral("%1 against %2").arg(got).arg(want)));
    }
    const double area = double(Area(device)), oneXArea = double(Area(w.Dlg().mask()));
    QVERIFY2(std::abs(area / (oneXArea * r * r) - 1) < 0.002, qPrintable(QString::number(area / oneXArea)));
    const qint64 apart = Area(device.xored(drawn));
    // At a whole ratio only the corners' rims differ; at a fractional one an
    // edge may also fall half a device pixel either way: at most one device
    // pixel along the outline.
    const double allowed = slack ? 2.0 * (bounds.width() + bounds.height()) : 0.0002 * area;
    QVERIFY2(apart <= allowed, qPrintable(QStringLiteral("%1 of %2 device pixels apart").arg(apart).arg(area)));
  }

  void aboutBoxAtTheRatio() {
    const qreal r = Ratio();
    CAboutDlg about;
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QCOMPARE(about.BackgroundAsDrawn().devicePixelRatio(), r);
    QCOMPARE(about.BackgroundAsDrawn().size(), DeviceSize(QSize(496, 412), r));
    QCOMPARE(about.OkButton()->Bitmap().devicePixelRatio(), r);
    QCOMPARE(about.OkButton()->size(), QSize(127, 34));
    QCOMPARE(about.mask(), *lexoria::BitmapToRegion(lexoria::LoadBitmapResource(189), lexoria::kKeyBlack, 0));
    const Compared c = CompareFree(about.grab().toImage(), lexoria::LoadBitmapForRatio(189, r), FreeSkin(about), r);
    QVERIFY(c.compared > 50000 * r * r);
    QVERIFY2(c.differing == 0, qPrintable(QStringLiteral("%1 of %2 pixels differ").arg(c.differing).arg(c.compared)));
  }
};

LEXORIA_TEST_MAIN(HiDpiTest)
#include "test_hidpi.moc"
