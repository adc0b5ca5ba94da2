// SPDX-License-Identifier: GPL-3.0-or-later
#include "online/autoupdate.h"

#include "online/vendor.h"
#include "toolkit/shell.h"
#include "toolkit/tempfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

bool CAutoUpdate::Run(const QString& productKey, const QString& downloadFolder, const QString& versionFileName,
                      const QString& currentVersion) {
  (void)productKey;
  handOverPath_.clear();
  updaterStarted_ = false;
  if (updaterFolder_.isEmpty()) return false;

  // A new file, created exclusively and readable by the user only, written
  // through the same handle: nobody can slip another file in between.
  // No usable temporary folder (a TMPDIR that does not exist): no file
  // anywhere else, and no updater.
  const QString folder = lexoria::TemporaryFolder();
  if (folder.isEmpty()) return false;
  QTemporaryFile file(QDir(folder).filePath(QString::fromLatin1(kFilePrefix) + QStringLiteral("XXXXXX.tmp")));
  file.setAutoRemove(false);  // the updater reads it later
  if (!file.open()) return false;
  // Three lines, CR LF between them, no line end after the last.
  const QByteArray content =
      currentVersion.toLocal8Bit() + "\r\n" + versionFileName.toLocal8Bit() + "\r\n" + downloadFolder.toLocal8Bit();
  const bool written = file.write(content) == content.size() && file.flush();
  file.close();
  if (!written) {
    // A half-written file would hand the updater garbage.
    QFile::remove(file.fileName());
    return false;
  }
  handOverPath_ = file.fileName();

  const QFileInfo updater(QDir(updaterFolder_).filePath(QString::fromLatin1(kUpdaterName)));
  if (updater.exists() && updater.isFile())
    updaterStarted_ = lexoria::StartProgram(updater.absoluteFilePath(), {handOverPath_});
  // Nobody will read it: left behind, every start would add one more.
  if (!updaterStarted_) QFile::remove(handOverPath_);
  return false;
}

namespace lexoria::online {

QString DownloadFolderAddress() { return QString::fromLatin1(kVendorHost) + QString::fromLatin1(kDownloadPath); }

std::unique_ptr<CAutoUpdate> RunUpdateCheckOnce(bool& done, const QString& updaterFolder) {
  if (done) return nullptr;
  done = true;
  if (updaterFolder.isEmpty()) return nullptr;
  auto job = std::make_unique<CAutoUpdate>(updaterFolder);
  job->Run(QString::fromLatin1(kProductKey), DownloadFolderAddress(), QString::fromLatin1(kVersionFileName),
           QString::fromLatin1(kCurrentVersion));
  return job;
}

}  // namespace lexoria::online
