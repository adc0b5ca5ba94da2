// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Keeps Qt's start-up quiet in tests: a private runtime folder, as Qt wants.
#include <QByteArray>
#include <QDir>

#include <sys/stat.h>

inline void PrepareTestRuntimeDir() {
  const QByteArray dir = QDir::tempPath().toLocal8Bit() + "/lexoria-test-runtime-" + QByteArray::number(getuid());
  mkdir(dir.constData(), 0700);
  chmod(dir.constData(), 0700);
  qputenv("XDG_RUNTIME_DIR", dir);
}

#define LEXORIA_TEST_MAIN(TestClass)        \
  int main(int argc, char** argv) {         \
    PrepareTestRuntimeDir();                \
    QApplication app(argc, argv);           \
    TestClass test;                         \
    return QTest::qExec(&test, argc, argv); \
  }
