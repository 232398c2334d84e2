#include "app/WindowBatchView.h"

#include <algorithm>
#include <chrono>

#include "app/Form1.h"

namespace trovenix {
namespace {

std::int64_t NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

}  // namespace

std::string TWindowBatchView::OutputFolderText() const {
  return form_.Model().OutputFolder;
}

bool TWindowBatchView::Overwrite() const {
  return form_.Model().Options.Overwrite;
}

const TProfileState& TWindowBatchView::Profile() const {
  return form_.Model().Profile;
}

bool TWindowBatchView::AddingFiles() const {
  return form_.Model().Run.AddingFiles;
}

void TWindowBatchView::DisableControls() {
  form_.DisableControls();
}

void TWindowBatchView::EnableControls() {
  form_.EnableControls();
}

void TWindowBatchView::OpenFolderPicker() {
  form_.ChooseOutputFolder();
}

void TWindowBatchView::ClosePreviewPlayer() {
  form_.StopPlayback();
}

void TWindowBatchView::SetProgressBar(std::int64_t position) {
  // The bar ignores values outside its range, so a value beyond 100 shows
  // as full rather than leaving the bar where it was.
  form_.Ui().ProgressBar1->setValue(static_cast<int>(std::clamp<std::int64_t>(position, 0, 100)));
}

void TWindowBatchView::SetStatusText(const std::string& text) {
  form_.Ui().StatusPanels[1]->setText(QString::fromStdString(text));
}

}  // namespace trovenix

namespace trovenix {

void TWindowBatchView::BatchStarted() {
  timeLeft_.Start(NowMs());
  lastStarted_ = -1;
  rowsEnded_ = 0;
  rowsInBatch_ = PendingWork(form_.BatchList(), -1).Rows;
  form_.Ui().StatusPanels[0]->setText(QString::fromStdString(TimeLeftStatusText(-1, -1)));
  if (IDesktopSession* desktop = form_.Services().Desktop) desktop->BatchStarted();
}

void TWindowBatchView::RowStarted(int row) {
  timeLeft_.RowStarted(row, CellDurationMs(form_.BatchList().DurationCell(row)), NowMs());
  lastStarted_ = std::max(lastStarted_, row);
}

void TWindowBatchView::RowProgress(int row, const TRowProgress& report) {
  timeLeft_.RowProgress(row, report.CurrentDurationMs, report.TotalDurationMs, NowMs());
  const TPendingWork pending = PendingWork(form_.BatchList(), lastStarted_);
  form_.Ui().StatusPanels[0]->setText(QString::fromStdString(TimeLeftStatusText(
      timeLeft_.RowLeftMs(row), timeLeft_.BatchLeftMs(pending.MediaMs, pending.Rows))));
  if (IDesktopSession* desktop = form_.Services().Desktop) {
    const double rowPart =
        report.TotalDurationMs > 0
            ? std::clamp(static_cast<double>(report.CurrentDurationMs) / report.TotalDurationMs,
                         0.0, 1.0)
            : 0.0;
    desktop->BatchProgress(rowsInBatch_ > 0 ? (rowsEnded_ + rowPart) / rowsInBatch_ : 0.0);
  }
}

void TWindowBatchView::RowEnded(int row) {
  timeLeft_.RowEnded(row, NowMs());
  ++rowsEnded_;
}

void TWindowBatchView::BatchEnded(bool stopped) {
  form_.Ui().StatusPanels[0]->setText(QStringLiteral("Ready"));
  IDesktopSession* desktop = form_.Services().Desktop;
  if (!desktop) return;
  if (stopped) {
    desktop->BatchStopped();
    return;
  }
  TBatchCounts counts;
  for (const TFileListRow& row : form_.FileList().Rows()) {
    if (row.Progress == "Done") ++counts.Done;
    if (row.Progress == "Fail") ++counts.Fail;
    if (row.Progress == "Abort") ++counts.Abort;
  }
  desktop->BatchEnded(counts, !form_.isActiveWindow());
}

}  // namespace trovenix
