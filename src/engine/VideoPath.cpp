// Decoded pictures to encoded packets: frame-rate sync, crop, scale, pad,
// then the preview and the statistics line of what was encoded.
#include <cmath>
#include <limits>

#include "engine/FFmpeg.h"
#include "engine/PicturePad.h"
#include "engine/PictureRotation.h"
#include "media/AVCodecStubs.h"
#include "media/AVFormatStubs.h"
#include "media/AVUtilStubs.h"
#include "media/SwScaleStubs.h"

namespace trovenix {

namespace {

// Whether pictures are dropped and repeated to hold a constant output rate.
bool ConstantRate(int syncMethod, double timeBase, const AVOutputFormat& format) {
  if (syncMethod == 1) return true;
  return syncMethod < 0 && timeBase > 0.001 && !(format.flags & AVFMT_VARIABLE_FPS);
}

}  // namespace

void TCustomFFmpeg::EncodeVideo(TOutputStreamState& output, TInputStreamState& input,
                                AVFrame& picture) {
  AVCodecContext* enc = output.Codec;
  int copies = 1;
  const double inPts = static_cast<double>(output.SyncInput->Pts - StartTime) / 1000000.0;
  const double tb = av_q2d(enc->time_base);
  if (VideoSyncMethod > 0 || (VideoSyncMethod < 0 && tb > 0.001)) {
    const double vdelta = inPts / tb - static_cast<double>(output.SyncOpts);
    const bool variableRate =
        VideoSyncMethod == 2 ||
        (VideoSyncMethod < 0 &&
         (OutputFiles[output.FileIndex]->Context->oformat->flags & AVFMT_VARIABLE_FPS));
    if (vdelta < -1.1) {
      copies = 0;
    } else if (variableRate) {
      if (vdelta <= -0.6)
        copies = 0;
      else if (vdelta > 0.6)
        output.SyncOpts = std::llrint(inPts / tb);
    } else if (vdelta > 1.1) {
      copies = static_cast<int>(std::llrint(vdelta));
    }
    if (copies == 0) {
      FramesDropped += 1;
      if (Verbose > 2) Log("*** drop!");
    } else if (copies > 1) {
      FramesDuplicated += copies - 1;
      if (Verbose > 2) Log("*** " + std::to_string(copies - 1) + " dup!");
    }
  } else {
    output.SyncOpts = std::llrint(inPts / tb);
  }
  if (ConstantRate(VideoSyncMethod, tb, *OutputFiles[output.FileIndex]->Context->oformat)) {
    if (!output.LastPicture) output.LastPicture.reset(ff::av_frame_alloc());
    ff::av_frame_unref(output.LastPicture.get());
    ff::av_frame_ref(output.LastPicture.get(), &picture);
  }
  EncodePictureCopies(output, picture, copies);
  (void)input;
}

void TCustomFFmpeg::EncodePictureCopies(TOutputStreamState& output, AVFrame& picture, int copies) {
  AVCodecContext* enc = output.Codec;
  copies = std::min(copies, MaxFrames[mkVideo] - output.FrameNumber);
  if (copies <= 0) return;

  AVFrame* final = FormatPicture(output, picture);
  if (!final) return;
  int frameSize = 0;
  for (int i = 0; i < copies && !StopRequested; ++i) {
    final->pts = output.SyncOpts;
    final->pict_type = AV_PICTURE_TYPE_NONE;
    final->quality =
        static_cast<int>(std::lrint(SameQuality ? picture.quality : output.Config->Quality));
    final->interlaced_frame = picture.interlaced_frame;
    if (OptionContexts.CodecOpts[mkVideo]->flags &
        (AV_CODEC_FLAG_INTERLACED_DCT | AV_CODEC_FLAG_INTERLACED_ME))
      final->top_field_first = TopFieldFirst == -1 ? picture.top_field_first : TopFieldFirst;
    const int written = SendToEncoder(output, final);
    if (written > 0) frameSize = written;
    // An encoder on its own thread hands its packets back later: every
    // picture it was given counts as encoded.
    if (written > 0 || output.Encoder) DeliverPreview(*final, *enc);
    output.SyncOpts += 1;
    output.FrameNumber += 1;
  }
  if (frameSize != 0 && !VstatsFileName.empty()) WriteVideoStats(output, frameSize);
}

void TCustomFFmpeg::FinishVideoSync(TOutputStreamState& output, const TInputStreamState& input) {
  if (!output.LastPicture || !output.LastPicture->buf[0] || StopRequested) return;
  FramePtr last(std::move(output.LastPicture));
  if (input.NextPts == AV_NOPTS_VALUE) return;
  // Never beyond the recording time: the stream may have ended there.
  std::int64_t endUs = input.NextPts - StartTime;
  if (RecordingTime != std::numeric_limits<std::int64_t>::max())
    endUs = std::min(endUs, RecordingTime);
  const double missing = static_cast<double>(endUs) / 1000000.0 / av_q2d(output.Codec->time_base) -
                         static_cast<double>(output.SyncOpts);
  const int copies = static_cast<int>(std::llrint(missing));
  if (copies <= 0) return;
  FramesDuplicated += copies;
  EncodePictureCopies(output, *last, copies);
}

AVFrame* TCustomFFmpeg::FormatPicture(TOutputStreamState& output, AVFrame& picture) {
  AVFrame* source = output.Rotation ? output.Rotation->Turn(picture) : &picture;
  if (output.VideoCrop && !UseVideoFilters) {
    if (!output.CropView) output.CropView.reset(ff::av_frame_alloc());
    AVFrame* view = output.CropView.get();
    ff::av_frame_unref(view);
    ff::av_frame_ref(view, source);
    view->crop_top = static_cast<std::size_t>(CropTop);
    view->crop_bottom = static_cast<std::size_t>(CropBottom);
    view->crop_left = static_cast<std::size_t>(CropLeft);
    view->crop_right = static_cast<std::size_t>(CropRight);
    if (ff::av_frame_apply_cropping(view, AV_FRAME_CROP_UNALIGNED) < 0) {
      if (ExitOnError) throw FFmpegException("error cropping picture");
      Log("error cropping picture", 0);
      return nullptr;
    }
    source = view;
  }
  // A filter graph has already scaled the picture. Otherwise any picture
  // that differs from what the encoder takes is scaled, also when the
  // stream's parameters promised otherwise (a damaged stream may change its
  // size half way).
  AVCodecContext* enc = output.Codec;
  const bool scale =
      !UseVideoFilters && (output.VideoResample || source->format != enc->pix_fmt ||
                           source->width != enc->width - output.PadLeft - output.PadRight ||
                           source->height != enc->height - output.PadTop - output.PadBottom);
  output.AwaitsFirstPicture = false;
  if (!scale && !output.VideoPad) return source;
  if (scale) PrepareScaler(output, source->width, source->height, source->format);

  // The encoder may still hold the previous pictures; never write into one
  // of them. The whole picture is drawn anew, so no copy of the old is needed.
  const bool first = output.ResamplePictures.Empty();
  AVFrame* target = output.ResamplePictures.Writable(enc->pix_fmt, enc->width, enc->height);
  if (!target) {
    if (first) throw FFmpegException("Cannot allocate temp picture, check pix fmt");
    if (ExitOnError) throw FFmpegException("error padding picture");
    Log("error padding picture", 0);
    return nullptr;
  }
  std::uint8_t* inner[4];
  int innerLines[4];
  InnerArea(*target, output.PadTop, output.PadLeft, inner, innerLines);
  if (scale) {
    ff::sws_scale(output.Scaler.get(), source->data, source->linesize, 0, source->height, inner,
                  innerLines);
  } else {
    const std::uint8_t* from[4] = {source->data[0], source->data[1], source->data[2],
                                   source->data[3]};
    ff::av_image_copy(inner, innerLines, from, source->linesize,
                      static_cast<AVPixelFormat>(target->format), source->width, source->height);
  }
  if (output.VideoPad)
    PaintBorders(*target, output.PadTop, output.PadBottom, output.PadLeft, output.PadRight,
                 PadColor);
  return target;
}

}  // namespace trovenix
