// SPDX-License-Identifier: GPL-3.0-or-later
// One copy per user and favourites folder: a second start hands over to the
// running window, with its activation token, and ends; other folders stay
// independent; a first copy that cannot be reached is never joined by a
// second running copy. In one process and with the real program started
// twice. Run twice by CTest: with no session bus (the local socket) and on a
// private bus (dbus-run-session, org.freedesktop.Application);
// LEXORIA_EXPECT_BUS says which.
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "app/singleinstance.h"

using Claimed = SingleInstance::Claimed;
Q_DECLARE_METATYPE(SingleInstance::Claimed)

namespace {

bool ExpectBus() { return qEnvironmentVariable("LEXORIA_EXPECT_BUS") == QStringLiteral("1"); }

// Sets an environment variable for as long as the object lives.
class EnvGuard {
 public:
  EnvGuard(const char* name, const QByteArray* value) : name_(name), had_(qEnvironmentVariableIsSet(name)) {
    old_ = qgetenv(name);
    if (value != nullptr)
      qputenv(name, *value);
    else
      qunsetenv(name);
  }
  ~EnvGuard() {
    if (had_)
      qputenv(name_, old_);
    else
      qunsetenv(name_);
  }

 private:
  const char* name_;
  bool had_;
  QByteArray old_;
};

// True while some process holds the lock file.
bool Held(const QString& path) {
  const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
  if (fd < 0) return false;
  const bool held = ::flock(fd, LOCK_SH | LOCK_NB) != 0;
  ::close(fd);
  return held;
}

}  // namespace

class SingleInstanceTest : public QObject {
  Q_OBJECT

 private slots:
  void theBusIsThereWhenExpected();
  void secondClaimHandsOverWithItsToken_data();
  void secondClaimHandsOverWithItsToken();
  void otherFoldersAreIndependent();
  void aReleasedLockCanBeTakenAgain();
  void theLockDoesNotMoveWithXdgRuntimeDir();
  void aHeldLockWithNobodyAnsweringDoesNotRun_data();
  void aHeldLockWithNobodyAnsweringDoesNotRun();
  void theProgramStartedTwiceEndsTheSecondCopy();
};

void SingleInstanceTest::theBusIsThereWhenExpected() {
  QCOMPARE(QDBusConnection::sessionBus().isConnected(), ExpectBus());
  QTemporaryDir folder;
  SingleInstance first(folder.path());
  QCOMPARE(first.Claim(), Claimed::Run);
  QCOMPARE(first.OnSessionBus(), ExpectBus());
  if (ExpectBus()) {
    QVERIFY(QDBusConnection::sessionBus().interface()->isServiceRegistered(first.BusName()).value());
    QCOMPARE(SingleInstance::ObjectPathOf("example.lexoria.Japanese"), QString("/example/lexoria/Japanese"));
  }
}

void SingleInstanceTest::secondClaimHandsOverWithItsToken_data() {
  QTest::addColumn<QByteArray>("token");
  QTest::addColumn<QByteArray>("startupId");
  QTest::addColumn<QString>("expected");
  QTest::newRow("Wayland token") << QByteArray("wayland-token_42") << QByteArray() << "wayland-token_42";
  QTest::newRow("X11 startup id") << QByteArray() << QByteArray("x11-id_TIME123") << "x11-id_TIME123";
  QTest::newRow("none") << QByteArray() << QByteArray() << "";
}

void SingleInstanceTest::secondClaimHandsOverWithItsToken() {
  QFETCH(QByteArray, token);
  QFETCH(QByteArray, startupId);
  QFETCH(QString, expected);
  QTemporaryDir folder;
  SingleInstance first(folder.path());
  QCOMPARE(first.Claim(), Claimed::Run);
  QSignalSpy raised(&first, &SingleInstance::raiseRequested);
  const EnvGuard wayland("XDG_ACTIVATION_TOKEN", token.isEmpty() ? nullptr : &token);
  const EnvGuard x11("DESKTOP_STARTUP_ID", startupId.isEmpty() ? nullptr : &startupId);
  // The same folder by another name is the same key.
  SingleInstance second(folder.path() + "/./");
  QCOMPARE(second.Claim(), Claimed::HandedOver);
  QVERIFY(raised.count() == 1 || raised.wait(3000));
  QCOMPARE(raised.count(), 1);
  QCOMPARE(raised.first().first().toString(), expected);
}

void SingleInstanceTest::otherFoldersAreIndependent() {
  QTemporaryDir a, b;
  SingleInstance first(a.path());
  SingleInstance other(b.path());
  QCOMPARE(first.Claim(), Claimed::Run);
  QCOMPARE(other.Claim(), Claimed::Run);
  QVERIFY(first.LockPath() != other.LockPath());
  QVERIFY(first.BusName() != other.BusName());
}

void SingleInstanceTest::aReleasedLockCanBeTakenAgain() {
  QTemporaryDir folder;
  QString lock;
  {
    SingleInstance first(folder.path());
    QCOMPARE(first.Claim(), Claimed::Run);
    lock = first.LockPath();
    QVERIFY(Held(lock));
  }
  QVERIFY(!QFile::exists(lock));  // nothing left behind
  SingleInstance next(folder.path());
  QCOMPARE(next.Claim(), Claimed::Run);
}

// Mended: a copy started with XDG_RUNTIME_DIR set and one started without
// it kept their locks in different folders and both ran. A folder reached
// through a link is the same key too.
void SingleInstanceTest::theLockDoesNotMoveWithXdgRuntimeDir() {
  QTemporaryDir folder, runtime;
  QVERIFY(QFile::link(folder.path(), runtime.filePath("link")));
  const QByteArray set = QFile::encodeName(runtime.path());
  std::unique_ptr<SingleInstance> first;
  {
    const EnvGuard env("XDG_RUNTIME_DIR", &set);
    first = std::make_unique<SingleInstance>(folder.path());
    QCOMPARE(first->Claim(), Claimed::Run);
  }
  const EnvGuard env("XDG_RUNTIME_DIR", nullptr);
  SingleInstance second(runtime.filePath("link"));
  QCOMPARE(second.LockPath(), first->LockPath());
  QVERIFY(!second.LockPath().startsWith(runtime.path()));
  QCOMPARE(second.Claim(), Claimed::HandedOver);
}

// Mended: when the hand-over failed, the second copy ran unlocked beside
// the first. A holder that lets go while the second waits makes the second
// the first.
void SingleInstanceTest::aHeldLockWithNobodyAnsweringDoesNotRun_data() {
  QTest::addColumn<int>("releaseAfterMs");
  QTest::addColumn<Claimed>("expected");
  QTest::newRow("never answers, never lets go") << -1 << Claimed::Failed;
  QTest::newRow("lets go while the second waits") << 700 << Claimed::Run;
}

void SingleInstanceTest::aHeldLockWithNobodyAnsweringDoesNotRun() {
  QFETCH(int, releaseAfterMs);
  QFETCH(Claimed, expected);
  QTemporaryDir folder;
  SingleInstance probe(folder.path());
  int ready[2];
  QCOMPARE(::pipe(ready), 0);
  const pid_t holder = ::fork();
  if (holder == 0) {
    // Holds the lock and answers nothing.
    const int fd = ::open(QFile::encodeName(probe.LockPath()).constData(), O_RDWR | O_CREAT, 0600);
    const char ok = (fd >= 0 && ::flock(fd, LOCK_EX) == 0) ? 'y' : 'n';
    (void)!::write(ready[1], &ok, 1);
    if (releaseAfterMs < 0) ::sleep(30);
    ::usleep(static_cast<useconds_t>(std::max(releaseAfterMs, 0)) * 1000);
    ::_exit(0);
  }
  char ok = 'n';
  QCOMPARE(::read(ready[0], &ok, 1), ssize_t(1));
  QCOMPARE(ok, 'y');
  const Claimed claimed = probe.Claim();
  ::kill(holder, SIGKILL);
  ::waitpid(holder, nullptr, 0);
  if (claimed != Claimed::Run) QFile::remove(probe.LockPath());  // the holder's
  QCOMPARE(claimed, expected);
}

namespace {

void Start(QProcess& process, const QString& folder, const QByteArray& token = {}) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_LOGGING_RULES", "lexoria.instance.info=true");
  if (!token.isEmpty()) env.insert("XDG_ACTIVATION_TOKEN", QString::fromLatin1(token));
  process.setProcessEnvironment(env);
  process.setProgram(qEnvironmentVariable("LEXORIA_PROGRAM"));
  process.setWorkingDirectory(folder);
  process.setProcessChannelMode(QProcess::MergedChannels);
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
  Start(second, folder.path(), "token-from-the-second-start");
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
  // Ended by a signal, the copies left their lock and socket behind (the
  // next start with the same key reuses them); these keys come once only.
  for (const QString& key : {folder.path(), elsewhere.path()}) {
    const SingleInstance names(key);
    QFile::remove(names.LockPath());
    QFile::remove(names.SocketPath());
  }
  // The first copy was asked to show itself with the second's token.
  const QByteArray log = first.readAll();
  QVERIFY2(log.contains("raise requested, activation token \"token-from-the-second-start\""), log.constData());
}

QTEST_MAIN(SingleInstanceTest)
#include "test_singleinstance.moc"
