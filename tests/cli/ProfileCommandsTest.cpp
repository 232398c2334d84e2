// trovenix-convert --list-formats and --show-choices.
#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "support/Fixtures.h"

namespace trovenix {
namespace {

using test::ShellQuote;

test::CommandResult Convert(const std::string& args) {
  return test::RunCommand(std::string(TROVENIX_CONVERT) + " " + args + " 2>/dev/null");
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The block of one control: its header line and item lines.
std::string Block(const std::string& output, const std::string& control) {
  const std::size_t start = output.find("\n" + control);
  if (start == std::string::npos) return {};
  const std::size_t end = output.find("\nCombo", start + 1);
  return output.substr(start + 1, end == std::string::npos ? std::string::npos : end - start);
}

TEST(ProfileCommands, ListFormatsPrintsThe33ItemsWithPositions) {
  const test::CommandResult result = Convert("--list-formats");
  EXPECT_EQ(result.Status, 0);
  const auto lines = Lines(result.Output);
  ASSERT_EQ(lines.size(), 33u);
  const std::string separator = "              -----------------------------------------";
  EXPECT_EQ(lines[0], "0\tiPod (*.mp4)");
  EXPECT_EQ(lines[3], "3\t" + separator);
  EXPECT_EQ(lines[20], "20\t" + separator);
  EXPECT_EQ(lines[26], "26\tMP3 - Mpeg Layer3 Audio (*.mp3)");
  EXPECT_EQ(lines[32], "32\tWMV - Windows Media Video (*.wmv)");
}

TEST(ProfileCommands, ShowChoicesAfterStartUpAndAFormat) {
  const test::CommandResult startUp = Convert("--show-choices");
  EXPECT_EQ(startUp.Status, 0);
  EXPECT_EQ(Lines(startUp.Output)[0], "ComboOutputFormat\t0\t\"iPod (*.mp4)\"\tMP4");
  EXPECT_EQ(Block(startUp.Output, "ComboVideoCodec"),
            "ComboVideoCodec\n  * \"MPEG4\"\n    \"H264\"\n");
  EXPECT_EQ(Block(startUp.Output, "ComboVideoSize"), "ComboVideoSize\n  * \"320 x 240\"\n");

  const test::CommandResult zune =
      Convert("--show-choices --format " + ShellQuote("Zune Mpeg4 Video (*.mp4)"));
  EXPECT_EQ(zune.Status, 0);
  EXPECT_EQ(Block(zune.Output, "ComboVideoFramerate"),
            "ComboVideoFramerate (nothing selected)\n    \"29.97 fps\"\n");
  EXPECT_EQ(Block(zune.Output, "ComboVideoSize"),
            "ComboVideoSize\n  * \"320 x 240 \"\n    \"640 x 480\"\n");

  const test::CommandResult mp3 = Convert("--show-choices --format 26");
  EXPECT_EQ(mp3.Status, 0);
  EXPECT_EQ(Lines(mp3.Output)[0],
            "ComboOutputFormat\t26\t\"MP3 - Mpeg Layer3 Audio (*.mp3)\"\tMP3");
  EXPECT_EQ(Block(mp3.Output, "ComboVideoCodec"),
            "ComboVideoCodec (disabled) (nothing selected)\n");
  EXPECT_EQ(Block(mp3.Output, "ComboAudioCodec"), "ComboAudioCodec\n  * \"mp3\"\n");
}

TEST(ProfileCommands, UsageErrors) {
  for (const std::string args :
       {"--list-formats extra", "--show-choices --format", "--show-choices --format 3",
        "--show-choices --format 33", "--show-choices --format MP3",
        "--show-choices --format 0 --format 1", "--show-choices --frobnicate"}) {
    const test::CommandResult result = Convert(args);
    EXPECT_EQ(result.Status, 2) << args;
    EXPECT_EQ(result.Output, "") << args;
  }
  EXPECT_NE(Convert("--help").Output.find("--show-choices [--format NAME|POS]"), std::string::npos);
}

}  // namespace
}  // namespace trovenix
