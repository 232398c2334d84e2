#include <gtest/gtest.h>

#include <filesystem>

#include "support/Fixtures.h"

namespace fs = std::filesystem;

namespace trovenix {
namespace {

using test::ShellQuote;

std::string Clip() {
  return test::MakeClip("cli-engine-2s.mp4",
                        "-f lavfi -i testsrc=size=160x120:rate=25 -f lavfi -i sine=sample_rate=44100 "
                        "-t 2 -c:v mpeg4 -c:a aac -shortest");
}

std::string Output(const std::string& name) {
  const fs::path dir = test::FixturePath("cli-engine");
  fs::create_directories(dir);
  const fs::path path = dir / name;
  fs::remove(path);
  return path.string();
}

test::CommandResult Convert(const std::string& args) {
  return test::RunCommand(std::string(TROVENIX_CONVERT) + " " + args + " 2>/dev/null");
}

int StreamCount(const std::string& file) {
  const auto probe = test::RunCommand("ffprobe -v error -show_entries stream=index -of csv=p=0 " +
                                      ShellQuote(file) + " | wc -l");
  return std::atoi(probe.Output.c_str());
}

TEST(EngineCommand, CopiesAndSaysDone) {
  const std::string output = Output("copy.mov");
  const auto result = Convert("--input " + ShellQuote(Clip()) + " --output " + ShellQuote(output) +
                              " --option vcodec=copy --option acodec=copy --log-level quiet");
  EXPECT_EQ(result.Status, 0);
  EXPECT_EQ(result.Output, "Done\n");  // no progress line when the output is no terminal
  EXPECT_EQ(StreamCount(output), 2);
}

TEST(EngineCommand, EveryOptionIsReachableInItsPass) {
  const std::string output = Output("two-audio.mkv");
  // "vn" and "async" are also fields of the output record; the record's
  // defaults must not undo them. "newaudio" comes after the output is open.
  const auto result = Convert("--input " + ShellQuote(Clip()) + " --output " + ShellQuote(output) +
                              " --option vn=1 --option async=1 --option acodec=mp2 --option newaudio");
  EXPECT_EQ(result.Status, 0) << result.Output;
  const auto probe = test::RunCommand("ffprobe -v error -show_entries stream=codec_name -of csv=p=0 " +
                                      ShellQuote(output));
  EXPECT_EQ(probe.Output, "mp2\nvorbis\n");
}

TEST(EngineCommand, FailuresSayWhyAndLeaveNoFile) {
  const std::string output = Output("odd.mov");
  const struct {
    std::string Args;
    std::string Last;
  } cases[] = {
      {"--input " + ShellQuote(Clip()) + " --output " + ShellQuote(output) + " --option s=641x480",
       "Fail: Frame size must be a multiple of 2\n"},
      {"--input " + ShellQuote(test::FixturePath("missing.mp4")) + " --output " + ShellQuote(output),
       "Fail: " + test::FixturePath("missing.mp4") + ": no such file or directory\n"},
      {"--input " + ShellQuote(Clip()) + " --output " + ShellQuote(output) + " --option vcodec=nosuchcodec",
       "Fail: new_video_stream fail: Unknown encoder 'nosuchcodec'\n"},
  };
  for (const auto& c : cases) {
    const auto result = Convert(c.Args);
    EXPECT_EQ(result.Status, 1) << c.Args;
    EXPECT_EQ(result.Output, c.Last) << c.Args;
    EXPECT_FALSE(fs::exists(output));
    for (const auto& entry : fs::directory_iterator(fs::path(output).parent_path()))
      EXPECT_EQ(entry.path().filename().string().find(".odd.mov"), std::string::npos);
  }
}

TEST(EngineCommand, UsageErrors) {
  for (const std::string args : {"--input", "--input a.mp4", "--input a --output b --log-level loud",
                                 "--input a --output b --progress-interval soon", "--input a --output b --x y"}) {
    const auto result = Convert(args);
    EXPECT_EQ(result.Status, 2) << args;
  }
}

TEST(EngineCommand, InterruptStopsWithATrailer) {
  const std::string output = Output("interrupted.ts");
  // Rate emulation makes the two-second clip take two seconds.
  const std::string command = std::string(TROVENIX_CONVERT) + " --input " + ShellQuote(Clip()) +
                              " --input-option re --output " + ShellQuote(output) +
                              " --option vcodec=copy --option acodec=copy 2>/dev/null";
  // The interrupt is sent once the task's thread exists (the handler is in
  // place by then) and has run for a while, however slowly the program starts.
  const auto result = test::RunCommand(
      "(" + command +
      " & pid=$!; for i in $(seq 200); do [ $(ls /proc/$pid/task | wc -l) -ge 2 ] && break; sleep 0.05; "
      "done; sleep 0.6; kill -INT $pid; wait $pid; echo status=$?)");
  EXPECT_EQ(result.Output, "Abort\nstatus=130\n");
  const double seconds = test::ProbeDurationSeconds(output);
  EXPECT_GE(seconds, 0.0) << "ffprobe reads the output";
  EXPECT_GT(seconds, 0.2);
  EXPECT_LT(seconds, 1.9);
}

}  // namespace
}  // namespace trovenix
