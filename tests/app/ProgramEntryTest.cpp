// On a Wayland session the window goes through XWayland unless the user
// chose a platform.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QtGlobal>

#include "app/ProgramEntry.h"

namespace trovenix::test {
namespace {

// Restores the two variables the test changes.
class SavedEnvironment {
 public:
  SavedEnvironment()
      : wayland_(qgetenv("WAYLAND_DISPLAY")),
        hadWayland_(qEnvironmentVariableIsSet("WAYLAND_DISPLAY")),
        platform_(qgetenv("QT_QPA_PLATFORM")),
        hadPlatform_(qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {}
  ~SavedEnvironment() {
    Restore("WAYLAND_DISPLAY", hadWayland_, wayland_);
    Restore("QT_QPA_PLATFORM", hadPlatform_, platform_);
  }

 private:
  static void Restore(const char* name, bool had, const QByteArray& value) {
    if (had)
      qputenv(name, value);
    else
      qunsetenv(name);
  }
  QByteArray wayland_;
  bool hadWayland_;
  QByteArray platform_;
  bool hadPlatform_;
};

TEST(ProgramEntryTest, WaylandSessionsUseXcbUnlessAPlatformIsChosen) {
  SavedEnvironment saved;
  struct Case {
    const char* Wayland;   // nullptr: not set
    const char* Platform;  // nullptr: not set
    const char* Expected;  // nullptr: still not set
  };
  const Case cases[] = {
      {"wayland-0", nullptr, "xcb"}, {"wayland-0", "", "xcb"}, {"wayland-0", "wayland", "wayland"},
      {nullptr, nullptr, nullptr},   {"", nullptr, nullptr},
  };
  for (const Case& c : cases) {
    c.Wayland ? qputenv("WAYLAND_DISPLAY", c.Wayland) : qunsetenv("WAYLAND_DISPLAY");
    c.Platform ? qputenv("QT_QPA_PLATFORM", c.Platform) : qunsetenv("QT_QPA_PLATFORM");
    PreferXcbOnWayland();
    if (c.Expected)
      EXPECT_EQ(qgetenv("QT_QPA_PLATFORM"), c.Expected);
    else
      EXPECT_FALSE(qEnvironmentVariableIsSet("QT_QPA_PLATFORM"));
  }
}

}  // namespace
}  // namespace trovenix::test
