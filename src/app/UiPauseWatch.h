// Measures how long the user-interface loop goes without serving its timers:
// a short repeating timer notes the largest gap between two of its ticks.
// Used by the benchmarks of the window.
#pragma once

#include <QElapsedTimer>
#include <QTimer>

namespace trovenix {

class TUiPauseWatch {
 public:
  explicit TUiPauseWatch(int periodMs = 5);
  void Start();
  // The longest gap between two ticks since Start, in milliseconds, less the
  // timer's own period.
  qint64 LongestPauseMs() const;

 private:
  void Tick();

  const int periodMs_;
  QTimer timer_;
  QElapsedTimer clock_;
  qint64 lastMs_ = 0;
  qint64 longestMs_ = 0;
};

}  // namespace trovenix
