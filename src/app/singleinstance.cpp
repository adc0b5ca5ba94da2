// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/singleinstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDeadlineTimer>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QLoggingCategory>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <cstring>

#include "app/freedesktopapplication.h"
#include "toolkit/apppaths.h"

namespace {

Q_LOGGING_CATEGORY(lcInstance, "lexoria.instance", QtWarningMsg)

constexpr char kInterface[] = "org.freedesktop.Application";
// How long a later copy keeps trying. The first copy answers once its event
// loop runs, after it has read its data and built its window, which on a
// loaded machine takes seconds.
constexpr int kHandOverMs = 10000;

// The same folder named two ways (relative, a symbolic link) is one key.
QString CanonicalFolder(const QString& folder) {
  const QFileInfo info(folder.isEmpty() ? QDir::currentPath() : folder);
  const QString canonical = info.canonicalFilePath();
  return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

bool PrivateFolderOfMine(const QByteArray& path) {
  struct stat st {};
  return ::lstat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid() &&
         (st.st_mode & 077) == 0;
}

// Per user, and the same for every copy whatever its environment says
// (XDG_RUNTIME_DIR, TMPDIR): the login session's runtime folder when the
// system made one, else a folder of our own in /tmp that nobody else may
// have made for us. Empty when neither will do.
QString LockFolder() {
  const QByteArray uid = QByteArray::number(::getuid());
  const QByteArray run = "/run/user/" + uid;
  if (PrivateFolderOfMine(run)) return QString::fromLocal8Bit(run);
  const QByteArray own = "/tmp/lexoria-japanese-" + uid;
  if (::mkdir(own.constData(), 0700) != 0 && errno != EEXIST) return {};
  return PrivateFolderOfMine(own) ? QString::fromLocal8Bit(own) : QString();
}

// An activation token as it travels: printable ASCII, one line.
QString PlatformToken(const QVariantMap& platformData) {
  QString token = platformData.value(QStringLiteral("activation-token")).toString();
  if (token.isEmpty()) token = platformData.value(QStringLiteral("desktop-startup-id")).toString();
  QString clean;
  for (const QChar c : token)
    if (c.unicode() > 0x20 && c.unicode() < 0x7F) clean += c;
  return clean.left(512);
}

bool SameFile(int fd, const QString& path) {
  struct stat held {
  }, named{};
  return ::fstat(fd, &held) == 0 && ::stat(QFile::encodeName(path).constData(), &named) == 0 &&
         held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

bool RegisterName(QDBusConnection& bus, const QString& name) {
  QDBusConnectionInterface* names = bus.interface();
  if (names == nullptr) return false;
  const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply = names->registerService(
      name, QDBusConnectionInterface::DontQueueService, QDBusConnectionInterface::DontAllowReplacement);
  return reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered;
}

}  // namespace

SingleInstance::SingleInstance(const QString& favouritesFolder, bool desktopName, QObject* parent)
    : QObject(parent), desktopName_(desktopName) {
  const QByteArray folder = CanonicalFolder(favouritesFolder).toUtf8();
  const QString hash =
      QString::fromLatin1(QCryptographicHash::hash(folder, QCryptographicHash::Sha256).toHex().left(20));
  key_ = QStringLiteral("lexoria-japanese-%1-%2").arg(::getuid()).arg(hash);
  busName_ = QString::fromLatin1(lexoria::kApplicationId) + QStringLiteral(".Folder") + hash;
  const QString lockFolder = LockFolder();
  if (!lockFolder.isEmpty()) {
    lockPath_ = QDir(lockFolder).filePath(key_ + QStringLiteral(".lock"));
    socketPath_ = QDir(lockFolder).filePath(key_ + QStringLiteral(".socket"));
  }
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  connect(&server_, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
      connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
      connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
        while (socket->canReadLine()) {
          const QByteArray line = socket->readLine(1024).trimmed();
          if (!line.startsWith("raise")) continue;
          const QString token = QString::fromLatin1(line.mid(6));
          Activated({{QStringLiteral("activation-token"), token}});
          socket->write("ok\n");
          socket->flush();
        }
      });
    }
  });
}

SingleInstance::~SingleInstance() {
  server_.close();
  if (!connectionName_.isEmpty()) QDBusConnection::disconnectFromBus(connectionName_);
  if (lockFd_ >= 0) {
    // Removed while still held: a copy that opened it meanwhile sees that
    // the name no longer stands for its file and tries again.
    ::unlink(QFile::encodeName(lockPath_).constData());
    ::close(lockFd_);
  }
}

QString SingleInstance::ObjectPathOf(const QString& busName) {
  return QLatin1Char('/') + QString(busName).replace(QLatin1Char('.'), QLatin1Char('/'));
}

QVariantMap SingleInstance::PlatformDataOfThisStart() {
  QVariantMap data;
  const QString token = qEnvironmentVariable("XDG_ACTIVATION_TOKEN");
  const QString startup = qEnvironmentVariable("DESKTOP_STARTUP_ID");
  if (!token.isEmpty()) data.insert(QStringLiteral("activation-token"), token);
  if (!startup.isEmpty()) data.insert(QStringLiteral("desktop-startup-id"), startup);
  return data;
}

void SingleInstance::Activated(const QVariantMap& platformData) {
  const QString token = PlatformToken(platformData);
  qCInfo(lcInstance) << "raise requested, activation token" << token;
  emit raiseRequested(token);
}

SingleInstance::LockState SingleInstance::TryLock() {
  for (int attempt = 0; attempt < 10; ++attempt) {
    const int fd = ::open(QFile::encodeName(lockPath_).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
      qCWarning(lcInstance) << "cannot open the lock" << lockPath_ << ::strerror(errno);
      return LockState::Unavailable;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      if (!SameFile(fd, lockPath_)) {  // the copy before ended just now
        ::close(fd);
        continue;
      }
      lockFd_ = fd;
      return LockState::Taken;
    }
    const int error = errno;
    ::close(fd);
    if (error == EWOULDBLOCK) return LockState::Held;
    qCWarning(lcInstance) << "cannot lock" << lockPath_ << ::strerror(error);
    return LockState::Unavailable;
  }
  return LockState::Unavailable;
}

SingleInstance::Claimed SingleInstance::Claim() {
  if (lockFd_ >= 0) return Claimed::Run;
  LockState state = lockPath_.isEmpty() ? LockState::Unavailable : TryLock();
  if (state == LockState::Held) {
    const QDeadlineTimer deadline(kHandOverMs);
    const auto left = [&deadline] { return static_cast<int>(std::max<qint64>(deadline.remainingTime(), 1)); };
    while (state == LockState::Held && !deadline.hasExpired()) {
      if (HandOverOnBus(left()) || HandOverOnSocket(left())) return Claimed::HandedOver;
      QThread::msleep(50);
      // The first copy may have ended meanwhile: then this one is first.
      state = TryLock();
    }
    if (state == LockState::Held) return Claimed::Failed;
  }
  if (state == LockState::Taken) {
    Serve();
    return Claimed::Run;
  }
  // No lock to be had: the session bus alone can tell.
  QDBusConnection bus = Bus();
  if (!bus.isConnected()) {
    qCWarning(lcInstance) << "no lock and no session bus: running without the one-window check";
    return Claimed::Run;
  }
  if (HandOverOnBus(kHandOverMs)) return Claimed::HandedOver;
  socketPath_.clear();  // not ours to replace without the lock
  Serve();
  return onBus_ ? Claimed::Run : Claimed::Failed;
}

void SingleInstance::Serve() {
  if (!socketPath_.isEmpty()) {
    // A socket left by a copy that crashed is ours to replace: we hold the
    // lock, in a folder only we can write.
    QLocalServer::removeServer(socketPath_);
    if (!server_.listen(socketPath_))
      qCWarning(lcInstance) << "cannot listen on" << socketPath_ << server_.errorString();
  }
  QDBusConnection bus = Bus();
  if (!bus.isConnected()) return;
  new FreedesktopApplication(this);
  const QString path = ObjectPathOf(QString::fromLatin1(lexoria::kApplicationId));
  if (!bus.registerObject(path, this)) {
    qCWarning(lcInstance) << "cannot serve" << path << "on the session bus";
    return;
  }
  onBus_ = RegisterName(bus, busName_);
  if (!onBus_) qCWarning(lcInstance) << "cannot own" << busName_ << "on the session bus";
  // The desktop activates the application id; another copy with other
  // favourites may own it already, which is fine.
  if (desktopName_ && !RegisterName(bus, QString::fromLatin1(lexoria::kApplicationId)))
    qCInfo(lcInstance) << "the application id is owned by another copy";
}

QDBusConnection SingleInstance::Bus() {
  // A connection of its own: the names and the object go with this object
  // (and a test may hold two of them in one process).
  if (connectionName_.isEmpty()) {
    static int count = 0;
    connectionName_ = key_ + QStringLiteral("-") + QString::number(++count);
    QDBusConnection::connectToBus(QDBusConnection::SessionBus, connectionName_);
  }
  return QDBusConnection(connectionName_);
}

bool SingleInstance::HandOverOnBus(int timeoutMs) {
  QDBusConnection bus = Bus();
  if (!bus.isConnected() || bus.interface() == nullptr) return false;
  const QDBusReply<bool> owned = bus.interface()->isServiceRegistered(busName_);
  if (!owned.isValid() || !owned.value()) return false;
  QDBusMessage call =
      QDBusMessage::createMethodCall(busName_, ObjectPathOf(QString::fromLatin1(lexoria::kApplicationId)),
                                     QString::fromLatin1(kInterface), QStringLiteral("Activate"));
  call << PlatformDataOfThisStart();
  // Events run meanwhile, so a first copy in this same thread (tests) answers.
  const QDBusMessage reply = bus.call(call, QDBus::BlockWithGui, timeoutMs);
  if (reply.type() != QDBusMessage::ReplyMessage) {
    qCWarning(lcInstance) << "Activate on" << busName_ << "failed:" << reply.errorMessage();
    return false;
  }
  return true;
}

bool SingleInstance::HandOverOnSocket(int timeoutMs) {
  if (socketPath_.isEmpty()) return false;
  // Handed over only once the first copy says it took the request. The
  // wait runs events, so a first copy in this same thread (tests) answers.
  QLocalSocket socket;
  QEventLoop loop;
  bool answered = false;
  connect(&socket, &QLocalSocket::connected, &loop,
          [&socket] { socket.write("raise " + PlatformToken(PlatformDataOfThisStart()).toLatin1() + "\n"); });
  connect(&socket, &QLocalSocket::readyRead, &loop, [&] {
    if (!socket.canReadLine()) return;
    answered = socket.readLine(16).trimmed() == "ok";
    loop.quit();
  });
  connect(&socket, &QLocalSocket::errorOccurred, &loop, &QEventLoop::quit);
  QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
  socket.connectToServer(socketPath_);
  if (socket.state() != QLocalSocket::UnconnectedState) loop.exec();
  return answered;
}
