// Picture settings: frame size, rate and aspect ratio, pixel and sample
// formats, the fixed quantizer and the filter chain.
#include <array>
#include <cmath>

#include "engine/FFmpeg.h"
#include "engine/OptionValues.h"
#include "media/AVUtilStubs.h"

namespace trovenix {
namespace {

// A number that does not read counts as 0, which the aspect ratio rejects.
int IntOrZero(const std::string& text) {
  try {
    return ParseIntValue(text);
  } catch (const EConvertError&) {
    return 0;
  }
}

double RealOrZero(const std::string& text) {
  try {
    const double value = ParseRealValue(text);
    return std::isfinite(value) ? value : 0.0;
  } catch (const EConvertError&) {
    return 0.0;
  }
}

// The library's description line of one format number, as a log line.
template <class Describe>
void LogFormatLine(const TCustomFFmpeg& task, Describe describe, int format) {
  std::array<char, 128> line{};
  describe(line.data(), static_cast<int>(line.size()), format);
  task.Log(TrimSpaces(line.data()));
}

}  // namespace

void TCustomFFmpeg::SetFrameSize(const std::string& text) {
  if (text.empty()) return;
  int width = 0;
  int height = 0;
  if (ff::av_parse_video_size(&width, &height, text.c_str()) < 0)
    throw FFmpegException("Incorrect frame size");
  // An odd size is rejected before it replaces the current one.
  if (width % 2 != 0 || height % 2 != 0)
    throw FFmpegException("Frame size must be a multiple of 2");
  FrameWidth = width;
  FrameHeight = height;
}

void TCustomFFmpeg::SetFrameRate(const std::string& text) {
  if (text.empty()) return;
  AVRational rate{0, 0};
  if (ff::av_parse_video_rate(&rate, text.c_str()) < 0)
    throw FFmpegException("Incorrect frame rate");
  FrameRate = rate;
}

void TCustomFFmpeg::SetFrameAspectRatio(const std::string& text) {
  if (text.empty()) return;
  double ratio = 0.0;
  const auto colon = text.find(':');
  if (colon != std::string::npos) {
    const int across = IntOrZero(text.substr(0, colon));
    const int down = IntOrZero(text.substr(colon + 1));
    if (down > 0) ratio = static_cast<double>(across) / down;
  } else {
    ratio = RealOrZero(text);
  }
  if (ratio == 0.0) throw FFmpegException("Incorrect aspect ratio specification.");
  FrameAspectRatio = static_cast<float>(ratio);
}

void TCustomFFmpeg::SetFramePixFmt(const std::string& text) {
  if (text != "list") {
    FramePixFmt = ff::av_get_pix_fmt(text.c_str());
    return;
  }
  if (!LogCallback) return;
  auto describe = [](char* buffer, int size, int format) {
    ff::av_get_pix_fmt_string(buffer, size, static_cast<AVPixelFormat>(format));
  };
  LogFormatLine(*this, describe, -1);  // the heading
  for (int format = 0; format < AV_PIX_FMT_NB; ++format)
    if (ff::av_pix_fmt_desc_get(static_cast<AVPixelFormat>(format)))
      LogFormatLine(*this, describe, format);
}

void TCustomFFmpeg::SetAudioSampleFmt(const std::string& text) {
  if (text != "list") {
    AudioSampleFmt = ff::av_get_sample_fmt(text.c_str());
    return;
  }
  if (!LogCallback) return;
  auto describe = [](char* buffer, int size, int format) {
    ff::av_get_sample_fmt_string(buffer, size, static_cast<AVSampleFormat>(format));
  };
  for (int format = -1; format < AV_SAMPLE_FMT_NB; ++format) LogFormatLine(*this, describe, format);
}

void TCustomFFmpeg::SetQScale(float q) {
  if (!(q > 0.0f && q <= 255.0f)) throw FFmpegException("qscale must be > 0.0 and <= 255");
  VideoQScale = q;
}

void TCustomFFmpeg::SetVideoFilters(const std::string& filters) {
  VideoFilters = filters;
}

}  // namespace trovenix
