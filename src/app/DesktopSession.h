// What the desktop is told about a batch: sleep and idle suspend are held
// off while it runs, its progress shows on the task-bar or dock entry, and
// its end is announced by a notification when the window is not in front.
#pragma once

namespace trovenix {

// The outcomes of a batch's rows.
struct TBatchCounts {
  int Done = 0;
  int Fail = 0;
  int Abort = 0;
};

class IDesktopSession {
 public:
  virtual ~IDesktopSession() = default;
  // A batch starts: sleep is held off until it ends or stops.
  virtual void BatchStarted() = 0;
  // From 0 to 1.
  virtual void BatchProgress(double fraction) = 0;
  // The batch ended; notify: the window is not the active one, so the
  // desktop shows a notification with the counts.
  virtual void BatchEnded(const TBatchCounts& counts, bool notify) = 0;
  // The batch was stopped.
  virtual void BatchStopped() = 0;
};

}  // namespace trovenix
