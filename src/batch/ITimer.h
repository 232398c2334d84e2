// The batch's idle timer: while enabled, its owner calls the driver's
// IdleTimerTick every 100 ms on the user-interface thread.
#pragma once

namespace trovenix {

class ITimer {
 public:
  virtual ~ITimer() = default;
  virtual void SetEnabled(bool enabled) = 0;
  virtual bool Enabled() const = 0;
};

}  // namespace trovenix
