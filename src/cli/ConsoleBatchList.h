// The source list of the command line's batch: the rows the add step made,
// and one printed line per row as soon as it ends.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "batch/IBatchList.h"
#include "profiles/FileListCells.h"

namespace trovenix::cli {

class TProgressDisplay;

class TConsoleBatchList final : public IBatchList {
 public:
  TConsoleBatchList(std::ostream& out, TProgressDisplay& display) : out_(out), display_(display) {}

  // The add step: a row per file; probed is false when the probe could not
  // read it (its cells stay empty).
  void AddRow(const std::string& source, const TProbeCells& cells, bool probed);
  // Every row ended "Done".
  bool AllDone() const;

  int RowCount() const override { return static_cast<int>(rows_.size()); }
  bool Checked(int) const override { return true; }
  std::string Caption(int row) const override { return At(row).Source; }
  std::string VideoSizeCell(int row) const override { return At(row).Cells.VideoSize; }
  std::string DurationCell(int row) const override { return At(row).Cells.Duration; }
  void SetProgressCell(int row, const std::string& text) override;
  void SetFramesCell(int, const std::string&) override {}
  void ScrollToRow(int) override {}
  void RowOutputChosen(int row, const std::string& outputFile) override;
  void RowFailed(int row, const std::string& reason) override;

 private:
  struct TRow {
    std::string Source;
    TProbeCells Cells;
    std::string Output;
    std::string Progress;
    std::string Reason;
  };
  const TRow& At(int row) const { return rows_.at(static_cast<std::size_t>(row)); }
  TRow& At(int row) { return rows_.at(static_cast<std::size_t>(row)); }

  std::ostream& out_;
  TProgressDisplay& display_;
  std::vector<TRow> rows_;
};

}  // namespace trovenix::cli
