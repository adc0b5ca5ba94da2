#include "app/wendaro.h"

#include "app/singleinstance.h"
#include "app/wendarodlg.h"
#include "toolkit/apppaths.h"

CWendaroApp::CWendaroApp(int& argc, char** argv) : QApplication(argc, argv) {
  // The name gives the XDG data folder (~/.local/share/lexoria-japanese);
  // the id ties the window to its desktop entry.
  setApplicationName(QString::fromLatin1(lexoria::kInstalledName));
  setDesktopFileName(QString::fromLatin1(lexoria::kApplicationId));
}

bool CWendaroApp::InitInstance() {
  const lexoria::AppPaths paths = lexoria::AppPaths::ForThisProcess();
  // One window per favourites file: a second start shows the first window.
  SingleInstance instance(paths.favouritesFolder());
  if (!instance.Claim()) return false;
  CWendaroDlg dialog(nullptr);
  dialog.UsePaths(paths);
  QObject::connect(&instance, &SingleInstance::raiseRequested, &dialog, [&dialog] {
    if (dialog.isMinimized()) dialog.showNormal();
    dialog.raise();
    dialog.activateWindow();
  });
  dialog.exec();
  return false;
}
