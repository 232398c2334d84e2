// The user-interface thread of the window as the engine sees it. Calls from
// other threads are queued to the Qt event loop and the caller waits until
// the call returned; on the user-interface thread a call runs at once.
// Delayed calls run on single-shot timers of the event loop.
#pragma once

#include <QObject>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include "engine/UiThread.h"

namespace trovenix {

class TQtUiThread final : public IUiThread {
 public:
  // Constructed on the user-interface thread, after the application object.
  TQtUiThread();
  ~TQtUiThread() override;
  TQtUiThread(const TQtUiThread&) = delete;
  TQtUiThread& operator=(const TQtUiThread&) = delete;

  bool IsCurrent() const override;
  std::uint32_t ThreadId() const override { return threadId_; }
  void Invoke(const std::function<void()>& call) override;
  void PostDelayed(std::function<void()> call, int delayMs) override;
  void ProcessPending() override;

 private:
  struct TPendingCall;
  void RunQueued();

  const std::thread::id owner_;
  const std::uint32_t threadId_;
  // Lives on the user-interface thread; queued calls and timers target it.
  QObject context_;
  std::mutex lock_;
  std::deque<TPendingCall*> queue_;
};

}  // namespace trovenix
