#include "cli/ConsoleBatchList.h"

#include "cli/TaskWatch.h"

namespace trovenix::cli {

void TConsoleBatchList::AddRow(const std::string& source, const TProbeCells& cells, bool probed) {
  TRow row;
  row.Source = source;
  if (probed) row.Cells = cells;
  rows_.push_back(std::move(row));
}

bool TConsoleBatchList::AllDone() const {
  for (const TRow& row : rows_)
    if (row.Progress != "Done") return false;
  return true;
}

void TConsoleBatchList::SetProgressCell(int row, const std::string& text) {
  TRow& r = At(row);
  r.Progress = text;
  if (text != "Done" && text != "Fail" && text != "Abort") return;
  display_.Clear();
  out_ << r.Source << "\t" << r.Output << "\t" << r.Progress;
  if (text == "Fail" && !r.Reason.empty()) out_ << ": " << r.Reason;
  out_ << std::endl;
}

void TConsoleBatchList::RowOutputChosen(int row, const std::string& outputFile) {
  At(row).Output = outputFile;
  At(row).Reason.clear();
}

void TConsoleBatchList::RowFailed(int row, const std::string& reason) {
  At(row).Reason = reason;
}

}  // namespace trovenix::cli
