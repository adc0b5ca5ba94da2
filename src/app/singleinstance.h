// SingleInstance: one copy of the program per user and favourites folder.
//
// The first copy takes an exclusive lock on a small file named after the
// user and the favourites folder (in XDG_RUNTIME_DIR, else the temporary
// folder) and listens on a local socket of the same name. A later copy
// finds the lock taken, connects, asks the first copy to raise its window
// and ends. Copies started with other favourites folders, or by other users,
// never meet. The lock goes with the process, so a crashed copy leaves
// nothing that blocks the next start.
#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

class SingleInstance : public QObject {
  Q_OBJECT

 public:
  // favouritesFolder: where favorite.dat lives (empty: the working folder).
  explicit SingleInstance(const QString& favouritesFolder, QObject* parent = nullptr);
  ~SingleInstance() override;

  // True when this copy is to run: it is the first one (and now listens), or
  // the first one could not be reached. False when the running copy was
  // asked to show itself and this one should end.
  bool Claim();
  // The lock file, for tests.
  QString LockPath() const { return lockPath_; }

 signals:
  // A later copy asked this one to show its window.
  void raiseRequested();

 private:
  bool HandOver();

  QString key_;
  QString lockPath_;
  QString socketName_;
  int lockFd_ = -1;
  QLocalServer server_;
};
