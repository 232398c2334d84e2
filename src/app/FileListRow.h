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
};

}  // namespace trovenix
