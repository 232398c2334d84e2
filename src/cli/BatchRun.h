// Running trovenix-convert's batch mode: the window's batch driver over a
// list without a window, on the command line's event loop.
#pragma once

#include <string>
#include <vector>

#include "profiles/ProfileState.h"

namespace trovenix::cli {

struct TBatchRunSettings {
  TProfileState Profile;  // the choices, as after start-up and the user's picks
  std::string OutputDir;
  bool Overwrite = false;
  int Jobs = 1;  // rows converted at once
  std::vector<std::string> Files;
};

// Adds the files to a list as the add step does, converts them and prints one
// line per file as it ends, then "All Conversions Completed". Returns 0 when
// every file converted, 130 when interrupted, 1 otherwise.
int RunBatch(const TBatchRunSettings& settings);

}  // namespace trovenix::cli
