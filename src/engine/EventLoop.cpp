#include "engine/EventLoop.h"

#include <algorithm>
#include <future>

#include "engine/ThreadIds.h"

namespace trovenix {

TEventLoop::TEventLoop() : owner_(std::this_thread::get_id()), threadId_(CurrentThreadId()) {}

bool TEventLoop::IsCurrent() const { return std::this_thread::get_id() == owner_; }

void TEventLoop::Invoke(const std::function<void()>& call) {
  if (IsCurrent()) {
    call();
    return;
  }
  std::packaged_task<void()> task(call);
  std::future<void> done = task.get_future();
  {
    std::lock_guard<std::mutex> guard(lock_);
    calls_.emplace_back([&task] { task(); });
  }
  changed_.notify_all();
  done.get();  // rethrows what the call threw
}

void TEventLoop::PostDelayed(std::function<void()> call, int delayMs) {
  {
    std::lock_guard<std::mutex> guard(lock_);
    // Kept in the order they fall due; equal times keep the order of posting.
    const auto due = TClock::now() + std::chrono::milliseconds(delayMs);
    const auto later = std::upper_bound(timers_.begin(), timers_.end(), due,
                                        [](TClock::time_point at, const TTimer& t) { return at < t.Due; });
    timers_.insert(later, {due, std::move(call)});
  }
  changed_.notify_all();
}

std::vector<std::function<void()>> TEventLoop::TakeDue() {
  std::vector<std::function<void()>> due;
  while (!calls_.empty()) {
    due.push_back(std::move(calls_.front()));
    calls_.pop_front();
  }
  const auto now = TClock::now();
  auto firstLater = timers_.begin();
  while (firstLater != timers_.end() && firstLater->Due <= now) ++firstLater;
  for (auto it = timers_.begin(); it != firstLater; ++it) due.push_back(std::move(it->Call));
  timers_.erase(timers_.begin(), firstLater);
  return due;
}

void TEventLoop::ProcessPending() {
  std::vector<std::function<void()>> due;
  {
    std::lock_guard<std::mutex> guard(lock_);
    due = TakeDue();
  }
  for (auto& call : due) call();
}

bool TEventLoop::RunUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto end = TClock::now() + timeout;
  while (!done()) {
    const auto now = TClock::now();
    if (now >= end) return done();
    {
      std::unique_lock<std::mutex> guard(lock_);
      auto wake = std::min(end, now + std::chrono::milliseconds(20));
      if (!timers_.empty()) wake = std::min(wake, timers_.front().Due);
      if (calls_.empty()) changed_.wait_until(guard, wake);
    }
    ProcessPending();
  }
  return true;
}

void TEventLoop::Wake() { changed_.notify_all(); }

}  // namespace trovenix
