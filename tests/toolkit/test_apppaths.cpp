// SPDX-License-Identifier: GPL-3.0-or-later
// The paths seam: which layout a start finds, and where each layout keeps
// its data and favourites.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "testenv.h"
#include "toolkit/apppaths.h"

using lexoria::AppPaths;

namespace {

void Touch(const QString& path) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile file(path);
  file.open(QIODevice::WriteOnly);
}

// prefix/bin for the program, prefix/share/lexoria-japanese for its data,
// and an empty working folder, all fresh.
struct Layout {
  QTemporaryDir root;
  QString prefix = root.filePath("prefix");
  QString bin = prefix + "/bin";
  QString share = prefix + "/share/lexoria-japanese";
  QString work = root.filePath("work");
  QString previous = QDir::currentPath();
  Layout() {
    QDir().mkpath(bin);
    QDir().mkpath(work);
    QDir::setCurrent(work);
  }
  ~Layout() { QDir::setCurrent(previous); }
};

// Restores one environment variable when it goes.
struct EnvGuard {
  QByteArray name;
  QByteArray value;
  bool had;
  explicit EnvGuard(const char* n) : name(n), value(qgetenv(n)), had(qEnvironmentVariableIsSet(n)) {}
  ~EnvGuard() {
    if (had)
      qputenv(name.constData(), value);
    else
      qunsetenv(name.constData());
  }
};

}  // namespace

class AppPathsTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() { QCoreApplication::setApplicationName(QString::fromLatin1(lexoria::kInstalledName)); }

  // The program's own folder decides; what the working folder holds never
  // does (a stray data.dat there once switched an installed program to the
  // run folder, which then read its data from there and wrote favorite.dat
  // there).
  void layoutDecision_data() {
    QTest::addColumn<QStringList>("besideProgram");
    QTest::addColumn<QStringList>("inShare");
    QTest::addColumn<QStringList>("inWork");
    QTest::addColumn<bool>("installed");
    const QStringList all{"English.dat", "Japanese.dat", "MapEngSpec.data", "Relate.dat", "data.idx", "data.dat"};
    QTest::newRow("run folder") << all << QStringList{} << QStringList{} << false;
    QTest::newRow("run folder, an install beside it") << all << QStringList{"English.dat"} << QStringList{} << false;
    QTest::newRow("installed") << QStringList{} << all << QStringList{} << true;
    QTest::newRow("installed, data files planted in work") << QStringList{} << all << all << true;
    QTest::newRow("installed, a stray data.dat in work")
        << QStringList{} << QStringList{"English.dat"} << QStringList{"data.dat", "AutoUpdate.exe"} << true;
    // The sound archive alone beside the program is no run folder.
    QTest::newRow("only data.dat beside the program") << QStringList{"data.dat"} << all << QStringList{} << true;
    // No data anywhere: installed still, and the data check names the files
    // missing from the installed folder; the working folder is not read.
    QTest::newRow("nothing anywhere") << QStringList{} << QStringList{} << all << true;
  }
  void layoutDecision() {
    QFETCH(QStringList, besideProgram);
    QFETCH(QStringList, inShare);
    QFETCH(QStringList, inWork);
    QFETCH(bool, installed);
    Layout l;
    for (const QString& f : besideProgram) Touch(l.bin + "/" + f);
    for (const QString& f : inShare) Touch(l.share + "/" + f);
    for (const QString& f : inWork) Touch(l.work + "/" + f);
    const AppPaths paths = AppPaths::Decide(l.bin, "/home/u/.local/share/lexoria-japanese");
    QCOMPARE(paths.installed(), installed);
    if (installed) {
      QCOMPARE(paths.layout(), AppPaths::Layout::Installed);
      QCOMPARE(paths.dataFolder(), QDir::cleanPath(l.share));
      QCOMPARE(paths.favouritesFolder(), QString("/home/u/.local/share/lexoria-japanese"));
      QVERIFY(!paths.bundledFonts());
      QCOMPARE(QString::fromStdString(paths.dataPath().string()), QDir::cleanPath(l.share));
      // The package manager updates: no hand-over at all.
      QVERIFY(paths.updaterFolder().isEmpty());
    } else {
      // Bare names in the working folder, exactly as before; the updater
      // beside the program.
      QCOMPARE(paths.layout(), AppPaths::Layout::RunFolder);
      QVERIFY(paths.dataFolder().isEmpty());
      QVERIFY(paths.favouritesFolder().isEmpty());
      QVERIFY(paths.dataPath().empty());
      QVERIFY(paths.favouritesPath().empty());
      QVERIFY(paths.bundledFonts());
      QCOMPARE(paths.updaterFolder(), QDir(l.bin).absolutePath());
    }
  }

  void defaultIsTheRunFolder() {
    const AppPaths paths;
    QCOMPARE(paths.layout(), AppPaths::Layout::RunFolder);
    QVERIFY(paths.dataPath().empty() && paths.favouritesPath().empty());
    QVERIFY(paths.updaterFolder().isEmpty());
  }

  void installedDataFolderSitsBesideBin() {
    // Relative to the program, so a DESTDIR or /opt install finds its data.
    QCOMPARE(AppPaths::InstalledDataFolder("/opt/x/bin"), QString("/opt/x/share/lexoria-japanese"));
    QCOMPARE(AppPaths::InstalledDataFolder("/usr/bin/"), QString("/usr/share/lexoria-japanese"));
  }

  void favouritesFollowXdgDataHome_data() {
    QTest::addColumn<bool>("setXdg");
    QTest::newRow("XDG_DATA_HOME set") << true;
    QTest::newRow("XDG_DATA_HOME unset") << false;
  }
  void favouritesFollowXdgDataHome() {
    QFETCH(bool, setXdg);
    Layout l;
    Touch(l.share + "/English.dat");
    EnvGuard home("HOME");
    EnvGuard xdg("XDG_DATA_HOME");
    qputenv("HOME", QFile::encodeName(l.root.filePath("home")));
    if (setXdg)
      qputenv("XDG_DATA_HOME", QFile::encodeName(l.root.filePath("data")));
    else
      qunsetenv("XDG_DATA_HOME");
    const AppPaths paths = AppPaths::ForProgramIn(l.bin);
    QVERIFY(paths.installed());
    const QString expected =
        setXdg ? l.root.filePath("data/lexoria-japanese") : l.root.filePath("home/.local/share/lexoria-japanese");
    QCOMPARE(paths.favouritesFolder(), expected);
    // Deciding makes nothing: the folder is made on the first add.
    QVERIFY(!QFile::exists(expected));
  }
};

LEXORIA_TEST_MAIN(AppPathsTest)
#include "test_apppaths.moc"
