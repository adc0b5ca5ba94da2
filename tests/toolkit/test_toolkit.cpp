// SPDX-License-Identifier: GPL-3.0-or-later
// The window toolkit: dialog units, the message box, the shell, temporary
// files, font files and regions.
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <array>

#include "toolkit/dialogtemplate.h"
#include "toolkit/fontfiles.h"
#include "toolkit/messagebox.h"
#include "toolkit/regions.h"
#include "toolkit/shell.h"
#include "toolkit/tempfiles.h"

// Receives the addresses the shell is asked to open.
class UrlCatcher : public QObject {
  Q_OBJECT

 public:
  QList<QUrl> urls;

 public slots:
  void open(const QUrl& url) { urls << url; }
};

class ToolkitTest : public QObject {
  Q_OBJECT

 private slots:
  void dialogUnits_data();
  void dialogUnits();
  void adjacentRectanglesStayAdjacent();
  void messageBoxGoesToTheInterceptor();
  void openWebAddress();
  void startProgram();
  void uniqueTemporaryFiles();
  void fontFiles();
  void regions();
};

void ToolkitTest::dialogUnits_data() {
  QTest::addColumn<QRect>("units");
  QTest::addColumn<QRect>("pixels");
  // x * 6 / 4 and y * 13 / 8, each edge rounded on its own.
  QTest::newRow("phrase list") << QRect(115, 118, 213, 114) << QRect(173, 192, 319, 185);
  QTest::newRow("Japanese text") << QRect(115, 235, 213, 36) << QRect(173, 382, 319, 58);
  QTest::newRow("pronunciation") << QRect(115, 274, 213, 32) << QRect(173, 445, 319, 52);
  QTest::newRow("origin") << QRect(0, 0, 1, 1) << QRect(0, 0, 2, 2);
  QTest::newRow("halves round up") << QRect(1, 4, 1, 4) << QRect(2, 7, 1, 6);
}

void ToolkitTest::dialogUnits() {
  QFETCH(QRect, units);
  QFETCH(QRect, pixels);
  QCOMPARE(lexoria::DialogRectToPixels(units), pixels);
}

void ToolkitTest::adjacentRectanglesStayAdjacent() {
  // The two phrase texts lie one unit apart and keep their order in pixels;
  // the main window's 489 x 376 units.
  const QRect japanese = lexoria::DialogRectToPixels(QRect(115, 235, 213, 36));
  const QRect pronunciation = lexoria::DialogRectToPixels(QRect(115, 274, 213, 32));
  QVERIFY(japanese.bottom() < pronunciation.top());
  QCOMPARE(lexoria::DialogRectToPixels(QRect(10, 10, 7, 5)).right() + 1,
           lexoria::DialogRectToPixels(QRect(17, 10, 7, 5)).left());
  QCOMPARE(lexoria::DialogSizeToPixels(QSize(489, 376)), QSize(734, 611));
}

void ToolkitTest::messageBoxGoesToTheInterceptor() {
  QStringList seen;
  QWidget owner;
  lexoria::MessageBoxes boxes;
  boxes.SetInterceptor([&seen, &owner](QWidget* to, const QString& caption, const QString& text) {
    seen << caption << text << (to == &owner ? "owned" : "not owned");
  });
  boxes.Show(&owner, "No favorite phrase!");
  QCOMPARE(seen, (QStringList{"test_toolkit", "No favorite phrase!", "owned"}));
  QCOMPARE(lexoria::ApplicationName(), QString("test_toolkit"));
}

void ToolkitTest::openWebAddress() {
  UrlCatcher catcher;
  QDesktopServices::setUrlHandler("http", &catcher, "open");
  lexoria::OpenWebAddress("http://127.0.0.1/Lexoria_Japanese/technicalsupport.jsp");
  QDesktopServices::unsetUrlHandler("http");
  QCOMPARE(catcher.urls.size(), 1);
  QCOMPARE(catcher.urls[0].path(), QString("/Lexoria_Japanese/technicalsupport.jsp"));
}

void ToolkitTest::startProgram() {
  QTemporaryDir dir;
  const QString marker = dir.filePath("ran");
  // Returns at once; the program runs on its own.
  QVERIFY(lexoria::StartProgram("/bin/sh", {"-c", "echo x > \"$0\"", marker}));
  QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(marker).size() > 0, 5000);
  QVERIFY(!lexoria::StartProgram(dir.filePath("no-such-program"), {}));
}

void ToolkitTest::uniqueTemporaryFiles() {
  QTemporaryDir dir;
  qputenv("TMPDIR", dir.path().toLocal8Bit());
  QCOMPARE(QDir(lexoria::TemporaryFolder()).canonicalPath(), QDir(dir.path()).canonicalPath());
  const QString first = lexoria::CreateUniqueTemporaryFile("upd");
  const QString second = lexoria::CreateUniqueTemporaryFile("upd");
  QVERIFY(!first.isEmpty());
  QVERIFY(first != second);
  for (const QString& path : {first, second}) {
    QVERIFY(QFileInfo::exists(path));
    QCOMPARE(QFileInfo(path).size(), 0);
    QVERIFY(QFileInfo(path).fileName().startsWith("upd"));
  }
  qunsetenv("TMPDIR");
}

void ToolkitTest::fontFiles() {
  const QString run = qEnvironmentVariable("LEXORIA_RUN_DIR");
  if (!QFileInfo::exists(QDir(run).filePath("arial.ttf"))) QSKIP("no arial.ttf in the run folder");
  QTemporaryDir dir;
  QFile::copy(QDir(run).filePath("arial.ttf"), dir.filePath("arial.ttf"));
  const QString previous = QDir::currentPath();
  QDir::setCurrent(dir.path());
  // A plain file name is looked up from the working directory.
  const QStringList families = lexoria::RegisterFontFile("arial.ttf");
  QCOMPARE(families, QStringList{"Liberation Sans"});
  QVERIFY(QFontDatabase::families().contains("Liberation Sans"));
  lexoria::UnregisterFontFile("arial.ttf");
  lexoria::UnregisterFontFile("arial.ttf");  // a second removal is harmless
  QVERIFY(lexoria::RegisterFontFile("missing.ttf").isEmpty());
  lexoria::UnregisterFontFile("missing.ttf");
  QDir::setCurrent(previous);
}

void ToolkitTest::regions() {
  const std::array rects = {QRect(0, 0, 4, 1), QRect(2, 0, 4, 1), QRect(0, 1, 6, 1)};
  const QRegion both = lexoria::RegionFromRects(rects);
  QCOMPARE(both, QRegion(0, 0, 6, 2));
  const QRegion full(0, 0, 6, 2);
  const QRegion cut = lexoria::CombineXor(full, QRegion(0, 0, 1, 1));
  QVERIFY(!cut.contains(QPoint(0, 0)));
  QVERIFY(cut.contains(QPoint(1, 0)));
  QCOMPARE(lexoria::CombineOr(cut, QRegion(0, 0, 1, 1)), full);
  QVERIFY(lexoria::RegionFromRects({}).isEmpty());
}

QTEST_MAIN(ToolkitTest)
#include "test_toolkit.moc"
