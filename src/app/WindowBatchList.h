// The window's file list as the batch driver sees it: the rows of the list
// model, and the list view that scrolls to the row being converted.
#pragma once

#include <QPointer>
#include <QTreeView>

#include "app/FileListModel.h"
#include "batch/IBatchList.h"

namespace trovenix {

class TWindowBatchList final : public IBatchList {
 public:
  TWindowBatchList(TFileListModel& model, QTreeView* view) : model_(model), view_(view) {}

  int RowCount() const override { return model_.rowCount(); }
  bool Checked(int row) const override { return At(row).Checked; }
  std::string Caption(int row) const override { return At(row).FileName; }
  std::string VideoSizeCell(int row) const override { return At(row).VideoSize; }
  std::string DurationCell(int row) const override { return At(row).Duration; }
  void SetProgressCell(int row, const std::string& text) override { model_.SetProgress(row, text); }
  void SetFramesCell(int row, const std::string& text) override { model_.SetFrames(row, text); }
  void ScrollToRow(int row) override;
  void RowOutputChosen(int row, const std::string& outputFile) override;
  void RowFailed(int row, const std::string& reason) override { model_.SetReason(row, reason); }

 private:
  const TFileListRow& At(int row) const { return model_.Rows().at(static_cast<std::size_t>(row)); }

  TFileListModel& model_;
  QPointer<QTreeView> view_;
};

}  // namespace trovenix
