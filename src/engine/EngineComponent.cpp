#include "engine/EngineComponent.h"

#include <chrono>
#include <stdexcept>
#include <thread>

#include "engine/LibraryLog.h"
#include "engine/TaskOptions.h"
#include "engine/ThreadIds.h"
#include "media/AVUtilStubs.h"
#include "media/FFmpegLoader.h"

namespace trovenix {
namespace {

TLogLevel EventLevel(int level) {
  if (level < 0) return TLogLevel::llQuiet;
  if (level >= 3) return TLogLevel::llAll;
  return static_cast<TLogLevel>(level + 1);
}

std::out_of_range ListIndexError(int index) {
  return std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
}

}  // namespace

TCustomEngineComponent::TCustomEngineComponent(IUiThread& ui) : ui_(ui) {
  RegisterLiveComponent(this);
}

TCustomEngineComponent::~TCustomEngineComponent() {
  UnregisterLiveComponent(this);
  // A handler still running on another thread finishes first.
  { std::lock_guard<std::recursive_mutex> wait(eventLock_); }
  ClearTaskList();
}

void TCustomEngineComponent::SetLogLevel(TLogLevel level) {
  logLevel_ = level;
  if (FFLoader().LibrarySetLoaded(EngineLibraries)) ApplyLibraryLogLevel();
}

void TCustomEngineComponent::SetLibraryLogMapping(TLibraryLogMapping mapping) {
  libraryLogMapping_ = mapping;
  if (FFLoader().LibrarySetLoaded(EngineLibraries)) ApplyLibraryLogLevel();
}

int TCustomEngineComponent::LibraryLevel() const {
  if (libraryLogMapping_ == TLibraryLogMapping::lmSeverity) {
    if (logLevel_ == TLogLevel::llDebug) return AV_LOG_WARNING;
    if (logLevel_ == TLogLevel::llAll) return AV_LOG_VERBOSE;
  }
  return EngineLevel();
}

void TCustomEngineComponent::ApplyLibraryLogLevel() const {
  ff::av_log_set_level(LibraryLevel());
  LibraryLogLevel = ff::av_log_get_level();
}

void TCustomEngineComponent::SetProgressInterval(int ms) { progressIntervalMs_ = ms <= 100 ? 100 : ms; }

void TCustomEngineComponent::SetPreview(bool on) {
  preview_ = on;
  ApplyPreviewFlags();
}

void TCustomEngineComponent::SetPreviewBitmap(bool on) {
  previewBitmap_ = on;
  ApplyPreviewFlags();
}

std::uint8_t TCustomEngineComponent::PreviewFlags() const {
  return static_cast<std::uint8_t>((preview_ ? 1 : 0) | (previewBitmap_ ? 2 : 0));
}

void TCustomEngineComponent::ApplyPreviewFlags() {
  std::lock_guard<std::mutex> guard(tasksLock_);
  for (auto& task : tasks_) task->SetPreviewFlags(PreviewFlags());
}

bool TCustomEngineComponent::LoadLibraries(const std::string& folder) {
  TFFmpegLoader& loader = FFLoader();
  loader.SetLibraryPath(folder);
  if (!loader.LoadLibrarySet(EngineLibraries)) {
    lastErrorText_ = loader.GetLastLoadError();
    return false;
  }
  ff::av_log_set_callback(LibraryLogCallback);
  ApplyLibraryLogLevel();
  return true;
}

int TCustomEngineComponent::TaskCount() const {
  std::lock_guard<std::mutex> guard(tasksLock_);
  return static_cast<int>(tasks_.size());
}

TFFmpeg* TCustomEngineComponent::TaskAt(int index) {
  std::lock_guard<std::mutex> guard(tasksLock_);
  if (index < 0 || index >= static_cast<int>(tasks_.size())) return nullptr;
  return tasks_[static_cast<std::size_t>(index)].get();
}

TFFmpeg& TCustomEngineComponent::Task(int index) {
  TFFmpeg* task = TaskAt(index);
  if (!task) throw ListIndexError(index);
  return *task;
}

int TCustomEngineComponent::CreateTask(const std::string& fileName, TInputOptions* options) {
  auto task = std::make_unique<TFFmpeg>();
  TFFmpeg* raw = task.get();
  task->LogCallback = [this, raw](int level, const std::string& text) { DoLog(raw, level, text); };
  try {
    task->PrepareTask();
    task->SetVerbose(EngineLevel(), LibraryLevel());
    task->SetPreviewFlags(PreviewFlags());
    task->PreviewBitmapCallback = [this, raw](const TBitmap& bitmap, std::int64_t pts,
                                              std::int64_t frame) {
      DoPreviewBitmap(*raw, bitmap, pts, frame);
    };
    if (options) {
      if (options->FileName.empty()) options->FileName = fileName;
      task->InputOptions = *options;
      ApplyInputOptions(*task, *options);
    } else {
      task->InputOptions = TInputOptions{};
    }
    if (!task->OpenInputFile(fileName)) {
      task->LogCallback = nullptr;
      lastErrorText_ = task->LastError;
      return -1;
    }
    task->Probe.SetFormatContext(task->InputFiles.back().get());
    task->ProgressCallback = [this, raw](const TProgressInfo& info) { DoProgress(*raw, info); };
    task->TerminateCallback = [this, raw](TCustomFFmpeg&) { DoTerminate(raw); };
    std::lock_guard<std::mutex> guard(tasksLock_);
    task->Index = static_cast<int>(tasks_.size());
    tasks_.push_back(std::move(task));
    return raw->Index;
  } catch (const std::exception& e) {
    task->LogCallback = nullptr;
    lastErrorText_ = e.what();
    return -1;
  }
}

bool TCustomEngineComponent::SetTaskOutput(int index, const std::string& fileName,
                                           TOutputOptions* options) {
  TFFmpeg& task = Task(index);
  try {
    if (options) {
      if (options->FileName.empty()) options->FileName = fileName;
      task.OutputOptions = *options;
      ApplyOutputOptions(task, *options);
      if (options->CustomHook) {
        task.CustomHookCallback = [this, &task](TBitmap& bitmap, std::int64_t frame, std::int64_t pts,
                                                bool& update, bool& stop) {
          DoCustomHook(task, bitmap, static_cast<int>(frame), pts, update, stop);
        };
      } else if (options->BeforeHook) {
        task.BeforeHookCallback = [this, &task](std::int64_t pts, THookAction& action) {
          DoBeforeHook(task, pts, action);
        };
      } else {
        task.SetHookTimeRanges(ParseHookTimeRanges(options->HookTimeRanges));
      }
    } else {
      task.OutputOptions = TOutputOptions{};
    }
    const int opened = task.OpenOutputFile(fileName);
    if (opened < 0)
      lastErrorText_ = task.LastError;
    else if (options)
      ApplyExtOptions(task, options->ExtOptions, 1);
    return opened >= 0;
  } catch (const std::exception& e) {
    lastErrorText_ = e.what();
    return false;
  }
}

void TCustomEngineComponent::FreeTask(std::unique_ptr<TFFmpeg> task) {
  if (!task) return;
  // Only a running task is asked to stop: one that never ran is simply
  // released, without an end of its own reported for a task no longer listed.
  if (task->Running) task->RequestStop();
  task->Resume();
  // The task's thread may wait for this thread (a preview picture), so this
  // thread keeps serving it until the task has ended.
  while (task->Running) {
    ui_.ProcessPending();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  task.reset();
}

void TCustomEngineComponent::DeleteTask(int index) {
  std::unique_ptr<TFFmpeg> removed;
  {
    std::lock_guard<std::mutex> guard(tasksLock_);
    if (index < 0 || index >= static_cast<int>(tasks_.size())) throw ListIndexError(index);
    removed = std::move(tasks_[static_cast<std::size_t>(index)]);
    tasks_.erase(tasks_.begin() + index);
    for (std::size_t i = static_cast<std::size_t>(index); i < tasks_.size(); ++i)
      tasks_[i]->Index = static_cast<int>(i);
  }
  FreeTask(std::move(removed));
}

void TCustomEngineComponent::ClearTaskList() {
  std::vector<std::unique_ptr<TFFmpeg>> removed;
  {
    std::lock_guard<std::mutex> guard(tasksLock_);
    removed.swap(tasks_);
  }
  for (auto& task : removed) FreeTask(std::move(task));
  lastErrorText_.clear();
  std::lock_guard<std::recursive_mutex> guard(eventLock_);
  threadCount_ = 0;
}

void TCustomEngineComponent::StartTasks(int threadCount) {
  ClearLogLines();
  {
    std::lock_guard<std::recursive_mutex> guard(eventLock_);
    nextTaskIndex_ = 0;
    terminatedCount_ = 0;
    threadCount_ = threadCount;
    tasksToStart_ = TaskCount();
  }
  const int atOnce = threadCount < 1 ? 1 : threadCount;
  for (int started = 0; started < atOnce; ++started) StartNextTask();
}

// The next task is taken under the event lock, but started outside it: a task
// that cannot start ends at once and reports that under the same lock.
void TCustomEngineComponent::StartNextTask() {
  int index;
  {
    std::lock_guard<std::recursive_mutex> guard(eventLock_);
    if (tasksToStart_ <= 0) return;
    --tasksToStart_;
    index = nextTaskIndex_++;
  }
  if (threadCount_ <= 0)
    ui_.PostDelayed([this, index] { RunTask(index); }, 100);
  else
    RunTask(index);
}

void TCustomEngineComponent::RunTask(int index) {
  TFFmpeg* task = TaskAt(index);
  if (!task) return;
  task->ReportInterval = static_cast<std::int64_t>(progressIntervalMs_) * 1000;
  task->SetVerbose(EngineLevel(), LibraryLevel());
  if (threadCount_ <= 0) {
    task->ThreadID = ui_.ThreadId();
    task->Start(false, threadPriority_);
  } else {
    task->Start(true, threadPriority_);
  }
}

void TCustomEngineComponent::StopTasks() {
  {
    std::lock_guard<std::recursive_mutex> guard(eventLock_);
    tasksToStart_ = 0;
  }
  for (int i = 0; TFFmpeg* task = TaskAt(i); ++i) task->RequestStop();
}

void TCustomEngineComponent::PauseTasks() {
  for (int i = 0; TFFmpeg* task = TaskAt(i); ++i) task->Pause();
}

void TCustomEngineComponent::ResumeTasks() {
  for (int i = 0; TFFmpeg* task = TaskAt(i); ++i) task->Resume();
}

void TCustomEngineComponent::LogLibraryLine(std::uint32_t threadId, int level, const std::string& line) {
  TFFmpeg* owner = nullptr;
  {
    std::lock_guard<std::mutex> guard(tasksLock_);
    for (auto& task : tasks_)
      if (task->ThreadID == threadId) owner = task.get();
  }
  // Under the severity mapping the library's levels become the engine's:
  // errors and warnings 0, information 1, the rest 3.
  if (libraryLogMapping_ == TLibraryLogMapping::lmSeverity)
    level = level <= AV_LOG_WARNING ? 0 : level <= AV_LOG_INFO ? 1 : 3;
  DoLog(owner, level, line);
}

void TCustomEngineComponent::DoBeforeHook(TFFmpeg& task, std::int64_t ptsUs, THookAction& action) {
  if (OnBeforeHook) OnBeforeHook(task.Index, ptsUs, action);
}

void TCustomEngineComponent::DoCustomHook(TFFmpeg& task, TBitmap& bitmap, int frameNumber,
                                          std::int64_t ptsUs, bool& update, bool& stopHook) {
  if (OnCustomHook) OnCustomHook(task.Index, bitmap, frameNumber, ptsUs, update, stopHook);
}

void TCustomEngineComponent::DoLog(TFFmpeg* task, int level, const std::string& text) {
  std::lock_guard<std::recursive_mutex> guard(eventLock_);
  if (OnLog) OnLog(task ? task->Index.load() : -1, EventLevel(level), text);
}

void TCustomEngineComponent::DoPreviewBitmap(TFFmpeg& task, const TBitmap& bitmap, std::int64_t ptsUs,
                                             std::int64_t frameNumber) {
  if (!OnPreviewBitmap) return;
  std::lock_guard<std::mutex> guard(previewStagingLock_);
  previewStaging_ = {task.Index, &bitmap, static_cast<int>(frameNumber), ptsUs};
  ui_.Invoke([this] {
    OnPreviewBitmap(previewStaging_.Index, *previewStaging_.Bitmap, previewStaging_.FrameNumber,
                    previewStaging_.PtsUs);
  });
}

void TCustomEngineComponent::DoProgress(TFFmpeg& task, const TProgressInfo& info) {
  std::lock_guard<std::recursive_mutex> guard(eventLock_);
  if (OnProgress)
    OnProgress(task.Index, info.FrameNumber, info.FramesPerSecond, info.CurrentDurationMs,
               info.Quality, info.BitRateKbps, info.CurrentSize, info.TotalDurationMs);
}

void TCustomEngineComponent::DoTerminate(TFFmpeg* task) {
  bool startNext = false;
  {
    std::lock_guard<std::recursive_mutex> guard(eventLock_);
    if (task) {
      if (OnTerminate) OnTerminate(task->Index, task->Finished, task->Failed, task->ErrorMessage);
      ++terminatedCount_;
      startNext = tasksToStart_ > 0;
      if (!startNext && terminatedCount_ < TaskCount()) return;
    }
    if (!startNext && OnTerminate) OnTerminate(-1, true, false, std::string());
  }
  // Both take locks that come before the event lock.
  if (startNext)
    StartNextTask();
  else
    ClearLogLines();
}

}  // namespace trovenix
