// SPDX-License-Identifier: GPL-3.0-or-later
#include "online/autoupdate.h"
#include "testenv.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {
const QByteArray kExpected = "1.5.2\r\nversion.dat\r\nhttp://www.lexoria.example/SoftwareDownload/Lexoria_Japanese";

QStringList HandOverFiles(const QString& dir) {
  return QDir(dir).entryList({QStringLiteral("CUAD*")}, QDir::Files, QDir::Name);
}

// A temporary folder for the hand-over files, the folder the updater is
// looked for in (the run folder's program folder) and a working directory,
// all fresh, for as long as the object lives.
struct Folders {
  QTemporaryDir temp;
  QTemporaryDir program;
  QTemporaryDir work;
  QString previous = QDir::currentPath();
  Folders() {
    qputenv("TMPDIR", temp.path().toLocal8Bit());
    QDir::setCurrent(work.path());
  }
  ~Folders() {
    QDir::setCurrent(previous);
    qunsetenv("TMPDIR");
  }
  // A stand-in updater in `folder` running `body`.
  static void AddUpdater(const QString& folder, const QByteArray& body) {
    QFile script(QDir(folder).filePath(QStringLiteral("AutoUpdate.exe")));
    script.open(QIODevice::WriteOnly);
    script.write("#!/bin/sh\n" + body + "\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  }
  // One that leaves the hand-over file where it is.
  void AddIdleUpdater() { AddUpdater(program.path(), "exit 0"); }
};
}  // namespace

class AutoUpdateTest : public QObject {
  Q_OBJECT
 private slots:
  void handOverFileNameModeAndBytes() {
    Folders f;
    f.AddIdleUpdater();
    bool done = false;
    auto job = lexoria::online::RunUpdateCheckOnce(done, f.program.path());
    QVERIFY(done);
    QVERIFY(job);
    const QStringList files = HandOverFiles(f.temp.path());
    QCOMPARE(files.size(), 1);
    QCOMPARE(QFileInfo(job->HandOverPath()).absolutePath(), QFileInfo(f.temp.path()).absoluteFilePath());
    QCOMPARE(QFileInfo(job->HandOverPath()).fileName(), files.first());
    struct stat st {};
    QCOMPARE(stat(QFile::encodeName(job->HandOverPath()).constData(), &st), 0);
    QCOMPARE(int(st.st_mode & 0777), 0600);
    QFile file(job->HandOverPath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), kExpected);
    QVERIFY(job->UpdaterStarted());
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
  }

  void noUpdaterLeavesNoFile() {
    Folders f;
    bool done = false;
    auto job = lexoria::online::RunUpdateCheckOnce(done, f.program.path());
    QVERIFY(job);
    // Nothing started, nothing shown, and nothing left in the temporary folder.
    QVERIFY(!job->UpdaterStarted());
    QVERIFY(!job->HandOverPath().isEmpty());
    QVERIFY(HandOverFiles(f.temp.path()).isEmpty());
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
  }

  void onlyOncePerRun() {
    Folders f;
    f.AddIdleUpdater();
    bool done = false;
    QVERIFY(lexoria::online::RunUpdateCheckOnce(done, f.program.path()));
    QVERIFY(!lexoria::online::RunUpdateCheckOnce(done, f.program.path()));
    QCOMPARE(HandOverFiles(f.temp.path()).size(), 1);
  }

  void everyRunMakesANewFile() {
    Folders f;
    f.AddIdleUpdater();
    CAutoUpdate a(f.program.path());
    CAutoUpdate b(f.program.path());
    QVERIFY(!a.Run("Lexoria_Japanese", "http://host/dl", "version.dat", "9.9"));
    QVERIFY(!b.Run("Lexoria_Japanese", "http://host/dl", "version.dat", "9.9"));
    QVERIFY(a.HandOverPath() != b.HandOverPath());
    QCOMPARE(HandOverFiles(f.temp.path()).size(), 2);
    QFile file(a.HandOverPath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("9.9\r\nversion.dat\r\nhttp://host/dl"));
  }

  void updaterGetsThePath() {
    Folders f;
    // A stand-in updater that writes down the argument it was given.
    Folders::AddUpdater(f.program.path(), "printf '%s' \"$1\" > \"$(dirname \"$0\")/started.txt\"");
    CAutoUpdate job(f.program.path());
    job.Run("Lexoria_Japanese", "http://host/dl", "version.dat", "1.5.2");
    QVERIFY(job.UpdaterStarted());
    const QString record = QDir(f.program.path()).filePath(QStringLiteral("started.txt"));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(record) && QFileInfo(record).size() > 0, 10000);
    QFile started(record);
    QVERIFY(started.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromLocal8Bit(started.readAll()), job.HandOverPath());
  }

  // Mended: the updater was started from the working folder, so a planted
  // ./AutoUpdate.exe ran. Only the one beside the program runs; with no
  // updater folder (installed) there is no hand-over file either.
  void anUpdaterInTheWorkingFolderNeverRuns_data() {
    QTest::addColumn<bool>("runFolder");
    QTest::newRow("run folder, no updater beside the program") << true;
    QTest::newRow("installed") << false;
  }
  void anUpdaterInTheWorkingFolderNeverRuns() {
    QFETCH(bool, runFolder);
    Folders f;
    Folders::AddUpdater(f.work.path(), "touch \"$(dirname \"$0\")/started.txt\"");
    bool done = false;
    auto job = lexoria::online::RunUpdateCheckOnce(done, runFolder ? f.program.path() : QString());
    QVERIFY(done);
    QCOMPARE(bool(job), runFolder);
    if (job) QVERIFY(!job->UpdaterStarted());
    QTest::qWait(300);
    QVERIFY(!QFile::exists(QDir(f.work.path()).filePath(QStringLiteral("started.txt"))));
    QVERIFY(HandOverFiles(f.temp.path()).isEmpty());
    QCOMPARE(QDir(f.work.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("AutoUpdate.exe")});
  }

  void noTemporaryFolderNoStart() {
    Folders f;
    Folders::AddUpdater(f.program.path(), "touch \"$(dirname \"$0\")/started.txt\"");
    qputenv("TMPDIR", QByteArray("/nonexistent/lexoria"));
    CAutoUpdate job(f.program.path());
    QVERIFY(!job.Run("Lexoria_Japanese", "http://host/dl", "version.dat", "1.5.2"));
    QVERIFY(job.HandOverPath().isEmpty());
    QVERIFY(!job.UpdaterStarted());
  }
};

LEXORIA_TEST_MAIN(AutoUpdateTest)
#include "test_autoupdate.moc"
