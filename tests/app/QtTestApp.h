// The one QApplication of a window test, made on first use on the calling
// (main) thread. Tests run on Qt's offscreen platform unless told otherwise.
#pragma once

#include <QApplication>
#include <cstdlib>

namespace trovenix::test {

inline QApplication& TestApp() {
  static int argc = 1;
  static char name[] = "trovenix-test";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    return new QApplication(argc, argv);
  }();
  return *app;
}

}  // namespace trovenix::test
