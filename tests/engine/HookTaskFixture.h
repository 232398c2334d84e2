// A task whose picture steps the tests can call one by one, conversions of
// short clips with it, and the pictures of their outputs read back.
#pragma once

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "engine/FFmpeg.h"
#include "support/Fixtures.h"
#include "TaskFixture.h"

namespace trovenix::test {

class THookTask : public TCustomFFmpeg {
 public:
  using TCustomFFmpeg::DeliverPreview;
  using TCustomFFmpeg::PreprocessVideoFrame;
};

using TOptionList = std::vector<std::pair<std::string, std::string>>;

// The counters of the counting hook library (tests/engine/hooks), shared by
// every task of the process that loads it.
struct TCountingHook {
  int* Calls = nullptr;
  std::int64_t* Times = nullptr;
  static TCountingHook& Get() {
    static TCountingHook hook = [] {
      TCountingHook h;
      void* library = ::dlopen(ENGINE_COUNTING_HOOK, RTLD_NOW);  // stays loaded, as the task's does
      if (library) {
        h.Calls = static_cast<int*>(::dlsym(library, "CountingHookCalls"));
        h.Times = static_cast<std::int64_t*>(::dlsym(library, "CountingHookTimes"));
      }
      return h;
    }();
    return hook;
  }
  std::vector<std::int64_t> TimesSeen() const {
    return std::vector<std::int64_t>(Times, Times + *Calls);
  }
};

class HookTaskTest : public BasicTaskTest<THookTask> {
 protected:
  void SetUp() override {
    BasicTaskTest::SetUp();
    ASSERT_NE(TCountingHook::Get().Calls, nullptr) << ::dlerror();
    *TCountingHook::Get().Calls = 0;
  }

  // Converts input into a file of this test's output folder; configure runs
  // once the output is open, just before the start.
  std::string Convert(const std::string& input, const std::string& name, const TOptionList& options,
                      const std::function<void()>& configure = {}) {
    return StartInto("hook-out", input, name, options, configure);
  }
};

// The pictures of a file's first video stream as raw bytes of the given
// pixel format ("gray", "rgb24"), decoded by the ffmpeg program.
inline std::vector<std::string> OutputPictures(const std::string& file, const char* pixelFormat,
                                               std::size_t pictureBytes) {
  const CommandResult decoded =
      RunCommand("ffmpeg -nostdin -v error -i " + ShellQuote(file) +
                 " -map 0:v:0 -fps_mode passthrough -f rawvideo -pix_fmt " + pixelFormat + " -");
  std::vector<std::string> pictures;
  for (std::size_t at = 0; at + pictureBytes <= decoded.Output.size(); at += pictureBytes)
    pictures.push_back(decoded.Output.substr(at, pictureBytes));
  return pictures;
}

}  // namespace trovenix::test
