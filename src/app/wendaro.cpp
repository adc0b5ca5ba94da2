// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/wendaro.h"

#include "app/singleinstance.h"
#include "app/wendarodlg.h"
#include "data/datafolders.h"
#include "toolkit/apppaths.h"

#include <cstdio>
#include <string>

CWendaroApp::CWendaroApp(int& argc, char** argv) : QApplication(argc, argv) {
  // The name gives the XDG data folder (~/.local/share/lexoria-japanese);
  // the id ties the window to its desktop entry.
  setApplicationName(QString::fromLatin1(lexoria::kInstalledName));
  setDesktopFileName(QString::fromLatin1(lexoria::kApplicationId));
}

bool CWendaroApp::InitInstance() {
  const lexoria::AppPaths paths = lexoria::AppPaths::ForThisProcess();
  // The favourites folder is made before it names the one-window key, so
  // that the key is the same before and after the first favourite however
  // $HOME is reached. A folder that cannot be made is said on the first add.
  if (paths.installed()) {
    std::string reason;
    (void)lexoria::CreateFavouritesFolder({paths.dataPath(), paths.favouritesPath()}, reason);
  }
  // One window per favourites file: a second start shows the first window.
  SingleInstance instance(paths.favouritesFolder(), paths.installed());
  switch (instance.Claim()) {
    case SingleInstance::Claimed::Run: break;
    case SingleInstance::Claimed::HandedOver: return false;
    case SingleInstance::Claimed::Failed:
      std::fputs("lexoria-japanese: another copy is running with the same favourites but does not answer\n", stderr);
      exitCode_ = 1;
      return false;
  }
  CWendaroDlg dialog(nullptr);
  dialog.UsePaths(paths);
  QObject::connect(&instance, &SingleInstance::raiseRequested, &dialog, [&dialog](const QString& token) {
    // Wayland gives the focus only with the starter's token. Qt 6.4 hands
    // the one in XDG_ACTIVATION_TOKEN to the compositor when the window asks
    // to be activated, and then clears it.
    if (!token.isEmpty()) qputenv("XDG_ACTIVATION_TOKEN", token.toUtf8());
    if (dialog.isMinimized()) dialog.showNormal();
    dialog.raise();
    dialog.activateWindow();
    // Elsewhere (X11) it is not taken: no program started later inherits it.
    qunsetenv("XDG_ACTIVATION_TOKEN");
  });
  dialog.exec();
  return false;
}
