// The one-line progress display of a conversion on a terminal.
#pragma once

#include <cstdint>
#include <string>

namespace trovenix::cli {

struct TProgressFigures {
  int FrameNumber = -1;  // -1 without video
  int FramesPerSecond = -1;
  int CurrentDurationMs = 0;
  std::int64_t CurrentSize = 0;  // bytes
  int TotalDurationMs = -1;      // -1 when unknown
};

// "  42% frame=  123 fps= 30 size=    1234kB elapsed 00:00:02 left 00:00:03";
// without a known total the percentage and the time left show as "--".
std::string ProgressLine(const TProgressFigures& figures, std::int64_t elapsedMs);

}  // namespace trovenix::cli
