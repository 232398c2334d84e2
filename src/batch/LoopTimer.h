// A repeating timer on an IUiThread, for users of the batch driver without a
// window (the command line). The tick runs on that thread.
#pragma once

#include <functional>
#include <memory>

#include "batch/ITimer.h"
#include "engine/UiThread.h"

namespace trovenix {

class TLoopTimer final : public ITimer {
 public:
  TLoopTimer(IUiThread& ui, int intervalMs, std::function<void()> tick);
  ~TLoopTimer() override;
  TLoopTimer(const TLoopTimer&) = delete;
  TLoopTimer& operator=(const TLoopTimer&) = delete;

  void SetEnabled(bool enabled) override;
  bool Enabled() const override { return state_->Enabled; }
  // A running timer ticks next after the new interval.
  void SetInterval(int intervalMs);

 private:
  // Shared with the posted calls, which may outlive the timer.
  struct TState {
    bool Enabled = false;
    unsigned Generation = 0;  // a posted call of an older generation is void
    int IntervalMs = 0;
    std::function<void()> Tick;
  };
  void Schedule();

  IUiThread& ui_;
  std::shared_ptr<TState> state_;
};

}  // namespace trovenix
