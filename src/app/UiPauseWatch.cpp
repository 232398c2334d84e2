#include "app/UiPauseWatch.h"

#include <algorithm>

namespace trovenix {

TUiPauseWatch::TUiPauseWatch(int periodMs) : periodMs_(periodMs) {
  timer_.setTimerType(Qt::PreciseTimer);
  timer_.setInterval(periodMs_);
  QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
}

void TUiPauseWatch::Start() {
  clock_.start();
  lastMs_ = 0;
  longestMs_ = 0;
  timer_.start();
}

void TUiPauseWatch::Tick() {
  const qint64 now = clock_.elapsed();
  longestMs_ = std::max(longestMs_, now - lastMs_);
  lastMs_ = now;
}

qint64 TUiPauseWatch::LongestPauseMs() const {
  // The pause that is still going on counts too.
  const qint64 current = clock_.isValid() ? clock_.elapsed() - lastMs_ : 0;
  return std::max<qint64>(0, std::max(longestMs_, current) - periodMs_);
}

}  // namespace trovenix
