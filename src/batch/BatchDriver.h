// The batch conversion driver: turns the checked rows of the source list into
// conversions, one row at a time per lane, in list order. The window runs it
// with one lane; the command line runs one lane per job, the lanes taking the
// rows from one shared cursor, so that each row is converted once.
//
// Everything here runs on the user-interface thread (the IUiThread the
// components were made with). The engine's progress and terminate events are
// raised on task threads; they reach the handlers below on the
// user-interface thread, in the order they were raised.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "batch/BatchEventInbox.h"
#include "batch/IBatchList.h"
#include "batch/IBatchView.h"
#include "batch/IMessageBoxes.h"
#include "batch/ITimer.h"
#include "engine/EngineComponent.h"
#include "engine/UiThread.h"

namespace trovenix {

class TBatchDriver {
 public:
  // One lane per component (at least one). The driver sets their OnProgress
  // and OnTerminate; the components must have been made with ui. The timer's
  // owner calls IdleTimerTick while it is enabled.
  TBatchDriver(const std::vector<TEngineComponent*>& lanes, IUiThread& ui, IBatchList& list,
               IBatchView& view, IMessageBoxes& messages, ITimer& timer);
  ~TBatchDriver();
  TBatchDriver(const TBatchDriver&) = delete;
  TBatchDriver& operator=(const TBatchDriver&) = delete;

  // The Convert button.
  void ConvertClick();
  // The Stop button.
  void StopClick();
  // One tick of the 100 ms idle timer.
  void IdleTimerTick();
  // One batch step of a lane: the next checked row is handed to the engine.
  void PrepareNextRow(int lane = 0);

  // --- run-time state ---
  // Some lane prepares a row or runs a task.
  bool Converting() const;
  bool UserAborted() const { return userAborted_; }
  int CurrentRow(int lane = 0) const {
    return lanes_.at(static_cast<std::size_t>(lane)).CurrentRow;
  }
  bool LastRowReached(int lane = 0) const {
    return lanes_.at(static_cast<std::size_t>(lane)).LastRowReached;
  }
  bool BatchFinished(int lane = 0) const {
    return lanes_.at(static_cast<std::size_t>(lane)).BatchFinished;
  }
  int IdleTicks(int lane = 0) const { return lanes_.at(static_cast<std::size_t>(lane)).IdleTicks; }
  // From the Convert click until "All Conversions Completed" or Stop.
  bool BatchRunning() const { return batchRunning_; }
  // A task some lane started has not yet reported that all its tasks ended.
  bool AwaitingEnds() const;

  // The texts of the Convert click's checks.
  static std::string MissingFolderText(const std::string& folderText);

 private:
  struct TLane {
    TEngineComponent* Component = nullptr;
    std::uint64_t Step = 0;  // as the inbox stamps the lane's events
    int CurrentRow = -1;
    bool Converting = false;
    bool LastRowReached = false;
    bool BatchFinished = false;
    int IdleTicks = 0;
    bool AwaitingEnd = false;  // started a task whose all-ended event is still to come
    std::string Output;        // output file of the lane's row
    std::string PrepareError;  // why the row's preparation broke off, if it did
  };

  // Runs an entry point; one reached again while another runs (the engine
  // serves pending calls while it waits for a task) waits for it to return.
  void Guarded(const std::function<void()>& action);
  void DoConvertClick();
  void DoStopClick();
  void DoIdleTimerTick();
  void DoPrepareNextRow(TLane& lane);
  void DeliverEvents();
  void HandleEvent(const TBatchEvent& event);
  void HandleProgress(TLane& lane, const TBatchEvent& event);
  void HandleTerminate(TLane& lane, const TBatchEvent& event);
  // The row a lane takes next: the first checked one from the shared cursor
  // on, or the last row; -1 when the cursor is past the end.
  int TakeRow();
  bool AllLanesFinished() const;
  void EndBatch();
  void SetRowCell(int row, const std::string& progress);
  void FailRow(int row, const std::string& reason);

  IUiThread& ui_;
  IBatchList& list_;
  IBatchView& view_;
  IMessageBoxes& messages_;
  ITimer& timer_;
  std::vector<TLane> lanes_;
  std::shared_ptr<TBatchEventInbox> inbox_;
  bool userAborted_ = false;
  bool batchRunning_ = false;
  int nextRow_ = 0;  // the shared cursor
  bool busy_ = false;
  std::deque<std::function<void()>> deferred_;
};

}  // namespace trovenix
