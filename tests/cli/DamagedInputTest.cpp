// Sources that once ended the process or ran away: a stream whose picture
// format is not known, a broken packet time, parameters found only by a
// longer look.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "support/DamagedMedia.h"
#include "support/Fixtures.h"

namespace fs = std::filesystem;

namespace trovenix {
namespace {

using test::ShellQuote;

std::string Folder(const std::string& name) {
  const fs::path dir = test::FixturePath("cli-damaged") + "/" + name;
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir.string();
}

// An MPEG-4 stream with its header and not one frame: its pixel format
// stays unknown.
std::string HeaderOnlyAvi() {
  return test::MakeClip("header-only.avi",
                        "-f lavfi -i testsrc=d=1:s=64x48:r=10 -c:v mpeg4 -frames:v 0");
}

// A 2 s FLV whose 30th video tag claims to lie two hours in.
std::string TimeJumpFlv() {
  const std::string ok = test::MakeClip(
      "jump-source.flv",
      "-f lavfi -i testsrc=d=2:s=320x240 -f lavfi -i sine=d=2 -c:v flv1 -c:a libmp3lame");
  return test::WriteFixture("jump.flv", test::FlvVideoTagTimeSet(test::ReadBytes(ok), 30, 7200000));
}

bool HasTemporaryFile(const std::string& folder) {
  for (const auto& entry : fs::directory_iterator(folder))
    if (entry.path().extension() == ".part") return true;
  return false;
}

TEST(DamagedInput, UnknownPictureFormatFailsTheRowAndKeepsTheOldFile) {
  const std::string source = HeaderOnlyAvi();
  const struct {
    int Format;
    std::string Ext;
  } entries[] = {{0, "mp4"}, {24, "avi"}, {32, "wmv"}};
  for (const auto& e : entries) {
    SCOPED_TRACE(e.Format);
    const std::string folder = Folder("unknown-format-" + std::to_string(e.Format));
    const std::string output = folder + "/header-only." + e.Ext;
    test::WriteFixture(
        "cli-damaged/unknown-format-" + std::to_string(e.Format) + "/header-only." + e.Ext, "old");
    const auto run = test::RunLimited(std::string(TROVENIX_CONVERT) + " --overwrite --format " +
                                          std::to_string(e.Format) + " --output-dir " +
                                          ShellQuote(folder) + " " + ShellQuote(source),
                                      60);
    ASSERT_TRUE(run.Exited) << "signal " << run.Signal;
    EXPECT_EQ(run.ExitStatus, 1);
    EXPECT_EQ(run.Output, source + "\t" + output +
                              "\tFail: No picture could be decoded from input stream #0.0, so its "
                              "picture format is not known\nAll Conversions Completed\n");
    EXPECT_EQ(test::ReadBytes(output), "old");
    EXPECT_FALSE(HasTemporaryFile(folder));
  }
}

// The broken time is taken for what it is: the output lasts as long as the
// source, not two hours.
TEST(DamagedInput, ABrokenPacketTimeDoesNotStretchTheOutput) {
  const std::string source = TimeJumpFlv();
  const struct {
    int Format;
    std::string Ext;
  } entries[] = {{0, "mp4"}, {24, "avi"}, {26, "mp3"}};
  for (const auto& e : entries) {
    SCOPED_TRACE(e.Format);
    const std::string folder = Folder("jump-" + std::to_string(e.Format));
    const auto run =
        test::RunLimited(std::string(TROVENIX_CONVERT) + " --format " + std::to_string(e.Format) +
                             " --output-dir " + ShellQuote(folder) + " " + ShellQuote(source),
                         60);
    ASSERT_TRUE(run.Exited) << "signal " << run.Signal;
    const std::string output = folder + "/jump." + e.Ext;
    EXPECT_EQ(run.Output, source + "\t" + output + "\tDone\nAll Conversions Completed\n");
    const double seconds = test::ProbeDurationSeconds(output);
    EXPECT_GT(seconds, 1.5);
    EXPECT_LE(seconds, 2.025 + 1.0);
  }
}

// With a look too short to find the sound's parameters, the engine looks
// again for longer instead of failing to open the encoder.
TEST(DamagedInput, ParametersAShortLookMissesAreFoundByALongerOne) {
  const std::string source = test::MakeClip(
      "short-look.mpg",
      "-f lavfi -i testsrc=d=1:s=64x48:r=10 -f lavfi -i sine=d=1 -c:v mpeg2video -c:a mp2");
  const std::string output = Folder("short-look") + "/short-look.mp3";
  const auto run =
      test::RunLimited(std::string(TROVENIX_CONVERT) + " --input " + ShellQuote(source) +
                           " --input-option probesize=32 --input-option analyzeduration=0" +
                           " --output " + ShellQuote(output),
                       60);
  ASSERT_TRUE(run.Exited) << "signal " << run.Signal;
  EXPECT_EQ(run.ExitStatus, 0);
  EXPECT_TRUE(run.Output.ends_with("Done\n")) << run.Output;
  EXPECT_NEAR(test::ProbeDurationSeconds(output), 1.0, 0.2);
}

}  // namespace
}  // namespace trovenix
