#include <atomic>
#include <thread>

#include "HandlerExpect.h"
#include "TaskFixture.h"

namespace trovenix {
namespace {

using HookOptions = test::TaskTest;
using test::ExpectFailure;

// The loader names the library it could not open, which shows the first
// token: split at "|" when there is one, else at spaces, runs counting as one.
TEST_F(HookOptions, AHookThatCannotBeLoadedIsReported) {
  const struct {
    const char* text;
    const char* module;  // none: nothing to load
  } cases[] = {
      {"/nonexistent/libhook.so -w 10", "/nonexistent/libhook.so"},
      {"   /nonexistent/libhook.so   -w", "/nonexistent/libhook.so"},
      {"/nonexistent/lib hook.so|-w|10", "/nonexistent/lib hook.so"},
      {"||/nonexistent/a b.so||x|", "/nonexistent/a b.so"},
      {"   ", nullptr},
  };
  for (const auto& c : cases) {
    test::LogCapture libraryLog;
    ExpectFailure<FFmpegException>([&] { task.AddVideoHook(c.text); },
                                   std::string("Failed to add video hook function: ") + c.text,
                                   c.text);
    if (!c.module) continue;
    bool named = false;
    for (const auto& line : libraryLog.Lines())
      named = named || line.Text.rfind(std::string(c.module) + ":", 0) == 0;
    EXPECT_TRUE(named) << c.text;
  }
  EXPECT_FALSE(task.UsingVhook);
  EXPECT_TRUE(task.FrameHooks.Empty());
  task.AddVideoHook("");  // nothing named
  EXPECT_FALSE(task.UsingVhook);
}

TEST_F(HookOptions, TimeRangesAreSortedByTheirEnd) {
  task.HookRangeIndex = 2;
  const std::vector<THookRange> given{{5, 30}, {0, 10}, {40, 50}, {12, 20}};
  task.SetHookTimeRanges(given);
  EXPECT_EQ(task.HookRanges, (std::vector<THookRange>{{0, 10}, {12, 20}, {5, 30}, {40, 50}}));
  EXPECT_EQ(task.HookRangeIndex, 0);
  task.SetHookTimeRanges({});
  EXPECT_TRUE(task.HookRanges.empty());
}

class FakePreviewWindow : public IPreviewWindow {
 public:
  explicit FakePreviewWindow(int& released) : released_(released) {}
  ~FakePreviewWindow() override { ++released_; }
  bool ShowFrame(const TBitmap&, std::int64_t, std::int64_t) override { return true; }

 private:
  int& released_;
};

TEST_F(HookOptions, ClearingThePreviewBitReleasesTheWindow) {
  const struct {
    std::uint8_t from, to;
    bool released;
  } cases[] = {
      {1, 0, true}, {3, 2, true}, {1, 1, false}, {1, 3, false}, {0, 0, false}, {2, 0, false},
  };
  for (const auto& c : cases) {
    int released = 0;
    task.PreviewFlags = c.from;
    task.Previewer = std::make_unique<FakePreviewWindow>(released);
    task.SetPreviewFlags(c.to);
    EXPECT_EQ(task.PreviewFlags, c.to);
    EXPECT_EQ(released == 1, c.released) << int(c.from) << "->" << int(c.to);
    EXPECT_EQ(task.Previewer == nullptr, c.released);
    task.Previewer.reset();
  }
}

TEST_F(HookOptions, PreviewFlagsWaitForThePreviewLock) {
  std::atomic<bool> done{false};
  std::thread setter;
  {
    const std::lock_guard<std::mutex> lock(PreviewLock());
    setter = std::thread([&] {
      task.SetPreviewFlags(2);
      done = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(done);
    EXPECT_EQ(task.PreviewFlags, 0);
  }
  setter.join();
  EXPECT_TRUE(done);
  EXPECT_EQ(task.PreviewFlags, 2);
}

}  // namespace
}  // namespace trovenix
