#include "cli/ProgressLine.h"

#include <cstdio>

namespace trovenix::cli {
namespace {

std::string Clock(std::int64_t ms) {
  const std::int64_t seconds = ms / 1000;
  char text[32];
  std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
                static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
  return text;
}

}  // namespace

std::string ProgressLine(const TProgressFigures& f, std::int64_t elapsedMs) {
  const bool known = f.TotalDurationMs > 0 && f.CurrentDurationMs >= 0;
  const double fraction = known ? std::min(1.0, static_cast<double>(f.CurrentDurationMs) / f.TotalDurationMs) : 0;
  char text[160];
  std::string line;
  if (known)
    std::snprintf(text, sizeof text, "%3d%%", static_cast<int>(fraction * 100));
  else
    std::snprintf(text, sizeof text, " --%%");
  line += text;
  if (f.FrameNumber >= 0) {
    std::snprintf(text, sizeof text, " frame=%5d fps=%3d", f.FrameNumber, f.FramesPerSecond);
    line += text;
  }
  std::snprintf(text, sizeof text, " size=%8lldkB elapsed %s", static_cast<long long>(f.CurrentSize / 1024),
                Clock(elapsedMs).c_str());
  line += text;
  if (known && fraction > 0)
    line += " left " + Clock(static_cast<std::int64_t>(elapsedMs * (1 - fraction) / fraction));
  else
    line += " left --:--:--";
  return line;
}

}  // namespace trovenix::cli
