// A small user-interface thread of our own for the command line and tests:
// whoever constructs it owns it and must run it to get calls and timers served.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "engine/UiThread.h"

namespace trovenix {

class TEventLoop final : public IUiThread {
 public:
  TEventLoop();
  bool IsCurrent() const override;
  std::uint32_t ThreadId() const override { return threadId_; }
  void Invoke(const std::function<void()>& call) override;
  void PostDelayed(std::function<void()> call, int delayMs) override;
  void ProcessPending() override;

  // Serves calls and timers until done() is true or the timeout passed;
  // done() is checked after every call and at least every 20 ms. Returns
  // done()'s last answer.
  bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);
  // Makes a waiting RunUntil check its condition now.
  void Wake();

 private:
  using TClock = std::chrono::steady_clock;
  struct TTimer {
    TClock::time_point Due;
    std::function<void()> Call;
  };
  // Takes the calls that are due; the caller runs them outside the lock.
  std::vector<std::function<void()>> TakeDue();

  const std::thread::id owner_;
  const std::uint32_t threadId_;
  std::mutex lock_;
  std::condition_variable changed_;
  std::deque<std::function<void()>> calls_;
  std::vector<TTimer> timers_;  // in the order they fall due
};

}  // namespace trovenix
