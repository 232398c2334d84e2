#include "ComponentFixture.h"
#include "media/AVUtilStubs.h"

namespace trovenix {
namespace {

using test::ComponentTest;

TEST_F(ComponentTest, LibraryLinesArriveWholeFromEachThread) {
  std::vector<std::pair<int, std::string>> lines;
  std::mutex linesLock;
  component.OnLog = [&](int index, TLogLevel, const std::string& message) {
    std::lock_guard<std::mutex> guard(linesLock);
    lines.emplace_back(index, message);
  };
  component.SetLogLevel(TLogLevel::llInfo);  // library messages of level 0 pass
  ff::av_log(nullptr, 0, "first half, ");
  std::thread other([] { ff::av_log(nullptr, 0, "another thread\n"); });
  other.join();
  EXPECT_EQ(lines, (std::vector<std::pair<int, std::string>>{{-1, "another thread"}}));
  ff::av_log(nullptr, 0, "second half\nand %d more\n", 2);
  EXPECT_EQ(lines, (std::vector<std::pair<int, std::string>>{
                       {-1, "another thread"}, {-1, "first half, second half"}, {-1, "and 2 more"}}));
  // Above the level: dropped.
  ff::av_log(nullptr, 32, "information\n");
  EXPECT_EQ(lines.size(), 3u);
  component.SetLogLevel(TLogLevel::llQuiet);
}

TEST_F(ComponentTest, TaskLinesCarryTheTaskIndexAndLevel) {
  std::vector<std::tuple<int, TLogLevel, std::string>> lines;
  std::mutex linesLock;
  component.OnLog = [&](int index, TLogLevel level, const std::string& message) {
    std::lock_guard<std::mutex> guard(linesLock);
    lines.emplace_back(index, level, message);
  };
  AddCopyTask(Clip(), Output("logged.mkv"));
  ASSERT_EQ(component.CreateTask(Clip()), 1);
  component.StartTasks(1);
  ASSERT_TRUE(RunToAllEnded());
  // The task without an output fails at its start, at the level of errors that end a task.
  std::lock_guard<std::mutex> guard(linesLock);
  EXPECT_NE(std::find(lines.begin(), lines.end(),
                      std::make_tuple(1, TLogLevel::llQuiet,
                                      std::string("At least one output file must be specified"))),
            lines.end());
}

}  // namespace
}  // namespace trovenix
