// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/wendaro.h"

int main(int argc, char** argv) {
  CWendaroApp app(argc, argv);
  app.InitInstance();
  return app.ExitCode();
}
