// Texts of the source list's cells, shared by the window and the command line.
#pragma once

#include <cstdint>
#include <string>

namespace trovenix {

class TCustomAVProbe;

// "hh:mm:ss" with at least two digits per field; negative values carry a "-".
std::string FormatDuration(std::int64_t seconds);

// Duration cell for a duration in microseconds: "Unknown" when the duration
// is not known (negative) or does not format.
std::string DurationCellText(std::int64_t durationUs);

// "640x480".
std::string VideoSizeCellText(int width, int height);

// Rate rounded to two decimals (halves to even) in shortest form: 25, 29.97,
// 23.98. "Unknown" when the denominator is zero.
std::string FrameRateCellText(int numerator, int denominator);

// The Video Size, FrameRate and Duration cells of a file the probe opened;
// files without video get a single blank in the first two.
struct TProbeCells {
  std::string VideoSize;
  std::string FrameRate;
  std::string Duration;
};
TProbeCells ProbeCellTexts(const TCustomAVProbe& probe);

}  // namespace trovenix
