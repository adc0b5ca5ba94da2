#include "app/wendaro.h"

int main(int argc, char** argv) {
  CWendaroApp app(argc, argv);
  app.InitInstance();
  return app.ExitCode();
}
