// One copy per user and favourites folder: a second start hands over to the
// running window and ends; other folders stay independent. In one process
// and with the real program started twice.
#include <sys/file.h>
#include <unistd.h>

#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "app/singleinstance.h"

class SingleInstanceTest : public QObject {
  Q_OBJECT

 private slots:
  void secondClaimHandsOverToTheFirst();
  void otherFoldersAreIndependent();
  void aReleasedLockCanBeTakenAgain();
  void theProgramStartedTwiceEndsTheSecondCopy();
};

void SingleInstanceTest::secondClaimHandsOverToTheFirst() {
  QTemporaryDir folder;
  SingleInstance first(folder.path());
  QVERIFY(first.Claim());
  QSignalSpy raised(&first, &SingleInstance::raiseRequested);
  // The same folder by another name is the same key.
  SingleInstance second(folder.path() + "/./");
  QVERIFY(!second.Claim());
  QVERIFY(raised.wait(3000) || raised.count() == 1);
  QCOMPARE(raised.count(), 1);
}

void SingleInstanceTest::otherFoldersAreIndependent() {
  QTemporaryDir a, b;
  SingleInstance first(a.path());
  SingleInstance other(b.path());
  QVERIFY(first.Claim());
  QVERIFY(other.Claim());
  QVERIFY(first.LockPath() != other.LockPath());
}

void SingleInstanceTest::aReleasedLockCanBeTakenAgain() {
  QTemporaryDir folder;
  {
    SingleInstance first(folder.path());
    QVERIFY(first.Claim());
  }
  SingleInstance next(folder.path());
  QVERIFY(next.Claim());
}

namespace {

// True while some process holds the lock file.
bool Held(const QString& path) {
  const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
  if (fd < 0) return false;
  const bool held = ::flock(fd, LOCK_SH | LOCK_NB) != 0;
  ::close(fd);
  return held;
}

void Start(QProcess& process, const QString& folder) {
  process.setProgram(qEnvironmentVariable("LEXORIA_PROGRAM"));
  process.setWorkingDirectory(folder);
  process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  process.start();
}

}  // namespace

void SingleInstanceTest::theProgramStartedTwiceEndsTheSecondCopy() {
  if (qEnvironmentVariable("LEXORIA_PROGRAM").isEmpty()) QSKIP("LEXORIA_PROGRAM not set");
  QTemporaryDir folder, elsewhere;
  const QString lock = SingleInstance(folder.path()).LockPath();
  QProcess first;
  Start(first, folder.path());
  QVERIFY(first.waitForStarted());
  QTRY_VERIFY_WITH_TIMEOUT(Held(lock), 10000);

  QProcess second;
  Start(second, folder.path());
  QVERIFY(second.waitForFinished(10000));
  QCOMPARE(second.exitStatus(), QProcess::NormalExit);
  QCOMPARE(second.exitCode(), 0);
  QCOMPARE(first.state(), QProcess::Running);

  // A start from another folder keeps running beside the first.
  QProcess other;
  Start(other, elsewhere.path());
  QTRY_VERIFY_WITH_TIMEOUT(Held(SingleInstance(elsewhere.path()).LockPath()), 10000);
  QCOMPARE(other.state(), QProcess::Running);
  for (QProcess* p : {&first, &other}) {
    p->terminate();
    if (!p->waitForFinished(5000)) p->kill();
    p->waitForFinished(5000);
  }
}

QTEST_MAIN(SingleInstanceTest)
#include "test_singleinstance.moc"
