// Running the engine component's tasks from the command line: Ctrl-C stops
// them (their outputs still get a trailer), and a progress line is kept on
// the terminal.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "engine/EngineComponent.h"
#include "engine/EventLoop.h"

namespace trovenix::cli {

// Starts the component's tasks, threadCount at a time, and serves the loop
// until done() answers true (done runs on this thread, at least every 20 ms
// and whenever the loop is woken). Ctrl-C meanwhile asks every task to stop.
// Returns true when interrupted.
bool RunTasksUntil(TEngineComponent& component, TEventLoop& loop, int threadCount,
                   const std::function<bool()>& done);

// The same for any start: start() runs first, then the loop is served until
// done() answers true; the first Ctrl-C calls interrupt() once. Returns true
// when interrupted.
bool ServeUntil(TEventLoop& loop, const std::function<void()>& start,
                const std::function<void()>& interrupt, const std::function<bool()>& done);

// Milliseconds since RunTasksUntil or ServeUntil started.
long long ElapsedMs();

// One line rewritten in place on a terminal; nothing elsewhere.
class TProgressDisplay {
 public:
  TProgressDisplay();
  void Show(const std::string& line);
  // Blanks the line so that ordinary output can follow.
  void Clear();

 private:
  bool terminal_;
  std::size_t shown_ = 0;
};

}  // namespace trovenix::cli
