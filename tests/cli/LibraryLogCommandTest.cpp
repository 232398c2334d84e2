// The media libraries' own messages in the engine mode's log.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/Fixtures.h"

namespace fs = std::filesystem;

namespace trovenix {
namespace {

using test::ShellQuote;

TEST(LibraryLogCommand, DebugAndAllShowTheLibrariesWarnings) {
  // The MP4 muxer warns about copied Vorbis: its frame size is not set.
  const std::string input =
      test::MakeClip("cli-vorbis-1s.mkv", "-f lavfi -i sine=d=1:sample_rate=48000 -c:a libvorbis");
  const fs::path dir = test::FixturePath("cli-library-log");
  fs::create_directories(dir);
  const std::string output = (dir / "vorbis.mp4").string();
  const auto stderrAt = [&](const char* level) {
    fs::remove(output);
    const auto result = test::RunCommand(
        std::string(TROVENIX_CONVERT) + " --input " + ShellQuote(input) + " --output " +
        ShellQuote(output) + " --option acodec=copy --log-level " + level + " 2>&1 >/dev/null");
    EXPECT_EQ(result.Status, 0) << level;
    return result.Output;
  };
  for (const char* level : {"debug", "all"}) {
    const std::string log = stderrAt(level);
    EXPECT_NE(log.find("[mp4 @ "), std::string::npos) << level << ":\n" << log;
    EXPECT_NE(log.find("codec frame size is not set"), std::string::npos) << level << ":\n" << log;
  }
  for (const char* level : {"error", "info"})
    EXPECT_EQ(stderrAt(level).find("[mp4 @ "), std::string::npos) << level;
}

}  // namespace
}  // namespace trovenix
