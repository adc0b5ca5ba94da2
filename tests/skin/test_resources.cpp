// SPDX-License-Identifier: GPL-3.0-or-later
#include "testenv.h"
#include "toolkit/resources.h"
#include "toolkit/scaledbitmap.h"

#include <QApplication>
#include <QFile>
#include <QPainter>
#include <QTest>

#include <cstdlib>

namespace {
struct Size {
  int id;
  int width;
  int height;
};

// Every bitmap the program loads, at the size its window code relies on.
constexpr Size kBitmaps[] = {
    {1129, 725, 553}, {149, 170, 86},  {160, 20, 20},   {161, 20, 20},   {189, 496, 412}, {186, 381, 34},
    {177, 354, 13},   {178, 576, 13},  {180, 195, 15},  {181, 486, 13},  {1130, 54, 18},  {156, 54, 18},
    {1133, 378, 34},  {1143, 378, 34}, {1137, 378, 34}, {1138, 378, 35}, {1134, 378, 36}, {1141, 378, 35},
    {1142, 378, 34},  {1140, 378, 36}, {1135, 378, 36}, {1144, 378, 36}, {1136, 129, 33}, {147, 243, 29},
    {157, 132, 33},   {148, 258, 13},  {150, 270, 13},  {1139, 93, 28},
};

int Le16(const QByteArray& b, int at) { return uchar(b[at]) | (uchar(b[at + 1]) << 8); }
}  // namespace

class ResourcesTest : public QObject {
  Q_OBJECT
 private slots:
  void bitmapsHaveTheirSizesAndDepth() {
    for (const Size& s : kBitmaps) {
      const QImage img = lexoria::LoadBitmapResource(s.id);
      QVERIFY2(!img.isNull(), qPrintable(QString::number(s.id)));
      QCOMPARE(img.size(), QSize(s.width, s.height));
      QFile file(lexoria::BitmapResourcePath(s.id));
      QVERIFY(file.open(QIODevice::ReadOnly));
      const QByteArray header = file.read(54);
      QCOMPARE(header.left(2), QByteArray("BM"));
      QCOMPARE(Le16(header, 28), 24);  // bits per pixel
    }
  }

  // Every bitmap at every ratio: the ratio carried, the 1x size times the
  // ratio in device pixels, the 2x drawing itself at 2, and between 1 and 2
  // a smooth downscale of it (close to the 2x drawing averaged down, never
  // the 1x picture blown up).
  void bitmapsForRatios_data() {
    QTest::addColumn<double>("ratio");
    for (double r : {0.5, 1.0, 1.25, 1.5, 1.75, 2.0, 3.0}) QTest::newRow(qPrintable(QString::number(r))) << r;
  }
  void bitmapsForRatios() {
    QFETCH(double, ratio);
    for (const Size& s : kBitmaps) {
      const QImage img = lexoria::LoadBitmapForRatio(s.id, ratio);
      const QString id = QString::number(s.id);
      const double r = qMax(ratio, 1.0);
      QVERIFY2(!img.isNull(), qPrintable(id));
      QCOMPARE(img.format(), QImage::Format_RGB32);
      QCOMPARE(img.devicePixelRatio(), r);
      QCOMPARE(img.size(), QSize(qRound(s.width * r), qRound(s.height * r)));
      QCOMPARE(qRound(img.deviceIndependentSize().width()), s.width);
      QCOMPARE(qRound(img.deviceIndependentSize().height()), s.height);
      if (r == 1) QCOMPARE(img, lexoria::LoadBitmapResource(s.id));
      if (r == 2) {
        QImage file(lexoria::BitmapResourcePath(s.id, true));
        QCOMPARE(img, file.convertToFormat(QImage::Format_RGB32));
      }
    }
  }

  void fractionalRatiosComeFromTheTwoXDrawing() {
    // The about box's text at 1.5: nearer the 2x drawing scaled down than
    // the 1x picture scaled up.
    const QImage got = lexoria::LoadBitmapForRatio(189, 1.5);
    const QImage fromTwoX = QImage(lexoria::BitmapResourcePath(189, true))
                                .convertToFormat(QImage::Format_RGB32)
                                .scaled(got.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    const QImage fromOneX =
        lexoria::LoadBitmapResource(189).scaled(got.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    auto distance = [&got](const QImage& other) {
      double sum = 0;
      for (int y = 0; y < got.height(); ++y) {
        for (int x = 0; x < got.width(); ++x) {
          const QRgb a = got.pixel(x, y), b = other.pixel(x, y);
          sum += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
        }
      }
      return sum / (3.0 * got.width() * got.height());
    };
    QVERIFY2(distance(fromTwoX) < distance(fromOneX),
             qPrintable(QStringLiteral("%1 vs %2").arg(distance(fromTwoX)).arg(distance(fromOneX))));
  }

  // A held picture follows the ratio asked for, keeps its 1x picture, and
  // draws itself for the painter's device, pixel for pixel.
  void scaledBitmapFollowsTheRatio() {
    lexoria::ScaledBitmap skin(1129, 1);
    QCOMPARE(skin.Size(), QSize(725, 553));
    QCOMPARE(skin.Current().devicePixelRatio(), 1.0);
    for (qreal r : {2.0, 1.5, 1.0, 2.0}) {
      QCOMPARE(skin.ForRatio(r), lexoria::LoadBitmapForRatio(1129, r));
      QCOMPARE(skin.Current().devicePixelRatio(), r);
      QCOMPARE(skin.OneX(), lexoria::LoadBitmapResource(1129));
    }
    QVERIFY(lexoria::ScaledBitmap(4242, 2).isNull());
    QVERIFY(lexoria::ScaledBitmap(4242, 2).ForRatio(2).isNull());
  }

  void scaledBitmapDrawsForThePaintersDevice_data() {
    QTest::addColumn<double>("ratio");
    for (double r : {1.0, 1.5, 2.0}) QTest::newRow(qPrintable(QString::number(r))) << r;
  }
  void scaledBitmapDrawsForThePaintersDevice() {
    QFETCH(double, ratio);
    lexoria::ScaledBitmap about(189, 1);  // loaded for another ratio
    const QImage want = lexoria::LoadBitmapForRatio(189, ratio);
    QImage canvas(want.size(), QImage::Format_RGB32);
    canvas.setDevicePixelRatio(ratio);
    canvas.fill(Qt::magenta);
    {
      QPainter p(&canvas);
      about.Draw(p, QPoint(0, 0));
    }
    QCOMPARE(canvas, want);
    QCOMPARE(about.Current().devicePixelRatio(), ratio);
  }

  void iconCarriesBothDrawings() {
    const QIcon icon = lexoria::LoadIconResource(146);
    const QPixmap one = icon.pixmap(QSize(64, 64), 1.0);
    const QPixmap two = icon.pixmap(QSize(64, 64), 2.0);
    QCOMPARE(one.size(), QSize(64, 64));
    QCOMPARE(two.size(), QSize(128, 128));
    QCOMPARE(two.devicePixelRatio(), 2.0);
    QCOMPARE(two.toImage().convertToFormat(QImage::Format_RGB32),
             QImage(QStringLiteral(":/lexoria/icons/146@2x.bmp")).convertToFormat(QImage::Format_RGB32));
  }

  void unknownIdsGiveNothing() {
    QVERIFY(lexoria::LoadBitmapForRatio(4242, 2).isNull());
    QVERIFY(lexoria::LoadBitmapForRatio(4242, 1.5).isNull());
    QVERIFY(lexoria::LoadBitmapResource(4242).isNull());
    QVERIFY(lexoria::LoadIconResource(4242).isNull());
  }

  void iconExists() {
    const QIcon icon = lexoria::LoadIconResource(146);
    QVERIFY(!icon.isNull());
    QVERIFY(!icon.pixmap(32, 32).isNull());
  }
};

LEXORIA_TEST_MAIN(ResourcesTest)
#include "test_resources.moc"
