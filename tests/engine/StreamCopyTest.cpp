#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <thread>

#include "TaskFixture.h"

namespace fs = std::filesystem;

namespace trovenix {
namespace {

std::string H264AacClip() {
  return test::MakeClip("h264-aac-2s.mp4",
                        "-f lavfi -i testsrc=size=320x240:rate=25 -f lavfi "
                        "-i sine=frequency=440:sample_rate=48000 -t 2 -c:v libx264 -preset ultrafast "
                        "-g 12 -c:a aac -shortest");
}

// Packets per stream type ("video", "audio") as ffprobe counts them.
std::map<std::string, int> PacketCounts(const std::string& file) {
  const auto result = test::RunCommand(
      "ffprobe -v error -count_packets -show_entries stream=index,codec_type,nb_read_packets "
      "-of csv=p=0 " + test::ShellQuote(file));
  // Containers with programs list their streams twice; each index counts once.
  std::map<std::string, int> counts;
  std::set<std::string> seen;
  std::istringstream lines(result.Output);
  std::string line;
  while (std::getline(lines, line)) {
    const auto first = line.find(','), second = line.find(',', first + 1);
    if (second == std::string::npos || !seen.insert(line.substr(0, first)).second) continue;
    counts[line.substr(first + 1, second - first - 1)] += std::stoi(line.substr(second + 1));
  }
  return counts;
}

class StreamCopy : public test::TaskTest {
 protected:
  std::string Output(const std::string& name, const std::string& folder = {}) {
    const fs::path dir = fs::path(test::FixturePath("copy-out")) /
                         ::testing::UnitTest::GetInstance()->current_test_info()->name() / folder;
    fs::create_directories(dir);
    const std::string path = (dir / name).string();
    fs::remove(path);
    return path;
  }
  // Opens input and output with both streams copied, as the option table would.
  void Configure(const std::string& input, const std::string& output,
                 const std::vector<std::pair<std::string, std::string>>& options = {}) {
    ASSERT_TRUE(task.OpenInputFile(input)) << task.LastError;
    task.ParseOption("vcodec", "copy");
    task.ParseOption("acodec", "copy");
    for (const auto& [name, value] : options) task.ParseOption(name, value);
    ASSERT_GE(task.OpenOutputFile(output), 0) << task.LastError;
  }
  void RunToEnd(bool mustSucceed = true) {
    task.Start(false);
    if (mustSucceed) {
      EXPECT_FALSE(task.Failed) << task.ErrorMessage;
    }
  }
};

TEST_F(StreamCopy, EveryPacketReachesEachContainer) {
  const std::string input = H264AacClip();
  const auto expected = PacketCounts(input);
  ASSERT_GT(expected.at("video"), 0);
  ASSERT_GT(expected.at("audio"), 0);
  for (const char* name : {"copy.mov", "copy.avi", "copy.mkv", "copy.ts"}) {
    task.PrepareTask();
    const std::string output = Output(name);
    Configure(input, output);
    RunToEnd();
    EXPECT_TRUE(task.Finished) << name;
    EXPECT_EQ(PacketCounts(output), expected) << name;
    EXPECT_NEAR(test::ProbeDurationSeconds(output), test::ProbeDurationSeconds(input), 0.04 + 0.001) << name;
  }
}

TEST_F(StreamCopy, SingleStreamCopies) {
  const std::string input = H264AacClip();
  const auto expected = PacketCounts(input);
  const struct {
    const char* option;
    const char* file;
    const char* kept;
  } cases[] = {{"an", "video-only.mp4", "video"}, {"vn", "audio-only.m4a", "audio"}};
  for (const auto& c : cases) {
    task.PrepareTask();
    const std::string output = Output(c.file);
    Configure(input, output, {{c.option, ""}});
    RunToEnd();
    const auto counts = PacketCounts(output);
    EXPECT_EQ(counts.size(), 1u) << c.file;
    EXPECT_EQ(counts.at(c.kept), expected.at(c.kept)) << c.file;
  }
}

TEST_F(StreamCopy, RecordingTimeAndStartCut) {
  const std::string input = H264AacClip();
  const std::string first = Output("first-second.mkv");
  Configure(input, first, {{"t", "1"}});
  RunToEnd();
  EXPECT_NEAR(test::ProbeDurationSeconds(first), 1.0, 0.1);

  task.PrepareTask();
  task.ParseOption("ss", "1");
  const std::string last = Output("last-second.mkv");
  Configure(input, last);
  RunToEnd();
  EXPECT_NEAR(test::ProbeDurationSeconds(last), 1.0, 0.15);
}

TEST_F(StreamCopy, FileSizeLimitStopsNearTheLimit) {
  const std::string output = Output("limited.mkv");
  Configure(H264AacClip(), output, {{"fs", "20000"}});
  RunToEnd();
  const auto size = fs::file_size(output);
  EXPECT_GT(size, 20000u);
  EXPECT_LT(size, fs::file_size(H264AacClip()));
  EXPECT_LT(test::ProbeDurationSeconds(output), 2.0);
}

TEST_F(StreamCopy, StopRequestLeavesAPlayableFile) {
  const std::string input = test::MakeClip(
      "h264-aac-20s.mp4",
      "-f lavfi -i testsrc=size=160x120:rate=25 -f lavfi -i sine=sample_rate=48000 -t 20 "
      "-c:v libx264 -preset ultrafast -c:a aac -shortest");
  const std::string output = Output("stopped.mkv");
  // Reading at the input's own pace makes the stop surely come half-way.
  Configure(input, output, {{"re", ""}});
  ASSERT_TRUE(task.Start(true));
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  // A paused task still hears the stop request.
  task.Pause();
  task.RequestStop();
  task.WaitFor();
  EXPECT_FALSE(task.Failed) << task.ErrorMessage;
  EXPECT_FALSE(task.Finished);
  EXPECT_TRUE(task.Terminated);
  ASSERT_TRUE(fs::exists(output));
  EXPECT_GE(test::ProbeDurationSeconds(output), 0.0);  // has a trailer: the duration is readable
  EXPECT_LT(test::ProbeDurationSeconds(output), 20.0);
}

TEST_F(StreamCopy, SetupErrorsKeepWhatStoodThere) {
  const std::string input = H264AacClip();
  const struct {
    std::vector<std::pair<std::string, std::string>> options;
    std::string error;
  } cases[] = {
      {{{"an", ""}, {"vn", ""}}, "Output file #0 does not contain any stream"},
      {{{"map", "0:0"}}, "Number of stream maps must match number of output streams"},
      {{{"map", "0:0"}, {"map", "0:5"}}, "Could not find input stream #0.5"},
      {{{"map", "0:0"}, {"map", "0:1:3.0"}}, "Could not find sync stream #3.0"},
      {{{"map", "0:1"}, {"map", "0:0"}}, "Codec type mismatch for mapping #0.1 -> #0.0"},
      {{{"vol", "255"}}, "-acodec copy and -vol are incompatible (frames are not decoded)"},
  };
  for (const auto& c : cases) {
    task.PrepareTask();
    const std::string output = Output("kept.mov", "failing");
    std::ofstream(output) << "precious";
    Configure(input, output, c.options);
    RunToEnd(false);
    EXPECT_TRUE(task.Failed);
    EXPECT_EQ(task.ErrorMessage, c.error);
    std::ifstream kept(output);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "precious");
    EXPECT_EQ(std::distance(fs::directory_iterator(fs::path(output).parent_path()), {}), 1)
        << "no temporary file is left";
  }

  task.PrepareTask();
  Configure(input, Output("volume.mov"), {{"vol", "256"}});
  RunToEnd();
  EXPECT_TRUE(task.Finished);

  for (std::uint8_t flags : {1, 2}) {
    task.PrepareTask();
    Configure(input, Output("preview.mov"));
    task.PreviewFlags = flags;
    RunToEnd(false);
    EXPECT_EQ(task.ErrorMessage, "-vcodec copy and PostHooks are incompatible (frames are not decoded)");
  }
}

TEST_F(StreamCopy, SecondPassNeedsItsLogFile) {
  ASSERT_TRUE(task.OpenInputFile(H264AacClip()));
  const std::string prefix = (fs::path(test::FixturePath("copy-out")) / "no-such-pass").string();
  task.ParseOption("vcodec", "mpeg4");
  task.ParseOption("an", "");
  task.ParseOption("pass", "2");
  task.ParseOption("passlogfile", prefix);
  ASSERT_GE(task.OpenOutputFile(Output("pass2.avi")), 0) << task.LastError;
  RunToEnd(false);
  EXPECT_EQ(task.ErrorMessage, "Cannot read log file " + prefix + "-0.log for pass-2 encoding");
}

TEST_F(StreamCopy, ProgressReportsWhatWasWritten) {
  const std::string input = H264AacClip();
  for (const bool audioOnly : {false, true}) {
    task.PrepareTask();
    std::vector<TProgressInfo> reports;
    task.ProgressCallback = [&](const TProgressInfo& info) { reports.push_back(info); };
    task.ReportInterval = 0;
    Configure(input, Output(audioOnly ? "progress.m4a" : "progress.mkv"),
              audioOnly ? std::vector<std::pair<std::string, std::string>>{{"vn", ""}}
                        : std::vector<std::pair<std::string, std::string>>{});
    RunToEnd();
    ASSERT_FALSE(reports.empty());
    const TProgressInfo& final = reports.back();
    EXPECT_NEAR(final.TotalDurationMs, 2000, 50);
    EXPECT_NEAR(final.CurrentDurationMs, 2000, 100);
    EXPECT_GT(final.CurrentSize, 0);
    EXPECT_GT(final.BitRateKbps, 0.0f);
    if (audioOnly) {
      EXPECT_EQ(final.FrameNumber, -1);
      EXPECT_EQ(final.FramesPerSecond, -1);
      EXPECT_EQ(final.Quality, -1.0f);
    } else {
      EXPECT_EQ(final.FrameNumber, 50);
      EXPECT_EQ(final.Quality, -1.0f);  // copied
      for (const TProgressInfo& report : reports) EXPECT_GE(report.FrameNumber, 1);
    }
    // The smallest stream time may step back when a stream writes its first
    // packet, but it never passes the total.
    for (const TProgressInfo& report : reports)
      EXPECT_LE(report.CurrentDurationMs, report.TotalDurationMs + 100);
    bool summary = false;
    for (const auto& line : log)
      summary = summary || (line.second.rfind("video:", 0) == 0 &&
                            line.second.find(" global headers:0kB muxing overhead ") != std::string::npos);
    EXPECT_TRUE(summary);
  }
}

TEST_F(StreamCopy, StatusLineWithoutAProgressCallback) {
  task.SetVerbose(2);
  Configure(H264AacClip(), Output("status.mkv"));
  task.ReportInterval = 0;
  RunToEnd();
  bool status = false;
  for (const auto& line : log)
    status = status || (line.second.rfind("frame=   50 fps=", 0) == 0 &&
                        line.second.find("L") != std::string::npos &&
                        line.second.find(" dup=0 drop=0") != std::string::npos);
  EXPECT_TRUE(status);
  task.SetVerbose(1);
}

TEST_F(StreamCopy, StartWithoutFilesFails) {
  int ended = 0;
  task.TerminateCallback = [&](TCustomFFmpeg&) { ++ended; };
  EXPECT_FALSE(task.Start(true));
  EXPECT_TRUE(task.Failed);
  EXPECT_EQ(task.ErrorMessage, "At least one output file must be specified");
  EXPECT_EQ(ended, 1);
  EXPECT_TRUE(log.size() >= 1 && log.back() == std::make_pair(-1, task.ErrorMessage));
  // An ended task does not start again.
  EXPECT_FALSE(task.Start(false));
  EXPECT_EQ(ended, 1);
}

}  // namespace
}  // namespace trovenix

namespace trovenix {
namespace {

// Damaged sources either fail with a text or convert what can be read; they
// neither crash nor hang, and a failure leaves no output behind.
TEST_F(StreamCopy, DamagedSourcesFailCleanlyOrGiveShorterOutput) {
  const std::string ts = test::MakeClip(
      "mpeg2-mp2-2s.ts", "-f lavfi -i testsrc=size=320x240:rate=25 -f lavfi -i sine -t 2 "
                         "-c:v mpeg2video -c:a mp2 -shortest");
  const auto bytes = [](const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  const std::string whole = bytes(ts), mp4 = bytes(H264AacClip());
  std::string scrambled = whole;
  for (std::size_t i = scrambled.size() / 3; i < scrambled.size() / 2; i += 7) scrambled[i] ^= 0x5A;
  const struct {
    std::string name, content;
    bool readable;  // the library reads on and gives a shorter or damaged output
  } cases[] = {
      {"half.ts", whole.substr(0, whole.size() / 2), true},
      {"scrambled.ts", scrambled, true},
      {"half.mp4", mp4.substr(0, mp4.size() / 2), false},  // the index is at the end
      {"head.mp4", mp4.substr(0, 40), false},
  };
  for (const auto& c : cases) {
    task.PrepareTask();
    const std::string input = test::WriteFixture("damaged-" + c.name, c.content);
    const std::string output = Output(c.name + ".mkv");
    if (!task.OpenInputFile(input)) {
      EXPECT_FALSE(c.readable) << c.name;
      EXPECT_FALSE(task.LastError.empty());
      continue;
    }
    task.ParseOption("vcodec", "mpeg4");
    task.ParseOption("acodec", "mp2");
    ASSERT_GE(task.OpenOutputFile(output), 0) << task.LastError;
    task.Start(false);
    if (task.Failed) {
      EXPECT_FALSE(c.readable) << c.name << ": " << task.ErrorMessage;
      EXPECT_FALSE(task.ErrorMessage.empty());
      EXPECT_FALSE(fs::exists(output));
    } else {
      EXPECT_TRUE(c.readable) << c.name;
      const double seconds = test::ProbeDurationSeconds(output);
      EXPECT_GT(seconds, 0.3) << c.name;
      EXPECT_LT(seconds, c.name == "half.ts" ? 1.7 : 2.2) << c.name;
    }
  }
}

}  // namespace
}  // namespace trovenix
