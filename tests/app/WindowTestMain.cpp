// Entry of the window tests: Qt's offscreen platform unless the caller chose
// another, and a configuration folder of their own so that no test touches
// the user's settings.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include "TestEnvironment.h"

int main(int argc, char** argv) {
  QTemporaryDir config;
  UseTestEnvironment(config);
  ::testing::InitGoogleTest(&argc, argv);
  QApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
