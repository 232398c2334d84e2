#include "app/WindowBatchList.h"

namespace trovenix {

void TWindowBatchList::ScrollToRow(int row) {
  if (!view_ || row < 0 || row >= model_.rowCount()) return;
  view_->scrollTo(model_.index(row, 0), QAbstractItemView::EnsureVisible);
}

}  // namespace trovenix
