// Entry of the desktop session tests: a private dbus-daemon, handed to the
// program as both the session and the system bus, then the window tests'
// offscreen platform and configuration folder.
#include <gtest/gtest.h>

#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>

#include "TestEnvironment.h"

int main(int argc, char** argv) {
  QTemporaryDir config;
  UseTestEnvironment(config);
  ::testing::InitGoogleTest(&argc, argv);

  QProcess bus;
  bus.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                            QStringLiteral("--print-address=1")});
  if (!bus.waitForStarted() || !bus.waitForReadyRead(10000)) {
    std::fprintf(stderr, "dbus-daemon did not start; scripts/install-deps installs it\n");
    return 1;
  }
  const QByteArray address = bus.readLine().trimmed();
  qputenv("DBUS_SESSION_BUS_ADDRESS", address);
  qputenv("DBUS_SYSTEM_BUS_ADDRESS", address);

  int result = 0;
  {
    QApplication application(argc, argv);
    result = RUN_ALL_TESTS();
  }
  bus.terminate();
  bus.waitForFinished();
  return result;
}
