#include "app/singleinstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QThread>

namespace {

// Where per-user sockets belong; the temporary folder where there is none.
QString RuntimeFolder() {
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (!runtime.isEmpty() && QFileInfo(runtime).isDir() && QFileInfo(runtime).isWritable()) return runtime;
  return QDir::tempPath();
}

// The same folder named two ways (relative, a symbolic link) is one key.
QString CanonicalFolder(const QString& folder) {
  const QFileInfo info(folder.isEmpty() ? QDir::currentPath() : folder);
  const QString canonical = info.canonicalFilePath();
  return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

}  // namespace

SingleInstance::SingleInstance(const QString& favouritesFolder, QObject* parent) : QObject(parent) {
  const QByteArray folder = CanonicalFolder(favouritesFolder).toUtf8();
  const QString hash =
      QString::fromLatin1(QCryptographicHash::hash(folder, QCryptographicHash::Sha256).toHex().left(20));
  key_ = QStringLiteral("lexoria-japanese-%1-%2").arg(::getuid()).arg(hash);
  const QDir runtime(RuntimeFolder());
  lockPath_ = runtime.filePath(key_ + QStringLiteral(".lock"));
  socketName_ = runtime.filePath(key_ + QStringLiteral(".socket"));
  // A socket path has room for 107 bytes; the name alone goes to the
  // temporary folder.
  if (socketName_.toLocal8Bit().size() > 100) socketName_ = key_;
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  connect(&server_, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
      connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
      emit raiseRequested();
    }
  });
}

SingleInstance::~SingleInstance() {
  server_.close();
  if (lockFd_ >= 0) ::close(lockFd_);
}

bool SingleInstance::Claim() {
  if (lockFd_ >= 0) return true;
  const int fd = ::open(QFile::encodeName(lockPath_).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return true;  // nowhere to keep a lock: run, the favourites are locked anyway
  if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
    lockFd_ = fd;
    // A socket left by a copy that crashed is ours to replace.
    QLocalServer::removeServer(socketName_);
    server_.listen(socketName_);
    return true;
  }
  ::close(fd);
  return !HandOver();
}

bool SingleInstance::HandOver() {
  // The first copy may be starting still: it listens right after locking.
  const QDeadlineTimer deadline(3000);
  while (!deadline.hasExpired()) {
    QLocalSocket socket;
    socket.connectToServer(socketName_);
    if (socket.waitForConnected(500)) {
      socket.write("raise\n");
      socket.waitForBytesWritten(1000);
      socket.disconnectFromServer();
      return true;
    }
    QThread::msleep(50);
  }
  return false;
}
