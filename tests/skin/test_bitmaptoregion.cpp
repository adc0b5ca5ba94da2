// SPDX-License-Identifier: GPL-3.0-or-later
#include "testenv.h"
#include "toolkit/bitmaptoregion.h"
#include "toolkit/resources.h"

#include <QApplication>
#include <QBitmap>
#include <QTest>

#include <unistd.h>

using lexoria::BitmapToRegion;
using lexoria::BitmapToRegionBatched;
using lexoria::RegionScanStats;

namespace {

// A picture from rows of characters: '#' black key, '.' white, 'g' (16,16,16),
// 'r' (17,0,0), 'G' (0,17,0), 'B' (0,0,17).
QImage Picture(const QStringList& rows) {
  QImage img(rows.first().size(), rows.size(), QImage::Format_RGB32);
  for (int y = 0; y < rows.size(); ++y) {
    for (int x = 0; x < rows[y].size(); ++x) {
      QRgb c = qRgb(255, 255, 255);
      switch (rows[y][x].toLatin1()) {
        case '#': c = qRgb(0, 0, 0); break;
        case 'g': c = qRgb(16, 16, 16); break;
        case 'r': c = qRgb(17, 0, 0); break;
        case 'G': c = qRgb(0, 17, 0); break;
        case 'B': c = qRgb(0, 0, 17); break;
        default: break;
      }
      img.setPixel(x, y, c);
    }
  }
  return img;
}

// The region the picture should give, pixel by pixel.
QRegion Expected(const QStringList& rows, const QString& kept) {
  QRegion region;
  for (int y = 0; y < rows.size(); ++y)
    for (int x = 0; x < rows[y].size(); ++x)
      if (kept.contains(rows[y][x])) region += QRect(x, y, 1, 1);
  return region;
}

// Qt's own mask of exact black, the reference for pictures whose only dark
// pixels are pure black.
QRegion QtBlackMask(const QImage& img) { return QRegion(QBitmap::fromImage(img.createMaskFromColor(qRgb(0, 0, 0)))); }

// Vertical stripes one pixel wide: every other pixel black, so each row has
// width / 2 runs of each kind.
QImage Stripes(int w, int h) {
  QImage img(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) img.setPixel(x, y, ((x + y) % 2) ? qRgb(200, 40, 40) : qRgb(0, 0, 0));
  return img;
}

}  // namespace

class BitmapToRegionTest : public QObject {
  Q_OBJECT
 private slots:
  void keyTolerance_data() {
    QTest::addColumn<QStringList>("rows");
    QTest::newRow("no black gives the full rectangle") << QStringList{"....", "....", "...."};
    QTest::newRow("all black within the tolerance is empty") << QStringList{"##g#", "g##g"};
    QTest::newRow("(16,16,16) cut, one component of 17 kept") << QStringList{"grGB", "Brg#", "...."};
    QTest::newRow("runs end at the right edge") << QStringList{"#...", "##..", "#..#", "...#"};
    QTest::newRow("runs never span rows") << QStringList{"..##", "##..", ".##."};
    QTest::newRow("one pixel") << QStringList{"."};
    QTest::newRow("one black pixel") << QStringList{"#"};
  }
  void keyTolerance() {
    QFETCH(QStringList, rows);
    const QImage img = Picture(rows);
    const QRegion expected = Expected(rows, QStringLiteral(".rGB"));
    for (int mode : {0, 1, 7}) {
      const auto region = BitmapToRegion(img, lexoria::kKeyBlack, mode);
      QVERIFY(region.has_value());
      QCOMPARE(*region, expected);
    }
  }

  void fullAndEmptyPictures() {
    const QImage white = Picture({"......", "......"});
    QCOMPARE(*BitmapToRegion(white, lexoria::kKeyBlack, 0), QRegion(0, 0, 6, 2));
    const QImage black = Picture({"#g#", "ggg"});
    QVERIFY(BitmapToRegion(black, lexoria::kKeyBlack, 0)->isEmpty());
    QVERIFY(!BitmapToRegion(QImage(), lexoria::kKeyBlack, 0).has_value());
  }

  void runsPerRow() {
    // Key runs: row 0 "#" at 0 and "##" at 3-4 (to the right edge); row 1 none.
    RegionScanStats stats;
    BitmapToRegion(Picture({"#..##", "....."}), lexoria::kKeyBlack, 0, &stats);
    QCOMPARE(stats.runs, 2);
    QCOMPARE(stats.batches, 1);
    BitmapToRegion(Picture({"#..##", "....."}), lexoria::kKeyBlack, 1, &stats);
    QCOMPARE(stats.runs, 2);  // "..", then the whole second row
  }

  void whiteAndOtherKeys() {
    QImage img(5, 1, QImage::Format_RGB32);
    img.setPixel(0, 0, qRgb(239, 239, 239));  // white key: cut
    img.setPixel(1, 0, qRgb(238, 255, 255));  // kept
    img.setPixel(2, 0, qRgb(255, 255, 255));  // cut
    img.setPixel(3, 0, qRgb(0, 0, 0));        // kept
    img.setPixel(4, 0, qRgb(250, 242, 245));  // cut
    QCOMPARE(*BitmapToRegion(img, lexoria::kKeyWhite, 0), QRegion(1, 0, 1, 1) + QRegion(3, 0, 1, 1));

    // Key 0x0000FF is pure red: red pixels within 17 go, blue ones stay.
    QImage colours(4, 1, QImage::Format_RGB32);
    colours.setPixel(0, 0, qRgb(255, 0, 0));
    colours.setPixel(1, 0, qRgb(238, 17, 17));
    colours.setPixel(2, 0, qRgb(0, 0, 255));
    colours.setPixel(3, 0, qRgb(237, 0, 0));
    QCOMPARE(*BitmapToRegion(colours, 0x0000FF, 0), QRegion(2, 0, 2, 1));
    QCOMPARE(*BitmapToRegion(colours, 0x0000FF, 1), QRegion(2, 0, 2, 1));
  }

  void batches_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("runs");
    QTest::addColumn<int>("batches");
    // 100 wide: 50 key runs a row.
    QTest::newRow("one batch") << 100 << 10 << 500 << 1;
    QTest::newRow("exactly 3000 leaves an empty last batch") << 100 << 60 << 3000 << 2;
    QTest::newRow("3001") << 102 << 60 << 3060 << 2;
    QTest::newRow("three full batches and a part") << 100 << 190 << 9500 << 4;
  }
  void batches() {
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, runs);
    QFETCH(int, batches);
    const QImage img = Stripes(width, height);
    RegionScanStats stats;
    const auto region = BitmapToRegion(img, lexoria::kKeyBlack, 0, &stats);
    QCOMPARE(stats.runs, runs);
    QCOMPARE(stats.batches, batches);
    QVERIFY(stats.capacity <= lexoria::kRegionBatchLimit);
    QCOMPARE(stats.capacity % lexoria::kRegionBatchGrowth, 0);
    QCOMPARE(*region, QtBlackMask(img));
    // Other batch sizes, down to one run a batch, give the same region.
    for (int limit : {1, 7, 100, 1000000}) QCOMPARE(*BitmapToRegionBatched(img, lexoria::kKeyBlack, 0, limit), *region);
    QCOMPARE(*BitmapToRegion(img, lexoria::kKeyBlack, 1), *region);
  }

  void matchesQtMaskOnTheArtwork_data() {
    QTest::addColumn<int>("id");
    QTest::newRow("skin") << 1129;
    QTest::newRow("about box") << 189;
  }
  void matchesQtMaskOnTheArtwork() {
    QFETCH(int, id);
    const QImage img = lexoria::LoadBitmapResource(id);
    QVERIFY(!img.isNull());
    RegionScanStats stats;
    const auto region = BitmapToRegion(img, lexoria::kKeyBlack, 0, &stats);
    QVERIFY(region.has_value());
    // Equal to the exact-black mask: nothing inside the shape is dark
    // enough to be cut by the tolerance.
    QCOMPARE(*region, QtBlackMask(img));
    // A shaped window: the corners are cut, the middle is kept.
    QVERIFY(!region->contains(QPoint(0, 0)));
    QVERIFY(!region->contains(QPoint(img.width() - 1, img.height() - 1)));
    QVERIFY(region->contains(QPoint(img.width() / 2, img.height() / 2)));
    QVERIFY(stats.runs < lexoria::kRegionBatchLimit);
    qInfo("bitmap %d: %d runs", id, stats.runs);
  }
};

LEXORIA_TEST_MAIN(BitmapToRegionTest)
#include "test_bitmaptoregion.moc"
