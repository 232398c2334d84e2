#include "batch/LoopTimer.h"

#include <utility>

namespace trovenix {

TLoopTimer::TLoopTimer(IUiThread& ui, int intervalMs, std::function<void()> tick)
    : ui_(ui), state_(std::make_shared<TState>()) {
  state_->Tick = std::move(tick);
  state_->IntervalMs = intervalMs;
}

TLoopTimer::~TLoopTimer() {
  SetEnabled(false);
}

void TLoopTimer::SetEnabled(bool enabled) {
  if (enabled == state_->Enabled) return;
  state_->Enabled = enabled;
  // Disabling voids the call already posted; enabling posts a fresh one, so a
  // timer switched off and on again still ticks only once per interval.
  ++state_->Generation;
  if (enabled) Schedule();
}

void TLoopTimer::SetInterval(int intervalMs) {
  if (intervalMs == state_->IntervalMs) return;
  state_->IntervalMs = intervalMs;
  if (!state_->Enabled) return;
  ++state_->Generation;
  Schedule();
}

void TLoopTimer::Schedule() {
  std::weak_ptr<TState> weak = state_;
  const unsigned generation = state_->Generation;
  IUiThread* ui = &ui_;
  // The posted call reschedules itself before ticking, so the tick may
  // disable (or destroy) the timer.
  struct TRepeat {
    std::weak_ptr<TState> Weak;
    unsigned Generation;
    IUiThread* Ui;
    void operator()() const {
      const auto state = Weak.lock();
      if (!state || !state->Enabled || state->Generation != Generation) return;
      Ui->PostDelayed(*this, state->IntervalMs);
      const auto tick = state->Tick;
      tick();
    }
  };
  ui_.PostDelayed(TRepeat{weak, generation, ui}, state_->IntervalMs);
}

}  // namespace trovenix
