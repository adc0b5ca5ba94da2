// SPDX-License-Identifier: GPL-3.0-or-later
// SingleInstance: one copy of the program per user and favourites folder.
//
// The key is the canonical favourites folder (the caller makes the folder
// first, so a $HOME reached through a link names the same key before and
// after the first favourite). The first copy takes an exclusive lock on a
// file named after the key in a per-user folder that no environment
// variable moves (/run/user/<uid> when the system made it, else a private
// /tmp/lexoria-japanese-<uid>), listens on a local socket beside it and, on
// the session bus, owns a name derived from the key (and, installed, the
// application id, for the desktop's activation) with the freedesktop
// org.freedesktop.Application interface. A later copy finds the lock taken
// and hands over: Activate on the session bus, else a line on the socket,
// carrying its activation token (XDG_ACTIVATION_TOKEN on Wayland,
// DESKTOP_STARTUP_ID on X11) so the first copy may raise itself. When no
// hand-over gets through, the later copy does not run. The lock goes with
// the process, so a crashed copy leaves nothing that blocks the next start.
#pragma once

#include <QDBusConnection>
#include <QLocalServer>
#include <QObject>
#include <QString>
#include <QVariantMap>

class SingleInstance : public QObject {
  Q_OBJECT

 public:
  enum class Claimed {
    Run,         // this is the first copy (or nothing can tell): run
    HandedOver,  // the running copy was asked to show itself: end, all is well
    Failed,      // another copy holds the key but could not be reached: end
  };

  // favouritesFolder: where favorite.dat lives (empty: the working folder).
  // desktopName: also own the application id on the session bus.
  explicit SingleInstance(const QString& favouritesFolder, bool desktopName = false, QObject* parent = nullptr);
  ~SingleInstance() override;

  Claimed Claim();
  // For tests and messages.
  QString LockPath() const { return lockPath_; }
  QString BusName() const { return busName_; }
  QString SocketPath() const { return socketPath_; }
  // Whether this copy serves its name on the session bus.
  bool OnSessionBus() const { return onBus_; }

  // The object path of the org.freedesktop.Application object of a bus name.
  static QString ObjectPathOf(const QString& busName);
  // The second copy's activation token, from its environment.
  static QVariantMap PlatformDataOfThisStart();

 signals:
  // A later copy, or the desktop, asked this one to show its window; the
  // token (possibly empty) lets the window manager give it the focus.
  void raiseRequested(const QString& activationToken);

 public:
  // The interface's three methods end here (called by the bus adaptor).
  void Activated(const QVariantMap& platformData);

 private:
  enum class LockState { Taken, Held, Unavailable };
  LockState TryLock();
  QDBusConnection Bus();
  void Serve();
  // Each waits at most timeoutMs for the first copy's answer.
  bool HandOverOnBus(int timeoutMs);
  bool HandOverOnSocket(int timeoutMs);

  QString key_;
  QString lockPath_;
  QString socketPath_;
  QString busName_;
  QString connectionName_;
  bool desktopName_ = false;
  bool onBus_ = false;
  int lockFd_ = -1;
  QLocalServer server_;
};
