#include "testenv.h"
#include "toolkit/resources.h"

#include <QApplication>
#include <QFile>
#include <QTest>

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

  void unknownIdsGiveNothing() {
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
