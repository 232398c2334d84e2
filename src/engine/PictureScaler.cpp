// The scaler of a re-encoded video stream, made for the pictures that really
// arrive, and the checks of the values handed to the libraries before any of
// them sees a picture format, size, rate or channel layout.
//
// The scaler asserts (and so ends the process) on a pixel format it does not
// know, and a header-only or damaged stream leaves the format unknown until a
// picture is decoded; a damaged stream may also change its picture size half
// way. So the values are checked first, and the scaler follows each picture.
#include <climits>
#include <cstdio>

#include "engine/PictureScaler.h"

#include "engine/FFmpeg.h"
#include "media/AVCodecStubs.h"
#include "media/AVUtilStubs.h"
#include "media/SwScaleStubs.h"

namespace trovenix {
namespace {

std::string Printf(const char* format, auto... args) {
  char text[256];
  std::snprintf(text, sizeof text, format, args...);
  return text;
}

std::string StreamName(const char* kind, int file, int stream) {
  return Printf("%s stream #%d.%d", kind, file, stream);
}

}  // namespace

bool ValidPictureSize(int width, int height) {
  // The library's own bound for one picture (av_image_check_size).
  return width > 0 && height > 0 &&
         static_cast<std::int64_t>(width + 128) * (height + 128) < INT_MAX / 8;
}

bool KnownPixelFormat(int format) {
  return format >= 0 && ff::av_pix_fmt_desc_get(static_cast<AVPixelFormat>(format)) != nullptr;
}

bool SourcePictureKnown(const AVCodecParameters& par) {
  return KnownPixelFormat(par.format) && ValidPictureSize(par.width, par.height);
}

void TCustomFFmpeg::CheckEncoderSettings(const TOutputStreamState& output) const {
  const AVCodecContext* c = output.Codec;
  const std::string name = StreamName("output", output.FileIndex, output.StreamIndex);
  if (c->codec_type == AVMEDIA_TYPE_VIDEO) {
    if (!ValidPictureSize(c->width, c->height))
      throw FFmpegException(
          Printf("Picture size %dx%d of %s is not valid (the source's size is not known)", c->width,
                 c->height, name.c_str()));
    if (!ValidPictureSize(c->width - output.PadLeft - output.PadRight,
                          c->height - output.PadTop - output.PadBottom))
      throw FFmpegException("Padding leaves no picture in " + name);
    if (!KnownPixelFormat(c->pix_fmt))
      throw FFmpegException("Pixel format of " + name + " is not known");
    if (c->time_base.num <= 0 || c->time_base.den <= 0)
      throw FFmpegException(Printf("Frame rate %d/%d of %s is not valid", c->time_base.den,
                                   c->time_base.num, name.c_str()));
  } else if (c->codec_type == AVMEDIA_TYPE_AUDIO) {
    if (c->sample_rate <= 0)
      throw FFmpegException(
          Printf("Sample rate %d of %s is not valid (the source's rate is not known)",
                 c->sample_rate, name.c_str()));
    if (c->ch_layout.nb_channels <= 0 || c->ch_layout.nb_channels > 64)
      throw FFmpegException(
          Printf("Channel count %d of %s is not valid (the source's channels are not known)",
                 c->ch_layout.nb_channels, name.c_str()));
    if (c->sample_fmt < 0 || ff::av_get_bytes_per_sample(c->sample_fmt) <= 0)
      throw FFmpegException("Sample format of " + name + " is not known");
  }
}

void TCustomFFmpeg::PrepareScaler(TOutputStreamState& output, int width, int height, int format) {
  if (output.Scaler && output.ScalerWidth == width && output.ScalerHeight == height &&
      output.ScalerFormat == format)
    return;
  const TInputStreamState& source = *Run.InputStreams[output.SourceIndex];
  const std::string name = StreamName("input", source.FileIndex, source.StreamIndex);
  if (!KnownPixelFormat(format) || !ff::sws_isSupportedInput(static_cast<AVPixelFormat>(format)))
    throw FFmpegException("Cannot get resampling context: the picture format of " + name +
                          " is not known");
  if (!ValidPictureSize(width, height))
    throw FFmpegException(Printf("Cannot get resampling context: picture size %dx%d of %s", width,
                                 height, name.c_str()));
  const AVCodecContext* c = output.Codec;
  if (!ff::sws_isSupportedOutput(c->pix_fmt))
    throw FFmpegException(
        "Cannot get resampling context: the output's pixel format cannot be written");
  std::int64_t flags = SwsFlags;
  ff::av_opt_get_int(OptionContexts.SwsOpts.get(), "sws_flags", 0, &flags);
  SwsFlags = static_cast<int>(flags);
  output.Scaler.reset(ff::sws_getContext(width, height, static_cast<AVPixelFormat>(format),
                                         c->width - output.PadLeft - output.PadRight,
                                         c->height - output.PadTop - output.PadBottom, c->pix_fmt,
                                         SwsFlags, nullptr, nullptr, nullptr));
  if (!output.Scaler) throw FFmpegException("Cannot get resampling context");
  output.ScalerWidth = width;
  output.ScalerHeight = height;
  output.ScalerFormat = format;
}

void TCustomFFmpeg::CheckPicturesArrived() const {
  if (StopRequested) return;
  for (const auto& output : Run.OutputStreams)
    if (output->AwaitsFirstPicture) {
      const TInputStreamState& source = *Run.InputStreams[output->SourceIndex];
      throw FFmpegException("No picture could be decoded from " +
                            StreamName("input", source.FileIndex, source.StreamIndex) +
                            ", so its picture format is not known");
    }
}

}  // namespace trovenix
