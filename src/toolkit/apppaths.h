// AppPaths: the one place that knows the two layouts on disk. At start-up
// it decides whether the program runs from a run folder (the data files in
// the working folder: everything is read and written there, as always) or
// from an installed layout (the data in share/lexoria-japanese beside the
// program's bin folder, favourites in the user's XDG data folder, fonts from
// the system), and hands the folders to the Qt-free layers.
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

  // The run folder in the working folder: bare file names, as always.
  AppPaths() = default;

  // workingFolder: where the program was started; programFolder: the folder
  // of the executable; appDataFolder: the user's writable application data
  // folder (QStandardPaths::AppDataLocation), empty when there is none.
  // Installed only when the working folder holds none of the data files
  // and the installed data folder holds English.dat; otherwise the run
  // folder, which is how the program behaved before it could be installed.
  static AppPaths Decide(const QString& workingFolder, const QString& programFolder, const QString& appDataFolder);
  // Decide() for a program in programFolder started from the current
  // folder, with the application name's XDG data folder.
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

  std::filesystem::path dataPath() const { return ToPath(dataFolder_); }
  std::filesystem::path favouritesPath() const { return ToPath(favouritesFolder_); }

  // share/lexoria-japanese relative to a program in bin/.
  static QString InstalledDataFolder(const QString& programFolder);

 private:
  static std::filesystem::path ToPath(const QString& folder);

  Layout layout_ = Layout::RunFolder;
  QString dataFolder_;
  QString favouritesFolder_;
};

}  // namespace lexoria
