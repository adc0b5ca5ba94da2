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

  void layoutDecision_data() {
    QTest::addColumn<QStringList>("inWork");
    QTest::addColumn<QStringList>("inShare");
    QTest::addColumn<bool>("installed");
    // Any data file in the working folder makes it a run folder, even with
    // an installed copy beside the program.
    QTest::newRow("run folder") << QStringList{"English.dat", "data.dat"} << QStringList{"English.dat"} << false;
    QTest::newRow("run folder, sound archive only") << QStringList{"data.idx"} << QStringList{"English.dat"} << false;
    QTest::newRow("installed") << QStringList{} << QStringList{"English.dat", "data.dat"} << true;
    QTest::newRow("installed, stray files in work")
        << QStringList{"favorite.dat", "arial.ttf"} << QStringList{"English.dat"} << true;
    // No data anywhere: the program behaves as it did before it could be
    // installed, and says which files it cannot read.
    QTest::newRow("nothing anywhere") << QStringList{} << QStringList{} << false;
    QTest::newRow("installed folder without English.dat") << QStringList{} << QStringList{"data.dat"} << false;
  }
  void layoutDecision() {
    QFETCH(QStringList, inWork);
    QFETCH(QStringList, inShare);
    QFETCH(bool, installed);
    Layout l;
    for (const QString& f : inWork) Touch(l.work + "/" + f);
    for (const QString& f : inShare) Touch(l.share + "/" + f);
    const AppPaths paths = AppPaths::Decide(l.work, l.bin, "/home/u/.local/share/lexoria-japanese");
    QCOMPARE(paths.installed(), installed);
    if (installed) {
      QCOMPARE(paths.layout(), AppPaths::Layout::Installed);
      QCOMPARE(paths.dataFolder(), QDir::cleanPath(l.share));
      QCOMPARE(paths.favouritesFolder(), QString("/home/u/.local/share/lexoria-japanese"));
      QVERIFY(!paths.bundledFonts());
      QCOMPARE(QString::fromStdString(paths.dataPath().string()), QDir::cleanPath(l.share));
    } else {
      // Bare names in the working folder, exactly as before.
      QCOMPARE(paths.layout(), AppPaths::Layout::RunFolder);
      QVERIFY(paths.dataFolder().isEmpty());
      QVERIFY(paths.favouritesFolder().isEmpty());
      QVERIFY(paths.dataPath().empty());
      QVERIFY(paths.favouritesPath().empty());
      QVERIFY(paths.bundledFonts());
    }
  }

  void defaultIsTheRunFolder() {
    const AppPaths paths;
    QCOMPARE(paths.layout(), AppPaths::Layout::RunFolder);
    QVERIFY(paths.dataPath().empty() && paths.favouritesPath().empty());
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
