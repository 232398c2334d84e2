// Times, the recording window and verbosity.
#include <cmath>

#include "engine/FFmpeg.h"
#include "media/AVUtilStubs.h"
#include "media/FFmpegLoader.h"

namespace trovenix {

std::int64_t TCustomFFmpeg::ParseTime(const std::string& context, const std::string& text,
                                      bool duration) {
  std::int64_t us = 0;
  if (ff::av_parse_time(&us, text.c_str(), duration ? 1 : 0) < 0)
    throw FFmpegException("Invalid " + std::string(duration ? "duration" : "date") +
                          " specification for " + context + ": " + text);
  return us;
}

void TCustomFFmpeg::SetVerbose(int level) {
  SetVerbose(level, level);
}

void TCustomFFmpeg::SetVerbose(int level, int libraryLevel) {
  Verbose = level;
  ff::av_log_set_level(libraryLevel);
  LibraryLogLevel = libraryLevel;
}

void TCustomFFmpeg::SetRecordingTime(std::int64_t us) {
  if (us <= 0) return;
  RecordingTime = us;
  TotalDurationMs = static_cast<int>(std::min<std::int64_t>(us / 1000, INT32_MAX));
}

void TCustomFFmpeg::SetRecordingTimeMs(int ms) {
  if (ms <= 0) return;
  RecordingTime = static_cast<std::int64_t>(ms) * 1000;
  TotalDurationMs = ms;
}

void TCustomFFmpeg::SetStartTime(std::int64_t us) {
  if (us > 0) StartTime = us;
}

}  // namespace trovenix
