// The engine component: the one door through which the window and the
// command line use the engine. It owns a list of conversion tasks, one per
// source file, runs them on threads of their own (or on the user-interface
// thread) and reports what happens through events carrying the task's index.
//
// Operations are called on the user-interface thread. OnProgress, OnTerminate
// and OnLog run on the thread that raised them, one at a time under the
// event lock; OnPreviewBitmap always runs on the user-interface thread;
// OnBeforeHook and OnCustomHook run on the task's thread without a lock.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "engine/EngineOptions.h"
#include "engine/FFmpegTask.h"
#include "engine/UiThread.h"
#include "media/AVProbe.h"

namespace trovenix {

class TBitmap;

using TBeforeHookEvent = std::function<void(int index, std::int64_t ptsUs, THookAction& action)>;
using TCustomHookEvent = std::function<void(int index, TBitmap& bitmap, int frameNumber,
                                            std::int64_t ptsUs, bool& update, bool& stopHook)>;
using TLogEvent = std::function<void(int index, TLogLevel level, const std::string& message)>;
using TPreviewBitmapEvent =
    std::function<void(int index, const TBitmap& bitmap, int frameNumber, std::int64_t ptsUs)>;
using TProgressEvent =
    std::function<void(int index, int frameNumber, int fps, int currentDurationMs, float quality,
                       float bitRateKbps, std::int64_t currentSize, int totalDurationMs)>;
using TTerminateEvent =
    std::function<void(int index, bool finished, bool exception, const std::string& message)>;

class TCustomEngineComponent {
 public:
  explicit TCustomEngineComponent(IUiThread& ui);
  virtual ~TCustomEngineComponent();
  TCustomEngineComponent(const TCustomEngineComponent&) = delete;
  TCustomEngineComponent& operator=(const TCustomEngineComponent&) = delete;

  // --- properties ---
  TLogLevel LogLevel() const { return logLevel_; }
  void SetLogLevel(TLogLevel level);
  TLibraryLogMapping LibraryLogMapping() const { return libraryLogMapping_; }
  void SetLibraryLogMapping(TLibraryLogMapping mapping);
  int ProgressInterval() const { return progressIntervalMs_; }
  // Values of 100 ms or less are kept as 100.
  void SetProgressInterval(int ms);
  TConvertPriority ThreadPriority() const { return threadPriority_; }
  void SetThreadPriority(TConvertPriority priority) { threadPriority_ = priority; }
  bool Preview() const { return preview_; }
  void SetPreview(bool on);
  bool PreviewBitmap() const { return previewBitmap_; }
  void SetPreviewBitmap(bool on);
  std::string About;
  static std::string Version() { return "1.0"; }

  // --- events ---
  TBeforeHookEvent OnBeforeHook;
  TCustomHookEvent OnCustomHook;
  TLogEvent OnLog;
  TPreviewBitmapEvent OnPreviewBitmap;
  TProgressEvent OnProgress;
  TTerminateEvent OnTerminate;

  // --- operations ---
  bool LoadLibraries(const std::string& folder);
  // The new task's index, or -1 with LastErrorText. A record's empty FileName
  // is set to the file.
  int CreateTask(const std::string& fileName, TInputOptions* options = nullptr);
  // False with LastErrorText; the task stays in the list. Throws
  // std::out_of_range for an index that is not in the list.
  bool SetTaskOutput(int index, const std::string& fileName, TOutputOptions* options = nullptr);
  void DeleteTask(int index);
  void ClearTaskList();
  void StartTasks(int threadCount);
  void StopTasks();
  void PauseTasks();
  void ResumeTasks();
  const std::string& LastErrorText() const { return lastErrorText_; }
  TAVProbe& Probe() { return probe_; }
  int TaskCount() const;
  TFFmpeg& Task(int index);

  // A complete line of the media library's log, from the thread with the
  // given id; reaches OnLog with the task that thread runs, if any.
  void LogLibraryLine(std::uint32_t threadId, int level, const std::string& line);

 protected:
  virtual void DoBeforeHook(TFFmpeg& task, std::int64_t ptsUs, THookAction& action);
  virtual void DoCustomHook(TFFmpeg& task, TBitmap& bitmap, int frameNumber, std::int64_t ptsUs,
                            bool& update, bool& stopHook);
  virtual void DoLog(TFFmpeg* task, int level, const std::string& text);
  virtual void DoPreviewBitmap(TFFmpeg& task, const TBitmap& bitmap, std::int64_t ptsUs,
                               std::int64_t frameNumber);
  virtual void DoProgress(TFFmpeg& task, const TProgressInfo& info);
  // The end of a task; without one, the end of them all.
  virtual void DoTerminate(TFFmpeg* task);

 private:
  void StartNextTask();
  void RunTask(int index);
  TFFmpeg* TaskAt(int index);
  int EngineLevel() const { return static_cast<int>(logLevel_.load()) - 1; }
  // The media library's level under the chosen mapping.
  int LibraryLevel() const;
  // The library's log level and the cached copy the log callback compares with.
  void ApplyLibraryLogLevel() const;
  // Bit 0 preview window, bit 1 preview bitmap events, as tasks take them.
  std::uint8_t PreviewFlags() const;
  void ApplyPreviewFlags();
  void FreeTask(std::unique_ptr<TFFmpeg> task);

  IUiThread& ui_;
  // Read by task threads when they start the next task.
  std::atomic<TLogLevel> logLevel_{TLogLevel::llInfo};
  // Read by the library's log callback on any thread.
  std::atomic<TLibraryLogMapping> libraryLogMapping_{TLibraryLogMapping::lmVerbosity};
  std::atomic<int> progressIntervalMs_{500};
  std::atomic<TConvertPriority> threadPriority_{TConvertPriority::tpNormal};
  bool preview_ = false;
  bool previewBitmap_ = false;
  std::string lastErrorText_;
  TAVProbe probe_;

  // The list itself is changed on the user-interface thread only; the lock
  // covers readers on task threads (log lines, starting the next task).
  mutable std::mutex tasksLock_;
  std::vector<std::unique_ptr<TFFmpeg>> tasks_;
  // Bookkeeping of a batch, under eventLock_.
  std::recursive_mutex eventLock_;
  std::atomic<int> threadCount_{0};
  int nextTaskIndex_ = -1;
  int tasksToStart_ = 0;
  int terminatedCount_ = 0;
  // Arguments of the pending OnPreviewBitmap.
  struct {
    int Index = -1;
    const TBitmap* Bitmap = nullptr;
    int FrameNumber = 0;
    std::int64_t PtsUs = 0;
  } previewStaging_;
  std::mutex previewStagingLock_;
};

class TEngineComponent : public TCustomEngineComponent {
 public:
  using TCustomEngineComponent::TCustomEngineComponent;
};

}  // namespace trovenix
