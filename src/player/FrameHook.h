// Picture-filter libraries ("frame hooks") named by the engine's "vhook"
// option. A hook library is a shared object exporting
//   int  Configure(void** context, int argc, char* argv[]);   // optional
//   void Process(void* context, TPicture* picture, int pixelFormat,
//                int width, int height, std::int64_t ptsUs);
//   void Release(void* context);                               // optional
// Libraries are loaded once per process and stay loaded; each Add makes a new
// hook entry with its own context.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "media/FrameConverter.h"

namespace trovenix {

class TFrameHookList {
 public:
  TFrameHookList() = default;
  ~TFrameHookList();
  TFrameHookList(TFrameHookList&& other) noexcept;
  TFrameHookList& operator=(TFrameHookList&& other) noexcept;
  TFrameHookList(const TFrameHookList&) = delete;
  TFrameHookList& operator=(const TFrameHookList&) = delete;

  // Loads the library args[0] (once per process) and appends a hook configured
  // with all of args. Returns 0, or -1 (library not loadable), -2 (no
  // arguments, or a missing entry point), -12 (no memory), -22 (Configure
  // failed); failures are logged through the media library's log.
  int Add(const std::vector<std::string>& args);
  // Runs every hook in order on the picture.
  void Process(TPicture& picture, int pixelFormat, int width, int height, std::int64_t ptsUs);
  // Releases every hook's context; the list becomes empty.
  void Release();
  std::size_t Count() const { return hooks_.size(); }
  bool Empty() const { return hooks_.empty(); }

  struct THook {
    using ConfigureProc = int (*)(void** context, int argc, char* argv[]);
    using ProcessProc = void (*)(void* context, TPicture* picture, int pixelFormat, int width,
                                 int height, std::int64_t ptsUs);
    using ReleaseProc = void (*)(void* context);
    ConfigureProc Configure = nullptr;
    ProcessProc Process = nullptr;
    ReleaseProc Release = nullptr;
    void* Context = nullptr;
  };

 private:
  std::vector<THook> hooks_;
};

}  // namespace trovenix
