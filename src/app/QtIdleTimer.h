// The batch's idle timer on a QTimer of the window: the timer's timeout is
// connected to the driver's IdleTimerTick by the window.
#pragma once

#include <QTimer>

#include "batch/ITimer.h"

namespace trovenix {

class TQtIdleTimer final : public ITimer {
 public:
  explicit TQtIdleTimer(QTimer& timer) : timer_(timer) {}
  void SetEnabled(bool enabled) override {
    if (enabled)
      timer_.start();
    else
      timer_.stop();
  }
  bool Enabled() const override { return timer_.isActive(); }

 private:
  QTimer& timer_;
};

}  // namespace trovenix
