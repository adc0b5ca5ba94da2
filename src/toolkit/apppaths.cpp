// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/apppaths.h"

#include "lexoria/buildconfig.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace lexoria {

namespace {
// The run folder's program sits beside its phrase files.
bool HoldsRunFolderData(const QString& programFolder) {
  return !programFolder.isEmpty() && QFileInfo(QDir(programFolder).filePath(QStringLiteral("English.dat"))).isFile();
}
}  // namespace

QString AppPaths::InstalledDataFolder(const QString& programFolder) {
  return QDir::cleanPath(QDir(programFolder).filePath(QStringLiteral(LEXORIA_DATA_FROM_PROGRAM)));
}

AppPaths AppPaths::RunFolder(const QString& programFolder) {
  AppPaths paths;
  paths.updaterFolder_ = programFolder.isEmpty() ? QString() : QDir(programFolder).absolutePath();
  return paths;
}

AppPaths AppPaths::Decide(const QString& programFolder, const QString& appDataFolder) {
  if (HoldsRunFolderData(programFolder)) return RunFolder(programFolder);
  AppPaths paths;
  paths.layout_ = Layout::Installed;
  paths.dataFolder_ = InstalledDataFolder(programFolder);
  paths.favouritesFolder_ = appDataFolder;
  return paths;
}

AppPaths AppPaths::ForProgramIn(const QString& programFolder) {
  return Decide(programFolder, QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

AppPaths AppPaths::ForThisProcess() { return ForProgramIn(QCoreApplication::applicationDirPath()); }

std::filesystem::path AppPaths::ToPath(const QString& folder) {
  if (folder.isEmpty()) return {};
  return std::filesystem::path(QFile::encodeName(folder).toStdString());
}

}  // namespace lexoria
