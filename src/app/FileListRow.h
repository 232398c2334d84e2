// One row of the source file list: the source path, its check box and the
// cells the add step, the format change and the batch write.
#pragma once

#include <string>

namespace trovenix {

struct TFileListRow {
  std::string FileName;  // the row caption: the full path of the source
  bool Checked = true;   // only checked rows are converted
  std::string VideoSize;
  std::string FrameRate;
  std::string Duration;
  std::string Output;
  std::string Progress;
  std::string Frames;
  std::string Spare;  // one further cell no column shows
  // Why the Progress cell reads "Fail" (the task's end message, the open
  // error, the refused option) or "Error" (the probe's text); the cell's tooltip.
  std::string Reason;
  // The file the row's conversion writes, once the batch has chosen it.
  std::string OutputFile;
  // The batch chose the row's output and the row has not ended yet.
  bool Converting = false;
};

}  // namespace trovenix
