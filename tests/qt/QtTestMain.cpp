// GUI tests need a QApplication, and one that works without a display.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <cstdlib>
#include <string>

#include "tests/support/IsolatedHome.h"

int main(int argc, char** argv) {
  // Qt's settings and file dialogs write into the home: a home of its own.
  const std::string home = support::IsolateHome();
  // Before QApplication exists: gtest_discover_tests runs this binary without
  // the test environment.
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  if (!std::getenv("XDG_RUNTIME_DIR")) {
    const std::string dir =
        QDir::tempPath().toStdString() + "/qt_tests-runtime-" + std::to_string(getuid());
    setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
  }
  // Qt wants the runtime directory to exist and be private.
  const QString runtime = QString::fromLocal8Bit(std::getenv("XDG_RUNTIME_DIR"));
  QDir().mkpath(runtime);
  QFile::setPermissions(runtime,
                        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  ::testing::InitGoogleTest(&argc, argv);
  int status = 0;
  {
    QApplication app(argc, argv);
    status = RUN_ALL_TESTS();
  }
  support::RemoveIsolatedHome(home);
  return status;
}
