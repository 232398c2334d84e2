// Carries the engine's progress and terminate events from the threads that
// raise them to the user-interface thread, in the order they were raised.
//
// The engine raises them under its event lock, and the user-interface thread
// takes that lock too (StopTasks, StartTasks): a handler that waited there
// for the user-interface thread could deadlock. So a handler only queues its
// event and posts one call that hands every queued event over; it never waits.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "engine/UiThread.h"

namespace trovenix {

struct TBatchEvent {
  enum class TKind { Progress, Terminate } Kind = TKind::Progress;
  int Lane = 0;
  // The lane's step when the event was raised; events of an earlier step
  // belong to a task the lane has already let go.
  std::uint64_t Step = 0;
  int Index = -1;
  // Progress.
  int FrameNumber = -1;
  int FramesPerSecond = 0;
  int CurrentDurationMs = 0;
  std::int64_t CurrentSize = 0;
  int TotalDurationMs = -1;
  // Terminate.
  bool Finished = false;
  bool Exception = false;
  std::string Message;
};

class TBatchEventInbox : public std::enable_shared_from_this<TBatchEventInbox> {
 public:
  using THandler = std::function<void(const TBatchEvent&)>;
  // wake runs on the user-interface thread after events were queued; it is
  // expected to call Deliver, now or once the thread is free to.
  static std::shared_ptr<TBatchEventInbox> Create(IUiThread& ui, int lanes,
                                                  std::function<void()> wake);

  // Any thread: queues the event, stamped with its lane's current step.
  void Push(TBatchEvent event);
  // User-interface thread: hands every queued event to the handler, one at a
  // time, also those queued while it runs.
  void Deliver(const THandler& handler);
  // User-interface thread: the lane lets go of its task; events raised from
  // now on carry the returned step.
  std::uint64_t NextStep(int lane);
  // User-interface thread: nothing is queued or woken from now on.
  void Close();

 private:
  TBatchEventInbox(IUiThread& ui, int lanes, std::function<void()> wake)
      : ui_(ui), wake_(std::move(wake)), steps_(static_cast<std::size_t>(lanes), 0) {}

  IUiThread& ui_;
  std::function<void()> wake_;  // cleared by Close, on the user-interface thread
  std::mutex lock_;
  std::deque<TBatchEvent> queue_;
  std::vector<std::uint64_t> steps_;
  bool posted_ = false;  // a wake-up is on its way or the queue is being delivered
  bool closed_ = false;
};

}  // namespace trovenix
