// SPDX-License-Identifier: GPL-3.0-or-later
// CWendaroApp: the application object. It runs the main window modally and
// ends when that run ends.
#pragma once

#include <QApplication>

class CWendaroApp : public QApplication {
  Q_OBJECT

 public:
  CWendaroApp(int& argc, char** argv);
  // Runs the main window; false: the application ends with the window.
  bool InitInstance();
  // The process's exit code once InitInstance is done: 1 when another copy
  // holds these favourites but could not be asked to show itself.
  int ExitCode() const { return exitCode_; }

 private:
  int exitCode_ = 0;
};
