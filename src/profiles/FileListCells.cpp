#include "profiles/FileListCells.h"

#include <cmath>
#include <cstdio>

#include "media/AVProbe.h"

namespace trovenix {
namespace {

std::string TwoDigits(std::int64_t value) {
  char text[32];
  std::snprintf(text, sizeof text, "%02lld", static_cast<long long>(value));
  return text;
}

}  // namespace

std::string FormatDuration(std::int64_t seconds) {
  const std::int64_t minutes = seconds / 60;
  const std::int64_t secs = seconds - minutes * 60;
  const std::int64_t hours = minutes / 60;
  return TwoDigits(hours) + ":" + TwoDigits(minutes % 60) + ":" + TwoDigits(secs);
}

std::string DurationCellText(std::int64_t durationUs) {
  if (durationUs < 0) return "Unknown";
  const std::string text = FormatDuration(durationUs / 1000000);
  return text.find('-') == std::string::npos ? text : "Unknown";
}

std::string VideoSizeCellText(int width, int height) {
  return std::to_string(width) + "x" + std::to_string(height);
}

std::string FrameRateCellText(int numerator, int denominator) {
  if (denominator == 0) return "Unknown";
  // Halves go to even: nearbyint follows the default rounding mode.
  const double hundredths =
      std::nearbyint(static_cast<double>(numerator) / denominator * 100.0);
  char text[64];
  std::snprintf(text, sizeof text, "%.2f", hundredths / 100.0);
  std::string s = text;
  while (!s.empty() && s.back() == '0') s.pop_back();
  if (!s.empty() && s.back() == '.') s.pop_back();
  return s == "-0" ? "0" : s;
}

TProbeCells ProbeCellTexts(const TCustomAVProbe& probe) {
  TProbeCells cells{" ", " ", {}};
  if (probe.VideoStreamCount() > 0) {
    TVideoStreamInfo video;
    probe.GetVideoStreamInfo(-1, video);
    cells.VideoSize = VideoSizeCellText(video.Width, video.Height);
    cells.FrameRate = FrameRateCellText(video.FrameRateNum, video.FrameRateDen);
  }
  TFileStreamInfo file;
  probe.GetFileStreamInfo(file);
  cells.Duration = DurationCellText(file.Duration);
  return cells;
}

}  // namespace trovenix
