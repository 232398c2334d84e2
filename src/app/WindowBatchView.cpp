#include "app/WindowBatchView.h"

#include <algorithm>

#include "app/Form1.h"

namespace trovenix {

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
