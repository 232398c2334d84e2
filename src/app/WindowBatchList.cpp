#include "app/WindowBatchList.h"

namespace trovenix {

void TWindowBatchList::ScrollToRow(int row) {
  if (!view_ || row < 0 || row >= model_.rowCount()) return;
  view_->scrollTo(model_.index(row, 0), QAbstractItemView::EnsureVisible);
}

void TWindowBatchList::RowOutputChosen(int row, const std::string& outputFile) {
  // A row converted again has no reason to fail yet.
  model_.SetReason(row, "");
  model_.SetOutputFile(row, outputFile);
}

}  // namespace trovenix
