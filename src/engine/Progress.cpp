// Progress reports and the summary at the end of a run.
#include <cmath>
#include <algorithm>
#include <array>
#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <limits>

#include "engine/FFmpeg.h"
#include "media/AVCodecStubs.h"
#include "media/AVFormatStubs.h"
#include "media/AVUtilStubs.h"

namespace trovenix {
namespace {

constexpr double QualityScale = 118.0;  // the library's quality per quantizer step

// Counts of frames per quantizer, over every task of the process.
std::array<std::atomic<int>, 52> QpHistogram{};

// Appends printf-style text within the status buffer's 1024 bytes.
void Append(std::string& text, const char* format, ...) {
  char piece[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(piece, sizeof piece, format, args);
  va_end(args);
  text.append(piece, std::min(std::strlen(piece), std::size_t{1023} - std::min<std::size_t>(text.size(), 1023)));
}

float StreamQuality(const TOutputStreamState& output) {
  if (!output.EncodingNeeded) return -1.0f;
  return static_cast<float>(output.Quality / QualityScale);
}

}  // namespace

void TCustomFFmpeg::ReportProgress(bool last) {
  std::int64_t totalSize = OutputFiles.empty() ? 0 : OutputFiles[0]->Size();
  std::string text;
  double time = 1e10;
  TProgressInfo info;
  info.TotalDurationMs = TotalDurationMs;
  bool videoSeen = false;
  for (const auto& output : Run.OutputStreams) {
    const AVCodecContext* enc = output->Codec;
    if (enc->codec_type == AVMEDIA_TYPE_VIDEO) {
      const float quality = StreamQuality(*output);
      if (videoSeen) {
        Append(text, "q=%2.1f ", quality);
      } else {
        videoSeen = true;
        const float seconds = static_cast<float>(ff::av_gettime() - TimerStart) / 1000000.0f;
        info.FrameNumber = output->FrameNumber;
        if (info.FrameNumber < 1) return;  // nothing to tell before the first picture
        info.FramesPerSecond =
            seconds > 1.0f ? static_cast<int>(std::trunc(info.FrameNumber / seconds + 0.5f)) : 0;
        info.Quality = quality;
        Append(text, "frame=%5d fps=%3d q=%3.1f ", info.FrameNumber, info.FramesPerSecond, quality);
        if (last) Append(text, "L");
        if (QpHist && output->EncodingNeeded) {
          const int qp = static_cast<int>(std::lrint(quality));
          if (qp >= 0 && qp < static_cast<int>(QpHistogram.size())) QpHistogram[qp] += 1;
          for (int j = 0; j < 32; ++j)
            Append(text, "%X", static_cast<int>(std::lrint(std::log2(QpHistogram[j] + 1))));
        }
        if (output->EncodingNeeded && (enc->flags & AV_CODEC_FLAG_PSNR)) AppendPsnr(text, *output, last);
      }
    }
    if (output->LastEnd != AV_NOPTS_VALUE) {
      const double streamTime = static_cast<double>(output->LastEnd) * av_q2d(output->Stream->time_base);
      if (streamTime < time && streamTime > 0) time = streamTime;
    }
  }
  time = std::max(time, 0.01);
  if (ProgressCallback || Verbose > 0 || last) {
    const double bitRate = static_cast<double>(totalSize) * 8 / time / 1000;
    Append(text, "size=%8.0fkB time=%0.2f bitrate=%6.1fkbits/s", totalSize / 1024.0, time, bitRate);
    if (Verbose > 1) Append(text, " dup=%d drop=%d", FramesDuplicated, FramesDropped);
    // No stream has a time yet: report none rather than a time that does not fit.
    info.CurrentDurationMs = time >= 1e10 ? 0 : static_cast<int>(std::trunc(time * 1000));
    info.BitRateKbps = static_cast<float>(bitRate);
    info.CurrentSize = totalSize;
    if (ProgressCallback)
      ProgressCallback(info);
    else if (Verbose >= 0)
      Log(text);
  }
  if (last && Verbose >= 0) {
    const double raw = static_cast<double>(VideoSize + AudioSize + ExtraSize);
    const double overhead = raw > 0 ? 100.0 * (static_cast<double>(totalSize) - raw) / raw : 0.0;
    char summary[256];
    std::snprintf(summary, sizeof summary,
                  "video:%1.0fkB audio:%1.0fkB global headers:%1.0fkB muxing overhead %.2f%%\r\n",
                  VideoSize / 1024.0, AudioSize / 1024.0, ExtraSize / 1024.0, overhead);
    Log(summary);
  }
}

void TCustomFFmpeg::AppendPsnr(std::string& text, const TOutputStreamState& output, bool last) const {
  const AVCodecContext* enc = output.Codec;
  double errorSum = 0, scaleSum = 0;
  Append(text, "PSNR=");
  for (int j = 0; j < 3; ++j) {
    const double error = static_cast<double>(last ? enc->error[j] : output.LastError[j]);
    double scale = static_cast<double>(enc->width) * enc->height * 255.0 * 255.0;
    if (last) scale *= output.FrameNumber;
    if (j > 0) scale /= 4;
    errorSum += error;
    scaleSum += scale;
    Append(text, "%c:%2.2f ", "YUV"[j], -10.0 * std::log10(error / scale));
  }
  Append(text, "*:%2.2f ", -10.0 * std::log10(errorSum / scaleSum));
}

}  // namespace trovenix
