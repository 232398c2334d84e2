// The source file list as the batch driver sees it: the rows it reads and the
// two cells it writes. Row indexes run from 0 to RowCount() - 1; the driver
// never writes to a row outside that range.
#pragma once

#include <string>

namespace trovenix {

class IBatchList {
 public:
  virtual ~IBatchList() = default;
  virtual int RowCount() const = 0;
  virtual bool Checked(int row) const = 0;
  // The source path.
  virtual std::string Caption(int row) const = 0;
  virtual std::string VideoSizeCell(int row) const = 0;
  virtual std::string DurationCell(int row) const = 0;
  virtual void SetProgressCell(int row, const std::string& text) = 0;
  virtual void SetFramesCell(int row, const std::string& text) = 0;
  // Makes the row visible; partly visible is enough.
  virtual void ScrollToRow(int row) = 0;

  // Told before the row's task is created: the file it converts into.
  virtual void RowOutputChosen(int /*row*/, const std::string& /*outputFile*/) {}
  // Told just before the row's Progress cell becomes "Fail": why it failed.
  virtual void RowFailed(int /*row*/, const std::string& /*reason*/) {}
};

}  // namespace trovenix
