// SPDX-License-Identifier: GPL-3.0-or-later
// AppPaths: the one place that knows the two layouts on disk (docs/paths.md).
// At start-up it decides, from the program's own folder and never from the
// working folder, whether the program runs from a run folder (the program
// beside its data files: everything is read and written in the working
// folder, as always, and an updater beside the program is handed the update
// job) or from an installed layout (the data in share/lexoria-japanese
// beside the program's bin folder, favourites in the user's XDG data folder,
// fonts from the system, no update hand-over), and hands the folders to the
// Qt-free layers.
#pragma once

#include <QString>
#include <filesystem>

namespace lexoria {

// The application id: desktop entry, AppStream and icon names.
inline constexpr char kApplicationId[] = "example.lexoria.Japanese";
// The installed program's name, data folder and XDG folder name.
inline constexpr char kInstalledName[] = "lexoria-japanese";

class AppPaths {
 public:
  enum class Layout { RunFolder, Installed };

  // The run folder in the working folder: bare file names, as always, and
  // no updater.
  AppPaths() = default;
  // The run folder of a program in programFolder: bare file names in the
  // working folder, the updater looked for in programFolder.
  static AppPaths RunFolder(const QString& programFolder);

  // programFolder: the folder of the executable; appDataFolder: the user's
  // writable application data folder (QStandardPaths::AppDataLocation),
  // empty when there is none. A run folder only when programFolder holds
  // English.dat; otherwise installed, even when the installed data folder
  // lacks files (the data check then names them): what the working folder
  // holds decides nothing.
  static AppPaths Decide(const QString& programFolder, const QString& appDataFolder);
  // Decide() for a program in programFolder with the application name's XDG
  // data folder.
  static AppPaths ForProgramIn(const QString& programFolder);
  // The same for this process (needs the QCoreApplication).
  static AppPaths ForThisProcess();

  Layout layout() const { return layout_; }
  bool installed() const { return layout_ == Layout::Installed; }
  // Empty: the working folder.
  QString dataFolder() const { return dataFolder_; }
  QString favouritesFolder() const { return favouritesFolder_; }
  // The run folder carries its own arial.ttf and mshei.ttf; the installed
  // program uses the system's fonts through fontconfig.
  bool bundledFonts() const { return layout_ == Layout::RunFolder; }
  // Where the update hand-over looks for its updater: the run folder's
  // program folder. Empty when there is to be no hand-over at all (the
  // installed program, which the package manager updates).
  QString updaterFolder() const { return updaterFolder_; }

  std::filesystem::path dataPath() const { return ToPath(dataFolder_); }
  std::filesystem::path favouritesPath() const { return ToPath(favouritesFolder_); }

  // share/lexoria-japanese relative to a program in bin/.
  static QString InstalledDataFolder(const QString& programFolder);

 private:
  static std::filesystem::path ToPath(const QString& folder);

  Layout layout_ = Layout::RunFolder;
  QString dataFolder_;
  QString favouritesFolder_;
  QString updaterFolder_;
};

}  // namespace lexoria
