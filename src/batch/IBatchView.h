// The rest of the window as the batch driver sees it: the settings it reads
// for every row, the locking of the controls, the folder picker, the preview
// player, the progress bar and the status bar.
#pragma once

#include <cstdint>
#include <string>

namespace trovenix {

struct TProfileState;

// One progress report of a row, as the engine gave it.
struct TRowProgress {
  int FrameNumber = -1;  // -1 without video
  int FramesPerSecond = 0;
  int CurrentDurationMs = 0;
  std::int64_t CurrentSize = 0;  // bytes
  int TotalDurationMs = -1;
};

class IBatchView {
 public:
  virtual ~IBatchView() = default;
  // The output folder as typed.
  virtual std::string OutputFolderText() const = 0;
  virtual bool Overwrite() const = 0;
  // The choice controls and the run-time values beside them.
  virtual const TProfileState& Profile() const = 0;
  // The add step is running.
  virtual bool AddingFiles() const = 0;

  virtual void DisableControls() = 0;
  virtual void EnableControls() = 0;
  // Opens the folder picker as the browse button does.
  virtual void OpenFolderPicker() = 0;
  // Stops and closes the file playing in the preview panel.
  virtual void ClosePreviewPlayer() = 0;
  // Range 0 to 100; larger values are passed on as they are.
  virtual void SetProgressBar(std::int64_t position) = 0;
  // The status bar's second panel.
  virtual void SetStatusText(const std::string& text) = 0;

  // Every progress report after the cells were written, for views that show
  // more than the cells (the command line's progress line).
  virtual void RowProgress(int /*row*/, const TRowProgress& /*report*/) {}

  // The course of a batch, for views that show more than the cells (time
  // left, the desktop's notification and sleep inhibition).
  // The checks passed and the controls are locked.
  virtual void BatchStarted() {}
  // The row's output was chosen; its task is created next.
  virtual void RowStarted(int /*row*/) {}
  // The row's Progress cell got its outcome ("Done", "Fail" or "Abort").
  virtual void RowEnded(int /*row*/) {}
  // The batch ended, just before "All Conversions Completed" is shown
  // (stopped false), or it was stopped (stopped true).
  virtual void BatchEnded(bool /*stopped*/) {}
};

}  // namespace trovenix
