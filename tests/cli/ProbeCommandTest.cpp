#include <gtest/gtest.h>

#include "support/Fixtures.h"

namespace trovenix {
namespace {

using test::MakeClip;
using test::ShellQuote;

test::CommandResult Convert(const std::string& args) {
  return test::RunCommand(std::string(TROVENIX_CONVERT) + " " + args + " 2>/dev/null");
}

TEST(ProbeCommand, PrintsTheFileListCells) {
  const std::string ntsc =
      MakeClip("ntsc.mp4", "-f lavfi -i testsrc=size=320x240:rate=30000/1001 -t 1 -c:v mpeg4");
  const std::string film =
      MakeClip("film.mkv", "-f lavfi -i testsrc=size=176x144:rate=24000/1001 -t 0.5 -c:v mpeg4");
  const std::string audio = MakeClip("tone.wav", "-f lavfi -i sine=duration=2");
  const test::CommandResult result =
      Convert("--probe " + ShellQuote(ntsc) + " " + ShellQuote(film) + " " + ShellQuote(audio));
  EXPECT_EQ(result.Status, 0);
  EXPECT_EQ(result.Output, ntsc + "\t320x240\t29.97\t00:00:01\n" +  //
                               film + "\t176x144\t23.98\t00:00:00\n" +  //
                               audio + "\t \t \t00:00:02\n");
}

TEST(ProbeCommand, ReportsFilesItCannotOpen) {
  const std::string text = test::WriteFixture("readme.txt", "Trovenix converts files.\n");
  const std::string audio = MakeClip("tone.wav", "-f lavfi -i sine=duration=2");
  const test::CommandResult result =
      Convert("--probe " + ShellQuote(text) + " " + ShellQuote(audio));
  EXPECT_EQ(result.Status, 1);
  EXPECT_EQ(result.Output, text + "\tError\t" + text + ": Unknown format\n" + audio +
                               "\t \t \t00:00:02\n");
}

TEST(ProbeCommand, HelpAndUsageErrors) {
  const test::CommandResult help = Convert("--help");
  EXPECT_EQ(help.Status, 0);
  EXPECT_NE(help.Output.find("--probe FILE..."), std::string::npos);
  EXPECT_EQ(Convert("").Status, 2);
  EXPECT_EQ(Convert("--probe").Status, 2);
  EXPECT_EQ(Convert("--frobnicate").Status, 2);
}

}  // namespace
}  // namespace trovenix
