#include "app/wendaro.h"

#include "app/wendarodlg.h"
#include "toolkit/apppaths.h"

CWendaroApp::CWendaroApp(int& argc, char** argv) : QApplication(argc, argv) {
  // The name gives the XDG data folder (~/.local/share/lexoria-japanese);
  // the id ties the window to its desktop entry.
  setApplicationName(QString::fromLatin1(lexoria::kInstalledName));
  setDesktopFileName(QString::fromLatin1(lexoria::kApplicationId));
}

bool CWendaroApp::InitInstance() {
  CWendaroDlg dialog(nullptr);
  dialog.UsePaths(lexoria::AppPaths::ForThisProcess());
  dialog.exec();
  return false;
}
