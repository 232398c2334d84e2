// An engine component on a small event loop standing in for the window's,
// with every event it raises recorded.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <string>
#include <vector>

#include "engine/EngineComponent.h"
#include "engine/EventLoop.h"
#include "engine/ThreadIds.h"
#include "support/Fixtures.h"

namespace trovenix::test {

struct TEndEvent {
  int Index;
  bool Finished, Exception;
  std::string Message;
  std::uint32_t Thread;
  std::chrono::steady_clock::time_point At;
};

class ComponentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LoadLibrariesOrFail();
    ASSERT_TRUE(component.LoadLibraries("")) << component.LastErrorText();
    component.SetLogLevel(TLogLevel::llQuiet);
    component.OnTerminate = [this](int index, bool finished, bool exception, const std::string& message) {
      std::lock_guard<std::mutex> guard(lock);
      ends.push_back({index, finished, exception, message, CurrentThreadId(),
                      std::chrono::steady_clock::now()});
      loop.Wake();
    };
  }
  void TearDown() override { component.ClearTaskList(); }

  std::vector<TEndEvent> Ends() {
    std::lock_guard<std::mutex> guard(lock);
    return ends;
  }
  bool AllEnded() {
    std::lock_guard<std::mutex> guard(lock);
    return !ends.empty() && ends.back().Index == -1;
  }
  // Serves the loop until the all-ended event or the timeout.
  bool RunToAllEnded(std::chrono::milliseconds timeout = std::chrono::seconds(30)) {
    return loop.RunUntil([this] { return AllEnded(); }, timeout);
  }
  // A task from a fixture clip copied into the given output; its index.
  int AddCopyTask(const std::string& input, const std::string& output,
                  const std::string& inputOptions = {}) {
    TInputOptions in;
    in.ExtOptions = inputOptions;
    const int index = component.CreateTask(input, &in);
    EXPECT_GE(index, 0) << component.LastErrorText();
    TOutputOptions out;
    out.VideoCodec = "copy";
    out.AudioCodec = "copy";
    EXPECT_TRUE(component.SetTaskOutput(index, output, &out)) << component.LastErrorText();
    return index;
  }
  static std::string Clip() {
    return MakeClip("component-1s.mp4",
                    "-f lavfi -i testsrc=size=160x120:rate=25 -f lavfi -i sine=sample_rate=44100 "
                    "-t 1 -c:v mpeg4 -c:a aac -shortest");
  }
  std::string Output(const std::string& name) { return FixturePath("component-" + name); }

  TEventLoop loop;
  TEngineComponent component{loop};
  std::mutex lock;
  std::vector<TEndEvent> ends;
};

}  // namespace trovenix::test
