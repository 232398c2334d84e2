// The rest of the main window as the batch driver sees it: the model's
// settings, the locking of the controls, the folder picker, the progress bar
// and the status bar's second panel.
#pragma once

#include "batch/BatchTimeLeft.h"
#include "batch/IBatchView.h"

namespace trovenix {

class TForm1;

class TWindowBatchView final : public IBatchView {
 public:
  explicit TWindowBatchView(TForm1& form) : form_(form) {}

  std::string OutputFolderText() const override;
  bool Overwrite() const override;
  const TProfileState& Profile() const override;
  bool AddingFiles() const override;
  void DisableControls() override;
  void EnableControls() override;
  void OpenFolderPicker() override;
  // Stops and closes what plays in the preview panel.
  void ClosePreviewPlayer() override;
  void SetProgressBar(std::int64_t position) override;
  void SetStatusText(const std::string& text) override;
  // The first status panel shows the time left; the desktop hears of the
  // batch's course.
  void RowProgress(int row, const TRowProgress& report) override;
  void BatchStarted() override;
  void RowStarted(int row) override;
  void RowEnded(int row) override;
  void BatchEnded(bool stopped) override;

 private:
  TForm1& form_;
  TBatchTimeLeft timeLeft_;
  int lastStarted_ = -1;  // the furthest row the batch has reached
  int rowsInBatch_ = 0;   // checked when the batch started
  int rowsEnded_ = 0;
};

}  // namespace trovenix
