#include <atomic>
#include <filesystem>
#include <thread>

#include "ComponentFixture.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace trovenix {
namespace {

using test::ComponentTest;

TEST_F(ComponentTest, NoThreadsRunsTasksOneAfterAnotherOnTheLoop) {
  for (int i = 0; i < 3; ++i) AddCopyTask(Clip(), Output("serial-" + std::to_string(i) + ".mkv"));
  const auto started = std::chrono::steady_clock::now();
  component.StartTasks(0);
  EXPECT_TRUE(Ends().empty());  // the first task starts from a timer, not at once
  ASSERT_TRUE(RunToAllEnded());
  const auto events = Ends();
  ASSERT_EQ(events.size(), 4u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(events[i].Index, i);
    EXPECT_TRUE(events[i].Finished);
    EXPECT_FALSE(events[i].Exception) << events[i].Message;
    EXPECT_EQ(events[i].Thread, loop.ThreadId());
    EXPECT_EQ(component.Task(i).ThreadID, loop.ThreadId());
    EXPECT_TRUE(fs::exists(Output("serial-" + std::to_string(i) + ".mkv")));
    const auto previous = i == 0 ? started : events[i - 1].At;
    EXPECT_GE(events[i].At - previous, 100ms);
  }
  EXPECT_EQ(events[3].Index, -1);
  EXPECT_TRUE(events[3].Finished);
}

TEST_F(ComponentTest, PausingATaskOnTheLoopThreadDoesNotHoldIt) {
  // A task without a thread of its own runs on the loop's thread, which also
  // raises its events; pausing it from there would leave nobody to resume.
  AddCopyTask(Clip(), Output("paused-on-loop.mkv"), "re");  // reports during the run
  bool paused = false;
  component.OnProgress = [&](int, int, int, int, float, float, std::int64_t, int) {
    if (!paused) component.PauseTasks();
    paused = true;
  };
  component.SetProgressInterval(100);
  component.StartTasks(0);
  ASSERT_TRUE(RunToAllEnded(10s));
  EXPECT_TRUE(paused);
  EXPECT_TRUE(Ends().front().Finished);
}

TEST_F(ComponentTest, TwoThreadsRunTwoTasksAtOnce) {
  // Rate emulation makes each copy last about as long as the clip.
  for (int i = 0; i < 3; ++i) AddCopyTask(Clip(), Output("pair-" + std::to_string(i) + ".mkv"), "re");
  std::atomic<int> thirdRunningAtFirstEnd{-1};
  std::atomic<int> firstTwoStartedAtFirstEnd{0};
  const auto record = component.OnTerminate;
  component.OnTerminate = [&](int index, bool finished, bool exception, const std::string& message) {
    if (thirdRunningAtFirstEnd == -1 && index >= 0) {
      thirdRunningAtFirstEnd = component.Task(2).Running || component.Task(2).Terminated;
      const auto started = [&](int i) { return component.Task(i).Running || component.Task(i).Terminated; };
      firstTwoStartedAtFirstEnd = (started(0) ? 1 : 0) + (started(1) ? 1 : 0);
    }
    record(index, finished, exception, message);
  };
  component.StartTasks(2);
  ASSERT_TRUE(RunToAllEnded());
  EXPECT_EQ(thirdRunningAtFirstEnd, 0);
  EXPECT_EQ(firstTwoStartedAtFirstEnd, 2);  // both of the first two had started
  const auto events = Ends();
  ASSERT_EQ(events.size(), 4u);
  EXPECT_EQ(events[2].Index, 2);  // the third starts last and ends last
  EXPECT_EQ(events[3].Index, -1);
  for (int i = 0; i < 3; ++i) EXPECT_NE(component.Task(i).ThreadID, loop.ThreadId());
}

TEST_F(ComponentTest, ReencodingTasksRunOnTheirThreads) {
  // Two re-encodes at once: decoder, encoder and task threads all at work.
  for (int i = 0; i < 2; ++i) {
    const int index = component.CreateTask(Clip());
    ASSERT_GE(index, 0) << component.LastErrorText();
    TOutputOptions options;
    options.VideoCodec = "mpeg4";
    options.AudioCodec = "mp2";
    options.FrameSize = "320x240";
    options.FrameRate = "30";
    ASSERT_TRUE(component.SetTaskOutput(index, Output("reencoded-" + std::to_string(i) + ".avi"), &options))
        << component.LastErrorText();
  }
  std::atomic<int> reports{0};
  component.OnProgress = [&](int, int frame, int, int, float, float, std::int64_t, int) {
    if (frame > 0) ++reports;
  };
  component.SetProgressInterval(100);
  component.StartTasks(2);
  ASSERT_TRUE(RunToAllEnded());
  for (const auto& end : Ends()) EXPECT_FALSE(end.Exception) << end.Message;
  EXPECT_GT(reports, 0);
  for (int i = 0; i < 2; ++i) {
    const auto probe = test::RunCommand(
        "ffprobe -v error -count_packets -show_entries stream=codec_name,width,nb_read_packets -of csv=p=0 " +
        test::ShellQuote(Output("reencoded-" + std::to_string(i) + ".avi")));
    // The one second of sound, the encoder's start-up delay in place of its
    // first samples (AVI cannot say to skip it): 38 frames of 1152 samples.
    EXPECT_EQ(probe.Output, "mpeg4,320,30\nmp2,38\n");
  }
}

TEST_F(ComponentTest, StartingNoTasksRaisesNothing) {
  component.StartTasks(0);
  component.StartTasks(3);
  EXPECT_FALSE(loop.RunUntil([this] { return !Ends().empty(); }, 300ms));
}

TEST_F(ComponentTest, StopBeforeStartEndsEachTaskOnItsOwnThread) {
  for (int i = 0; i < 3; ++i) AddCopyTask(Clip(), Output("never-" + std::to_string(i) + ".mkv"));
  component.StopTasks();
  ASSERT_TRUE(RunToAllEnded(10s));
  const auto events = Ends();
  ASSERT_EQ(events.size(), 4u);
  std::vector<int> indexes;
  for (int i = 0; i < 3; ++i) {
    indexes.push_back(events[i].Index);
    EXPECT_FALSE(events[i].Finished);
    EXPECT_FALSE(events[i].Exception);
    EXPECT_EQ(events[i].Message, "");
    EXPECT_NE(events[i].Thread, loop.ThreadId());
    EXPECT_FALSE(fs::exists(Output("never-" + std::to_string(i) + ".mkv")));
  }
  std::sort(indexes.begin(), indexes.end());
  EXPECT_EQ(indexes, (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(events[3].Index, -1);
}

TEST_F(ComponentTest, TaskThatCannotStartEndsWithItsReason) {
  ASSERT_EQ(component.CreateTask(Clip()), 0);  // no output set
  component.StartTasks(1);
  ASSERT_TRUE(RunToAllEnded());
  const auto events = Ends();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_TRUE(events[0].Exception);
  EXPECT_EQ(events[0].Message, "At least one output file must be specified");
}

// Size of the file the task writes to, under whatever name it has now.
std::uintmax_t WrittenBytes(const std::string& folder) {
  std::uintmax_t bytes = 0;
  for (const auto& entry : fs::directory_iterator(folder)) bytes += entry.file_size();
  return bytes;
}

TEST_F(ComponentTest, PauseHoldsTheTaskAndStopDuringPauseEndsIt) {
  // Noise keeps the bit rate high, so the output grows in steps far larger
  // than the writer's buffer.
  const std::string longer = test::MakeClip(
      "component-6s-noise.mp4",
      "-f lavfi -i testsrc2=size=160x120:rate=25,noise=alls=40:allf=t -f lavfi "
      "-i sine=sample_rate=44100 -t 6 -c:v mpeg4 -q:v 2 -c:a aac -shortest");
  const fs::path folder = test::FixturePath("component-pause");
  fs::remove_all(folder);
  fs::create_directories(folder);
  // MPEG-TS writes as it goes, where other containers gather packets first.
  const std::string output = (folder / "paused.ts").string();
  AddCopyTask(longer, output, "re");
  component.StartTasks(1);
  loop.RunUntil([] { return false; }, 800ms);
  component.PauseTasks();
  loop.RunUntil([] { return false; }, 200ms);  // what was read before the pause is written
  const auto atPause = WrittenBytes(folder.string());
  loop.RunUntil([] { return false; }, 600ms);
  EXPECT_EQ(WrittenBytes(folder.string()), atPause);
  EXPECT_FALSE(AllEnded());

  component.ResumeTasks();
  loop.RunUntil([] { return false; }, 700ms);
  EXPECT_GT(WrittenBytes(folder.string()), atPause);

  component.PauseTasks();
  const auto stopAt = std::chrono::steady_clock::now();
  component.StopTasks();
  ASSERT_TRUE(RunToAllEnded(5s));
  EXPECT_LT(std::chrono::steady_clock::now() - stopAt, 2s);
  const auto events = Ends();
  EXPECT_FALSE(events[0].Finished);
  EXPECT_FALSE(events[0].Exception) << events[0].Message;
  const double seconds = test::ProbeDurationSeconds(output);
  EXPECT_GE(seconds, 0.0) << "ffprobe reads the output";
  EXPECT_GT(seconds, 1.0);
  EXPECT_LT(seconds, 4.0);
}

}  // namespace
}  // namespace trovenix
