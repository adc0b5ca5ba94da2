#include "app/wendaro.h"

#include "app/wendarodlg.h"

CWendaroApp::CWendaroApp(int& argc, char** argv) : QApplication(argc, argv) {}

bool CWendaroApp::InitInstance() {
  CWendaroDlg dialog(nullptr);
  dialog.exec();
  return false;
}
