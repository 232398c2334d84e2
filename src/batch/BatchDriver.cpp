#include "batch/BatchDriver.h"

#include <filesystem>
#include <set>
#include <stdexcept>
#include <system_error>

#include "engine/OptionValues.h"
#include "profiles/BatchRules.h"
#include "profiles/ProfileState.h"
#include "profiles/RowOptions.h"

namespace trovenix {
namespace {

constexpr const char* AllCompletedText = "All Conversions Completed";

}  // namespace

TBatchDriver::TBatchDriver(const std::vector<TEngineComponent*>& lanes, IUiThread& ui,
                           IBatchList& list, IBatchView& view, IMessageBoxes& messages,
                           ITimer& timer)
    : ui_(ui), list_(list), view_(view), messages_(messages), timer_(timer) {
  if (lanes.empty()) throw std::invalid_argument("the batch driver needs an engine component");
  inbox_ =
      TBatchEventInbox::Create(ui_, static_cast<int>(lanes.size()), [this] { DeliverEvents(); });
  for (std::size_t i = 0; i < lanes.size(); ++i) {
    TLane lane;
    lane.Component = lanes[i];
    lanes_.push_back(lane);
    // The handlers hold the inbox, not the driver: a task that ends after the
    // driver is gone queues into a closed inbox.
    const int laneIndex = static_cast<int>(i);
    const std::shared_ptr<TBatchEventInbox> inbox = inbox_;
    lanes[i]->OnProgress = [inbox, laneIndex](int index, int frame, int fps, int currentMs, float,
                                              float, std::int64_t size, int totalMs) {
      TBatchEvent event;
      event.Kind = TBatchEvent::TKind::Progress;
      event.Lane = laneIndex;
      event.Index = index;
      event.FrameNumber = frame;
      event.FramesPerSecond = fps;
      event.CurrentDurationMs = currentMs;
      event.CurrentSize = size;
      event.TotalDurationMs = totalMs;
      inbox->Push(std::move(event));
    };
    lanes[i]->OnTerminate = [inbox, laneIndex](int index, bool finished, bool exception,
                                               const std::string& message) {
      TBatchEvent event;
      event.Kind = TBatchEvent::TKind::Terminate;
      event.Lane = laneIndex;
      event.Index = index;
      event.Finished = finished;
      event.Exception = exception;
      event.Message = message;
      inbox->Push(std::move(event));
    };
  }
}

TBatchDriver::~TBatchDriver() {
  inbox_->Close();
  if (batchRunning_) timer_.SetEnabled(false);
}

std::string TBatchDriver::MissingFolderText(const std::string& folderText) {
  return "The output folder \"" + folderText +
         "\"\n\rdoes not exist or has been deleted!\n\rPlease choose a new output folder.";
}

bool TBatchDriver::Converting() const {
  for (const TLane& lane : lanes_)
    if (lane.Converting) return true;
  return false;
}

bool TBatchDriver::AwaitingEnds() const {
  for (const TLane& lane : lanes_)
    if (lane.AwaitingEnd) return true;
  return false;
}

// The engine serves pending calls of this thread while it waits for a task to
// let go (ClearTaskList), and a window serves its events while a message box
// is open; an entry point reached then would act on a half-done step. It runs
// once the entry point in progress has returned instead, in the order asked.
void TBatchDriver::Guarded(const std::function<void()>& action) {
  if (busy_) {
    deferred_.push_back(action);
    return;
  }
  busy_ = true;
  struct TRelease {
    bool& Busy;
    ~TRelease() { Busy = false; }
  } release{busy_};
  action();
  while (!deferred_.empty()) {
    const std::function<void()> next = std::move(deferred_.front());
    deferred_.pop_front();
    next();
  }
}

void TBatchDriver::ConvertClick() {
  Guarded([this] { DoConvertClick(); });
}

void TBatchDriver::StopClick() {
  Guarded([this] { DoStopClick(); });
}

void TBatchDriver::IdleTimerTick() {
  // A tick that comes while another entry point runs is dropped, as a busy
  // window drops timer ticks: the next one counts.
  if (busy_) return;
  Guarded([this] { DoIdleTimerTick(); });
}

void TBatchDriver::PrepareNextRow(int lane) {
  TLane& chosen = lanes_.at(static_cast<std::size_t>(lane));
  Guarded([this, &chosen] { DoPrepareNextRow(chosen); });
}

void TBatchDriver::DeliverEvents() {
  Guarded([this] { inbox_->Deliver([this](const TBatchEvent& event) { HandleEvent(event); }); });
}

void TBatchDriver::DoConvertClick() {
  if (view_.AddingFiles()) return;
  // The button is locked while a batch runs; a second batch would take the
  // rows from under the first.
  if (batchRunning_) return;
  // A stopped batch's tasks may still be ending: their ends are told before
  // anything of the new batch happens, so they land on their own rows.
  for (TLane& lane : lanes_) lane.Component->ClearTaskList();
  inbox_->Deliver([this](const TBatchEvent& event) { HandleEvent(event); });

  for (int row = 0; row < list_.RowCount(); ++row) {
    list_.SetProgressCell(row, "");
    list_.SetFramesCell(row, "");
  }
  if (list_.RowCount() == 0) {
    messages_.Information("Please Add Files To Convert!");
    return;
  }
  const std::string folder = view_.OutputFolderText();
  if (folder.empty()) {
    messages_.Information("Please select an output folder!");
    view_.OpenFolderPicker();
    return;
  }
  std::error_code ec;
  if (!std::filesystem::is_directory(TrimSpaces(folder), ec)) {
    messages_.Information(MissingFolderText(folder));
    view_.OpenFolderPicker();
    return;
  }

  view_.ClosePreviewPlayer();
  for (TLane& lane : lanes_) lane.Converting = true;
  batchRunning_ = true;
  timer_.SetEnabled(true);
  userAborted_ = false;
  view_.DisableControls();
  view_.BatchStarted();
  nextRow_ = 0;
  for (TLane& lane : lanes_) {
    lane.Component->ClearTaskList();
    lane.CurrentRow = -1;
    lane.LastRowReached = false;
    lane.BatchFinished = false;
    lane.IdleTicks = 0;
    lane.Output.clear();
  }
  // Each lane takes its first row; lanes left without one wait for the timer.
  for (TLane& lane : lanes_) {
    if (!batchRunning_) break;
    lane.Converting = true;
    DoPrepareNextRow(lane);
  }
}

int TBatchDriver::TakeRow() {
  const int count = list_.RowCount();
  if (nextRow_ >= count) return -1;
  int row = nextRow_;
  while (!list_.Checked(row) && row < count - 1) ++row;
  nextRow_ = row + 1;
  return row;
}

void TBatchDriver::DoPrepareNextRow(TLane& lane) {
  TEngineComponent& component = *lane.Component;
  component.ClearTaskList();
  // Whatever the old task still had queued is void from here on.
  lane.Step = inbox_->NextStep(static_cast<int>(&lane - lanes_.data()));
  lane.AwaitingEnd = false;
  lane.PrepareError.clear();
  view_.SetProgressBar(0);
  lane.LastRowReached = false;
  lane.BatchFinished = false;

  const int row = TakeRow();
  if (row < 0) {
    // Another lane took the last row: this one has nothing left to do.
    lane.Output.clear();
    lane.Converting = false;
    lane.BatchFinished = true;
    return;
  }
  lane.CurrentRow = row;
  lane.LastRowReached = row == list_.RowCount() - 1;

  if (!list_.Checked(row)) {
    lane.Converting = false;
  } else {
    try {
      const std::string source = TrimSpaces(list_.Caption(row));
      // Outputs of rows other lanes convert now exist only once they finish.
      std::set<std::string> reserved;
      for (const TLane& other : lanes_)
        if (&other != &lane && !other.Output.empty()) reserved.insert(other.Output);
      const TProfileState& profile = view_.Profile();
      lane.Output = OutputFileName(view_.OutputFolderText(), source, profile.OutputExtension,
                                   view_.Overwrite(), reserved);
      list_.RowOutputChosen(row, lane.Output);
      view_.RowStarted(row);
      TInputOptions input = RowInputOptions(source);
      const int index = component.CreateTask(source, &input);
      if (index < 0) {
        FailRow(row, component.LastErrorText());
        lane.Output.clear();
        if (!lane.LastRowReached) {
          lane.IdleTicks = 0;
          lane.Converting = false;
          return;
        }
        // The batch ends at once, unless other lanes still convert.
        bool othersDone = true;
        for (const TLane& other : lanes_)
          if (&other != &lane && (other.Converting || !other.BatchFinished)) othersDone = false;
        if (othersDone) {
          timer_.SetEnabled(false);
          batchRunning_ = false;
          view_.BatchEnded(false);
          messages_.Information(AllCompletedText);
          for (TLane& each : lanes_) each.Component->StopTasks();
          view_.SetProgressBar(0);
          view_.EnableControls();
        }
        lane.Converting = false;
        lane.BatchFinished = true;
        return;
      }
      TOutputOptions output =
          RowOutputOptions(profile, list_.VideoSizeCell(row), list_.DurationCell(row));
      if (!component.SetTaskOutput(index, lane.Output, &output)) {
        FailRow(row, component.LastErrorText());
        component.DeleteTask(index);
        lane.Output.clear();
        lane.IdleTicks = 0;
        lane.Converting = false;
      }
    } catch (const std::exception& e) {
      // The task, if made, has no output and fails when started; its end
      // tells the row, with this reason.
      lane.PrepareError = e.what();
      messages_.Information("Fail to add file to list!");
    }
  }

  try {
    lane.AwaitingEnd = component.TaskCount() > 0;
    component.StartTasks(1);
  } catch (const std::exception&) {
    component.StopTasks();
    view_.EnableControls();
  }
  if (lane.LastRowReached) lane.BatchFinished = true;
}

bool TBatchDriver::AllLanesFinished() const {
  for (const TLane& lane : lanes_)
    if (lane.Converting || !lane.BatchFinished) return false;
  return true;
}

void TBatchDriver::DoIdleTimerTick() {
  // A tick already on its way when the timer was switched off.
  if (!batchRunning_) return;
  if (AllLanesFinished()) {
    EndBatch();
    return;
  }
  for (TLane& lane : lanes_) {
    if (lane.Converting || lane.BatchFinished) continue;
    if (++lane.IdleTicks < 2) continue;
    lane.IdleTicks = 0;
    lane.Converting = true;
    DoPrepareNextRow(lane);
    if (!batchRunning_) return;
  }
}

void TBatchDriver::EndBatch() {
  timer_.SetEnabled(false);
  batchRunning_ = false;
  for (TLane& lane : lanes_) lane.Component->ClearTaskList();
  view_.BatchEnded(false);
  messages_.Information(AllCompletedText);
  view_.SetProgressBar(0);
  view_.EnableControls();
  for (TLane& lane : lanes_) lane.Converting = false;
}

void TBatchDriver::DoStopClick() {
  if (Converting()) {
    for (TLane& lane : lanes_) lane.Component->PauseTasks();
    if (!messages_.Confirm("Stop all conversions?")) {
      for (TLane& lane : lanes_) lane.Component->ResumeTasks();
      return;
    }
    userAborted_ = true;
  }
  for (TLane& lane : lanes_) lane.BatchFinished = true;
  timer_.SetEnabled(false);
  batchRunning_ = false;
  for (TLane& lane : lanes_) lane.Component->StopTasks();
  view_.SetProgressBar(0);
  view_.BatchEnded(true);
  view_.EnableControls();
  for (TLane& lane : lanes_) lane.Converting = false;
}

void TBatchDriver::HandleEvent(const TBatchEvent& event) {
  if (event.Lane < 0 || event.Lane >= static_cast<int>(lanes_.size())) return;
  TLane& lane = lanes_[static_cast<std::size_t>(event.Lane)];
  if (event.Step != lane.Step) return;
  if (event.Kind == TBatchEvent::TKind::Progress)
    HandleProgress(lane, event);
  else
    HandleTerminate(lane, event);
}

void TBatchDriver::HandleProgress(TLane& lane, const TBatchEvent& event) {
  const int row = lane.CurrentRow;
  if (row < 0 || row >= list_.RowCount()) return;
  list_.ScrollToRow(row);
  // A total of zero or less (not known yet) shows 0%.
  const std::int64_t percent = ProgressPercent(event.CurrentDurationMs, event.TotalDurationMs);
  list_.SetProgressCell(row, ProgressCellText(percent));
  try {
    view_.SetStatusText(FileSizeStatusText(event.CurrentSize));
  } catch (const std::exception&) {
    // The status text is a courtesy; the cells matter.
  }
  list_.SetFramesCell(row, FramesCellText(event.FrameNumber));
  view_.SetProgressBar(percent);
  view_.RowProgress(row, {event.FrameNumber, event.FramesPerSecond, event.CurrentDurationMs,
                          event.CurrentSize, event.TotalDurationMs});
}

void TBatchDriver::HandleTerminate(TLane& lane, const TBatchEvent& event) {
  lane.Converting = false;
  if (event.Index >= 0) {
    if (event.Exception)
      FailRow(lane.CurrentRow, lane.PrepareError.empty() ? event.Message : lane.PrepareError);
    else
      SetRowCell(lane.CurrentRow, userAborted_ ? "Abort" : "Done");
    return;
  }
  lane.AwaitingEnd = false;
  if (lane.BatchFinished) {
    lane.Component->ClearTaskList();
    view_.SetProgressBar(0);
    lane.Converting = false;
  }
}

void TBatchDriver::SetRowCell(int row, const std::string& progress) {
  if (row < 0 || row >= list_.RowCount()) return;
  list_.SetProgressCell(row, progress);
  view_.RowEnded(row);
}

void TBatchDriver::FailRow(int row, const std::string& reason) {
  if (row < 0 || row >= list_.RowCount()) return;
  list_.RowFailed(row, reason);
  list_.SetProgressCell(row, "Fail");
  view_.RowEnded(row);
}

}  // namespace trovenix
