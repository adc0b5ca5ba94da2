// SPDX-License-Identifier: GPL-3.0-or-later
// CAutoUpdate: the once-per-run hand-over of the update job to the separate
// updater. The phrasebook does not update itself: it writes a three-line
// file (its version, the version file's name, the download folder) into the
// temporary folder and starts "AutoUpdate.exe" from the run folder's program
// folder with that file's path, if such a program is there; when none is
// there (or it cannot be started) the file is removed again. Nothing is
// reported either way; the phrasebook carries on. The working folder is
// never searched, and the installed program has no hand-over at all: no
// updater folder, no file, nothing started.
#pragma once

#include <QString>

#include <memory>
#include <utility>

class CAutoUpdate {
 public:
  // updaterFolder: where AutoUpdate.exe is looked for; empty: nowhere.
  explicit CAutoUpdate(QString updaterFolder = {}) : updaterFolder_(std::move(updaterFolder)) {}

  // Hand-over file prefix and the updater's file name.
  static constexpr char kFilePrefix[] = "CUAD";
  static constexpr char kUpdaterName[] = "AutoUpdate.exe";

  // Writes the hand-over file and starts the updater; with no updater
  // folder does neither. productKey is not written. Always false: there is
  // nothing for the caller to act on.
  bool Run(const QString& productKey, const QString& downloadFolder, const QString& versionFileName,
           const QString& currentVersion);

  // Path of the hand-over file of the last Run, empty when none was made.
  // Without an updater to take it, the file no longer exists.
  QString HandOverPath() const { return handOverPath_; }
  // Whether the last Run found and started the updater.
  bool UpdaterStarted() const { return updaterStarted_; }

 private:
  QString updaterFolder_;
  QString handOverPath_;
  bool updaterStarted_ = false;
};

namespace lexoria::online {

// The main window's part: unless done is set, sets it and runs the hand-over
// with the program's four values and the updater looked for in
// updaterFolder. Returns the job's object, which the window keeps until the
// end of the run; null when the job had already been started, or when there
// is no updater folder (installed: the package manager updates).
std::unique_ptr<CAutoUpdate> RunUpdateCheckOnce(bool& done, const QString& updaterFolder);

// The download folder address on the vendor's server.
QString DownloadFolderAddress();

}  // namespace lexoria::online
