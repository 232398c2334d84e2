// The run-time state the main window keeps while it runs. Nothing of it
// survives a restart. Converting is shared with the conversion thread, which
// clears it when a task ends, so it is an atomic flag; the rest belongs to the
// user-interface thread.
#pragma once

#include <atomic>

namespace trovenix {

struct TRunState {
  std::atomic<bool> Converting{false};  // a batch step is prepared or a task runs
  bool UserAborted = false;             // the user confirmed stopping the batch
  int CurrentRow = -1;                  // list row handed to the engine last
  bool LastRowReached = false;
  bool BatchFinished = false;  // the next idle tick ends the batch
  int IdleTicks = 0;
  bool AddingFiles = false;
};

}  // namespace trovenix
