// The thread that owns the user interface, as the engine component sees it:
// calls run there and timers fire there. The window has a Qt implementation;
// the command line and the tests use TEventLoop.
#pragma once

#include <cstdint>
#include <functional>

namespace trovenix {

class IUiThread {
 public:
  virtual ~IUiThread() = default;
  // True on the user-interface thread itself.
  virtual bool IsCurrent() const = 0;
  // The user-interface thread's id, as CurrentThreadId() gives it there.
  virtual std::uint32_t ThreadId() const = 0;
  // Runs the call on the user-interface thread and waits until it returned;
  // on that thread the call runs at once.
  virtual void Invoke(const std::function<void()>& call) = 0;
  // Runs the call once on the user-interface thread after the delay.
  virtual void PostDelayed(std::function<void()> call, int delayMs) = 0;
  // Runs calls that are waiting for the user-interface thread; used there
  // while it waits for a worker that may need it.
  virtual void ProcessPending() = 0;
};

}  // namespace trovenix
