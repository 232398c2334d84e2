// `cmake --install` into a prefix of its own, then the installed program at
// work: it finds the media libraries without the build tree.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "TrovenixVersion.h"
#include "support/Fixtures.h"

namespace fs = std::filesystem;

namespace trovenix {
namespace {

using test::ShellQuote;

TEST(Install, TheInstalledProgramProbesAClip) {
  const std::string prefix = test::FixturePath("install-prefix");
  fs::remove_all(prefix);
  // DESTDIR from the caller's environment would put the files elsewhere.
  const auto installed = test::RunCommand("env -u DESTDIR " + ShellQuote(CMAKE_COMMAND) +
                                          " --install " + ShellQuote(TROVENIX_BUILD_DIR) +
                                          " --prefix " + ShellQuote(prefix) + " 2>&1");
  ASSERT_EQ(installed.Status, 0) << installed.Output;

  // Every installed file lies under the prefix: no absolute destinations.
  std::istringstream lines(installed.Output);
  int files = 0;
  for (std::string line; std::getline(lines, line);) {
    for (const std::string verb : {"-- Installing: ", "-- Up-to-date: "}) {
      if (line.rfind(verb, 0) != 0) continue;
      ++files;
      EXPECT_EQ(line.rfind(verb + prefix + "/", 0), 0u) << line;
    }
  }
  EXPECT_GT(files, 0) << installed.Output;

  const std::string program = prefix + "/" + CMAKE_INSTALL_BINDIR + "/trovenix-convert";
  ASSERT_TRUE(fs::exists(program)) << installed.Output;
  const std::string clip = test::MakeClip(
      "ntsc.mp4", "-f lavfi -i testsrc=size=320x240:rate=30000/1001 -t 1 -c:v mpeg4");
  // Run from elsewhere, so nothing of the build tree is at hand.
  const auto probe =
      test::RunCommand("cd / && " + ShellQuote(program) + " --probe " + ShellQuote(clip) + " 2>&1");
  EXPECT_EQ(probe.Status, 0);
  EXPECT_EQ(probe.Output, clip + "\t320x240\t29.97\t00:00:01\n");
  const auto version = test::RunCommand(ShellQuote(program) + " --version");
  EXPECT_EQ(version.Output, std::string("trovenix-convert ") + TrovenixVersion + "\n");
}

}  // namespace
}  // namespace trovenix
