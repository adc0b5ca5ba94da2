#include "toolkit/apppaths.h"

#include "lexoria/buildconfig.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace lexoria {

namespace {
// Any of them in the working folder makes it a run folder.
constexpr const char* kDataFiles[] = {"English.dat", "Japanese.dat", "MapEngSpec.data", "Relate.dat", "data.idx",
                                      "data.dat",    nullptr};

bool HoldsAnyDataFile(const QDir& folder) {
  for (const char* const* name = kDataFiles; *name != nullptr; ++name)
    if (QFile::exists(folder.filePath(QString::fromLatin1(*name)))) return true;
  return false;
}
}  // namespace

QString AppPaths::InstalledDataFolder(const QString& programFolder) {
  return QDir::cleanPath(QDir(programFolder).filePath(QStringLiteral(LEXORIA_DATA_FROM_PROGRAM)));
}

AppPaths AppPaths::Decide(const QString& workingFolder, const QString& programFolder, const QString& appDataFolder) {
  AppPaths paths;
  if (HoldsAnyDataFile(QDir(workingFolder))) return paths;
  const QString installed = InstalledDataFolder(programFolder);
  if (!QFile::exists(QDir(installed).filePath(QStringLiteral("English.dat")))) return paths;
  paths.layout_ = Layout::Installed;
  paths.dataFolder_ = installed;
  paths.favouritesFolder_ = appDataFolder;
  return paths;
}

AppPaths AppPaths::ForProgramIn(const QString& programFolder) {
  return Decide(QDir::currentPath(), programFolder, QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

AppPaths AppPaths::ForThisProcess() { return ForProgramIn(QCoreApplication::applicationDirPath()); }

std::filesystem::path AppPaths::ToPath(const QString& folder) {
  if (folder.isEmpty()) return {};
  return std::filesystem::path(QFile::encodeName(folder).toStdString());
}

}  // namespace lexoria
