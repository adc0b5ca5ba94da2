// SPDX-License-Identifier: GPL-3.0-or-later
// The committed pictures are what the artwork tool draws, at 1x as they
// always were and at 2x drawn afresh at the double resolution: byte for byte
// where no font is drawn, within the rendering tolerance where one is.
#include "detail.h"
#include "picturematch.h"
#include "testenv.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {
// The 1x pictures as the window was first drawn with: the 1x look must not
// move while the 2x pictures are added or redrawn.
struct Pinned {
  const char* file;
  const char* sha256;
};
constexpr Pinned kPinnedOneX[] = {
    {"1129_skin.bmp", "d05974ff4f10ad7578ff5367d35b2706f182f484da2a16293cfc76ac55edcbee"},
    {"1130_exit.bmp", "c8c96db4f0520b2ee62090fb72269e6e05657e5999ff71f2905878b3b5ec6dcb"},
    {"1133_cat_basic.bmp", "df603f363c7382efddf7b00e490039a7fddc7ef04e732409c369b4a24f0cd31c"},
    {"1134_cat_business.bmp", "77e74efbf8d14e208c95559c53f3d4732daba4ba4c7e5ad9ced165156989d6ba"},
    {"1135_cat_emergency.bmp", "13a437cbf46f66d00228c27ac9516f9c130f06e044ca23b9e1591d0ddb315b2a"},
    {"1136_favourite_toggle.bmp", "476ce0a8fe39e0b397c36406fa791f5dae9786db617c0289773bf24917f7b45a"},
    {"1137_cat_food.bmp", "a3fe5d86473dc5dd7a8d193efab9924e556be9ac814741f88742ee47c0822dbb"},
    {"1138_cat_lodging.bmp", "2b278bb4ecb9a9f75ad04194d50e906f16cb9c610e9642358a7f697354fad67c"},
    {"1139_play.bmp", "9584b3a56bce72d810c09477e3799774da49c6572729445fd097925039d6d932"},
    {"1140_cat_shopping.bmp", "88c7577076449ab92d8c58e3bc4c6a63ea52d199f4a87eafcab30ef4455513f0"},
    {"1141_cat_sightseeing.bmp", "590acb4591c49bdd1d79b56bf498f84ebbc9d1010dba290b380625cb14983743"},
    {"1142_cat_social.bmp", "3fb7b454db3cd730aef5cd1d661946db45afd87582d693394e15f6716c4dce0c"},
    {"1143_cat_travel.bmp", "66d2cb31d7bf5781cb479e15003054cc96db58193ca2aaef54ce27611aabf963"},
    {"1144_cat_question.bmp", "118b69fecfbd946d19a27af946e142ce064e6689d514f95741e540cef7d0b0c9"},
    {"1146_practice.bmp", "35baec5fd3995df53ba6fa938cd9cbb2a67fb539f639a9c46daf2bec703b5191"},
    {"146_icon.bmp", "bbefe8d48868b2c9cfaf39de6375035675bbe86144696a73cfd69f0c79877d24"},
    {"147_search_mode.bmp", "13dfff5ba54c1220488683171cfe4aaec6bf473a30c364ddb9fc19f75724b18b"},
    {"148_related.bmp", "9bc71f42d7589cc3c687ca97d58bf7f702f567ffe27a9259e8b7a752d92a7c5d"},
    {"149_list_texture.bmp", "d8281250041f8a538753c807858ebdf95f6527568a0c935e8c46405e3b477a04"},
    {"150_favourites.bmp", "ec3fb25398412bbc088c0c28552c7827bb7c8c17957cf8cb8aa672f24b787690"},
    {"156_minimise.bmp", "b149f0458681748a0b8c337f1e56adaef3c7053c7ebe0823ce0033d47f77374a"},
    {"157_search_go.bmp", "2f663dddcc1c9ca3e0106292c9a47e8e9b4838cc2ab52a4191466d14cc90500b"},
    {"160_switch_kanji.bmp", "6c98159fa07154c6aa992cdee99712064973f092d9b6d313683fb94b58ecf0ae"},
    {"161_switch_kana.bmp", "1af11f42ca2e035cd362ba73d2e8ef38bcae46f807d1e85765da0906cbfa1401"},
    {"177_link_update.bmp", "3538acfec4ba176724eec11c4d686e5dd8b93d757f483da2ddc68543c4228cf0"},
    {"178_link_report.bmp", "08d04c85d0befafdd445f8f98bf334fe80c1a4520b0c560a4edf1a923b1c832c"},
    {"180_about.bmp", "7a7dd8fa8c4303c6dbce598b58a56bf5aba66d48f820778a23e58b8a0044105b"},
    {"181_link_support.bmp", "6c31a0f05f82dd2198a7cee0293d95743122390014ddd5452aefcb6b4bdf0528"},
    {"186_about_ok.bmp", "fab84e4c7f750b289fd831edc344e73980aecb8046fc90fb90025cba6d066bca"},
    {"189_about_background.bmp", "25b4d8d8651d087eb9bf81bd1488cbced97d0b6766164fd4c89b2f59c734f71c"},
};

constexpr char kIconFile[] = "example.lexoria.Japanese.png";

// Pictures drawn from shapes alone come out byte for byte the same on every
// machine; the rest draw text and are held within the rendering tolerance.
constexpr const char* kWithoutFont[] = {"1130_exit",      "1136_favourite_toggle", "1139_play",
                                        "1145_play_slow", "149_list_texture",      "156_minimise"};

bool DrawnWithoutFont(const QString& name) {
  for (const char* stem : kWithoutFont) {
    const QString s = QString::fromUtf8(stem);
    if (name == s + QStringLiteral(".bmp") || name == s + QStringLiteral("@2x.bmp")) return true;
  }
  return false;
}

// The icon files under root's icons/hicolor, relative to root, sorted.
QStringList HicolorIcons(const QDir& root) {
  QStringList names;
  QDirIterator it(root.filePath(QStringLiteral("icons/hicolor")), {QStringLiteral("*.png")}, QDir::Files,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) names << root.relativeFilePath(it.next());
  names.sort();
  return names;
}

QDir ResFolder() { return QDir(qEnvironmentVariable("LEXORIA_SOURCE_DIR") + QStringLiteral("/res")); }

QStringList OneXFiles() {
  QStringList names = ResFolder().entryList({QStringLiteral("*.bmp")}, QDir::Files, QDir::Name);
  names.removeIf([](const QString& n) { return n.contains(QLatin1Char('@')); });
  return names;
}

QString TwoXName(const QString& oneX) {
  return QString(oneX).replace(QStringLiteral(".bmp"), QStringLiteral("@2x.bmp"));
}

// The picture averaged down over 2x2 blocks.
QImage BoxDownscale(const QImage& source) {
  const QImage img = source.convertToFormat(QImage::Format_RGB32);
  QImage out(img.width() / 2, img.height() / 2, QImage::Format_RGB32);
  for (int y = 0; y < out.height(); ++y) {
    for (int x = 0; x < out.width(); ++x) {
      int r = 0, g = 0, b = 0;
      for (int k = 0; k < 4; ++k) {
        const QRgb p = img.pixel(2 * x + (k & 1), 2 * y + (k >> 1));
        r += qRed(p);
        g += qGreen(p);
        b += qBlue(p);
      }
      out.setPixel(x, y, qRgb(r / 4, g / 4, b / 4));
    }
  }
  return out;
}

double MeanAbsDifference(const QImage& a, const QImage& b) {
  double sum = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
    }
  }
  return sum / (3.0 * a.width() * a.height());
}
}  // namespace

class ArtworkTest : public QObject {
  Q_OBJECT
 private slots:
  void toolRegeneratesTheCommittedFiles() {
    QTemporaryDir out;
    QVERIFY(out.isValid());
    QProcess tool;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    tool.setProcessEnvironment(env);
    tool.start(QStringLiteral(LEXORIA_ARTWORK_TOOL), {out.path()});
    QVERIFY(tool.waitForFinished(120000));
    QCOMPARE(tool.exitCode(), 0);

    const QDir res = ResFolder();
    const QDir drawn(out.path());
    QStringList committed = res.entryList({QStringLiteral("*.bmp")}, QDir::Files, QDir::Name);
    QCOMPARE(drawn.entryList({QStringLiteral("*.bmp")}, QDir::Files, QDir::Name), committed);
    // The desktop icons, one PNG per theme size.
    const QStringList icons = HicolorIcons(res);
    QCOMPARE(HicolorIcons(drawn), icons);
    committed += icons;
    for (const QString& name : committed) {
      const QString why = name + QStringLiteral(" differs: run the artwork target");
      if (DrawnWithoutFont(name)) {
        QFile a(res.filePath(name));
        QFile b(drawn.filePath(name));
        QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        QVERIFY2(a.readAll() == b.readAll(), qPrintable(why));
        continue;
      }
      const PictureDifference d = ComparePictures(QImage(res.filePath(name)), QImage(drawn.filePath(name)));
      if (d.differing > 0)
        qInfo("%-52s %lld of %lld pixels differ, by at most %d", qPrintable(name), qlonglong(d.differing),
              qlonglong(d.pixels), d.largestStep);
      QVERIFY2(WithinRenderingTolerance(d), qPrintable(why));
    }
  }

  // The tolerance takes a machine's rendering noise and nothing a change to
  // a picture would make.
  void toleranceRefusesAChangedPicture_data() {
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("unchanged") << "none" << true;
    QTest::newRow("noise: a level on a few pixels") << "noise" << true;
    QTest::newRow("one pixel recoloured") << "pixel" << false;
    QTest::newRow("a small stroke added") << "stroke" << false;
    QTest::newRow("a level on a tenth of the picture") << "tint" << false;
    QTest::newRow("shifted by one pixel") << "shift" << false;
    QTest::newRow("another size") << "size" << false;
    QTest::newRow("made see-through") << "alpha" << false;
  }
  void toleranceRefusesAChangedPicture() {
    QFETCH(QString, change);
    QFETCH(bool, accepted);
    const QImage icon = QImage(ResFolder().filePath(QStringLiteral("icons/hicolor/256x256/apps/%1").arg(kIconFile)))
                            .convertToFormat(QImage::Format_ARGB32);
    QVERIFY(!icon.isNull());
    QImage other = icon.copy();
    const auto nudge = [&other](int x, int y, int by) {
      const QRgb p = other.pixel(x, y);
      other.setPixel(x, y, qRgba(std::clamp(qRed(p) + by, 0, 255), qGreen(p), qBlue(p), qAlpha(p)));
    };
    if (change == QLatin1String("noise")) {
      for (int i = 0; i < 12; ++i) nudge(100 + i, 120, i % 2 ? 1 : -1);
    } else if (change == QLatin1String("pixel")) {
      nudge(128, 128, 40);
    } else if (change == QLatin1String("stroke")) {
      for (int i = 0; i < 6; ++i) nudge(120 + i, 100, 24);
    } else if (change == QLatin1String("tint")) {
      for (int y = 0; y < icon.height() / 10; ++y)
        for (int x = 0; x < icon.width(); ++x) nudge(x, y + 100, 1);
    } else if (change == QLatin1String("shift")) {
      other = icon.copy(1, 0, icon.width(), icon.height());
    } else if (change == QLatin1String("size")) {
      other = icon.copy(0, 0, icon.width() - 1, icon.height());
    } else if (change == QLatin1String("alpha")) {
      const QRgb p = other.pixel(128, 128);
      other.setPixel(128, 128, qRgba(qRed(p), qGreen(p), qBlue(p), qAlpha(p) / 2));
    }
    QCOMPARE(WithinRenderingTolerance(ComparePictures(icon, other)), accepted);
  }

  // Every size the icon theme looks in, square, with a clear surround so the
  // tile sits on any panel, and the tile itself opaque.
  void desktopIconsAtEveryThemeSize() {
    const QStringList icons = HicolorIcons(ResFolder());
    QStringList expected;
    for (const int px : {16, 24, 32, 48, 64, 128, 256})
      expected << QStringLiteral("icons/hicolor/%1x%1/apps/%2").arg(px).arg(kIconFile);
    expected.sort();
    QCOMPARE(icons, expected);
    for (const QString& name : icons) {
      const QImage img(ResFolder().filePath(name));
      const int px = name.section(QLatin1Char('/'), 2, 2).section(QLatin1Char('x'), 0, 0).toInt();
      QCOMPARE(img.size(), QSize(px, px));
      QVERIFY2(img.hasAlphaChannel(), qPrintable(name));
      QCOMPARE(qAlpha(img.pixel(0, 0)), 0);
      QCOMPARE(qAlpha(img.pixel(px / 2, px / 2)), 255);
    }
  }

  void oneXPicturesAreUnchanged() {
    for (const Pinned& pin : kPinnedOneX) {
      QFile file(ResFolder().filePath(QString::fromUtf8(pin.file)));
      QVERIFY2(file.open(QIODevice::ReadOnly), pin.file);
      const QByteArray hash = QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex();
      QVERIFY2(hash == pin.sha256, pin.file);
    }
  }

  // Every picture exists at 2x, exactly twice its 1x size each way.
  void everyPictureHasItsTwoXAtTwiceTheSize() {
    const QStringList names = OneXFiles();
    QVERIFY(names.size() >= int(std::size(kPinnedOneX)));
    for (const QString& name : names) {
      const QImage one(ResFolder().filePath(name));
      const QImage two(ResFolder().filePath(TwoXName(name)));
      QVERIFY2(!one.isNull() && !two.isNull(), qPrintable(name));
      QCOMPARE(two.size(), one.size() * 2);
    }
  }

  // The 2x picture is the same picture and carries detail of its own (it is
  // not the 1x one blown up). Same picture: both averaged down to half the
  // 1x size are close, so nothing is shifted or resized; the halving evens
  // out the half-pixel steps by which text baselines and edges snap.
  void twoXIsTheSamePictureDrawnFiner() {
    for (const QString& name : OneXFiles()) {
      const QImage one = QImage(ResFolder().filePath(name)).convertToFormat(QImage::Format_RGB32);
      const QImage two(ResFolder().filePath(TwoXName(name)));
      const double offBy = MeanAbsDifference(BoxDownscale(BoxDownscale(two)), BoxDownscale(one));
      const double detail = DetailRmse(two);
      qInfo("%-28s mean difference %5.2f, detail %.3f", qPrintable(name), offBy, detail);
      QVERIFY2(offBy < 12.0, qPrintable(name));
      QVERIFY2(detail > 0.005, qPrintable(name));
    }
  }
};

LEXORIA_TEST_MAIN(ArtworkTest)
#include "test_artwork.moc"
