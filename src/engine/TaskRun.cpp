// The life of a task: preparation, start, the run on its thread, pause,
// stop and the end notification.
#include "engine/FFmpeg.h"
#include "engine/ThreadIds.h"
#include "media/FFmpegLoader.h"

namespace trovenix {

void TCustomFFmpeg::PrepareTask() {
  if (!FFLoader().LibrarySetLoaded(EngineLibraries)) return;
  TidyUp();
  ResetOptions();
  Running = false;
  StopRequested = false;
  Finished = false;
  Terminated = false;
  Failed = false;
  ErrorMessage.clear();
  TotalDurationMs = -1;
  // Figures of a previous run must not add to the next one's.
  TimerStart = 0;
  VideoSize = AudioSize = ExtraSize = 0;
  FramesDuplicated = FramesDropped = 0;
}

bool TCustomFFmpeg::Start(bool threaded, TConvertPriority priority) {
  if (Running || Terminated) return false;
  const char* missing = OutputFiles.empty() ? NoOutputFileText
                        : InputFiles.empty() ? "At least one input file must be specified"
                                             : nullptr;
  if (missing) {
    if (OutputFiles.empty()) TidyUp();
    Log(missing, -1);
    Failed = true;
    ErrorMessage = missing;
    NotifyEnd();
    return false;
  }
  Running = true;
  StopRequested = false;
  Finished = false;
  Terminated = false;
  ownThread_ = threaded;
  if (!threaded) {
    Execute();
    return false;
  }
  worker_ = std::thread([this, priority] {
    ThreadID = CurrentThreadId();
    ApplyThreadPriority(priority);
    Execute();
  });
  return true;
}

void TCustomFFmpeg::Execute() {
  Finished = false;
  try {
    Transcode();
    CommitOutputs();
  } catch (const std::exception& e) {
    Log(e.what(), -1);
    Failed = true;
    ErrorMessage = e.what();
  }
  TidyUp();
  NotifyEnd();
}

void TCustomFFmpeg::NotifyEnd() {
  Running = false;
  Terminated = true;
  if (TerminateCallback) TerminateCallback(*this);
}

void TCustomFFmpeg::WaitFor() {
  if (worker_.joinable() && worker_.get_id() != std::this_thread::get_id()) worker_.join();
}

void TCustomFFmpeg::RequestStop() {
  if (Running) {
    StopRequested = true;
    // A paused task must wake up to see the request.
    std::lock_guard<std::mutex> guard(pauseLock_);
    pauseChanged_.notify_all();
  } else if (!Terminated && !worker_.joinable()) {
    // A task that never ran still tells its end, from a thread of its own as
    // a running task would.
    worker_ = std::thread([this] {
      ApplyThreadPriority(TConvertPriority::tpIdle);
      NotifyEnd();
    });
  }
}

// Only a task on a thread of its own pauses: one running on the caller's
// thread would hold that thread with nobody left to resume it.
void TCustomFFmpeg::Pause() {
  std::lock_guard<std::mutex> guard(pauseLock_);
  if (Running && ownThread_) paused_ = true;
}

void TCustomFFmpeg::Resume() {
  std::lock_guard<std::mutex> guard(pauseLock_);
  paused_ = false;
  pauseChanged_.notify_all();
}

bool TCustomFFmpeg::Paused() const {
  std::lock_guard<std::mutex> guard(pauseLock_);
  return paused_;
}

void TCustomFFmpeg::WaitWhilePaused() {
  std::unique_lock<std::mutex> lock(pauseLock_);
  pauseChanged_.wait(lock, [this] { return !paused_ || StopRequested; });
}

}  // namespace trovenix
