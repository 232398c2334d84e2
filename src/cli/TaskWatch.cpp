#include "cli/TaskWatch.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <iostream>

namespace trovenix::cli {
namespace {

std::atomic<bool> Interrupted{false};
std::chrono::steady_clock::time_point Started;

void OnInterrupt(int) {
  Interrupted = true;
}

}  // namespace

bool ServeUntil(TEventLoop& loop, const std::function<void()>& start,
                const std::function<void()>& interrupt, const std::function<bool()>& done) {
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  struct sigaction previous {};
  sigaction(SIGINT, &action, &previous);
  Started = std::chrono::steady_clock::now();
  bool stopping = false;
  start();
  loop.RunUntil(
      [&] {
        if (Interrupted && !stopping) {
          stopping = true;
          interrupt();
        }
        return done();
      },
      std::chrono::hours(24 * 365));
  sigaction(SIGINT, &previous, nullptr);
  return Interrupted;
}

bool RunTasksUntil(TEngineComponent& component, TEventLoop& loop, int threadCount,
                   const std::function<bool()>& done) {
  return ServeUntil(
      loop, [&] { component.StartTasks(threadCount); }, [&] { component.StopTasks(); }, done);
}

long long ElapsedMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                               Started)
      .count();
}

TProgressDisplay::TProgressDisplay() : terminal_(isatty(STDOUT_FILENO) != 0) {}

void TProgressDisplay::Show(const std::string& line) {
  if (!terminal_) return;
  std::cout << "\r" << line << std::string(shown_ > line.size() ? shown_ - line.size() : 0, ' ')
            << std::flush;
  shown_ = line.size();
}

void TProgressDisplay::Clear() {
  if (shown_ > 0) std::cout << "\r" << std::string(shown_, ' ') << "\r" << std::flush;
  shown_ = 0;
}

}  // namespace trovenix::cli
