// Every decoded picture on its way to the video outputs: counted, handed to
// the frame-hook chain or the custom hook, deinterlaced.
#include <algorithm>
#include <cstring>
#include <exception>

#include "engine/FFmpeg.h"
#include "media/AVUtilStubs.h"
#include "media/SwScaleStubs.h"

namespace trovenix {
namespace {

TPicture ViewOf(const AVFrame& frame) {
  TPicture view;
  for (int i = 0; i < 4; ++i) {
    view.data[i] = frame.data[i];
    view.linesize[i] = frame.linesize[i];
  }
  return view;
}

std::string ErrorText(std::exception_ptr error) {
  try {
    std::rethrow_exception(std::move(error));
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "unknown error";
  }
}

// A writable copy of the picture in copy, whose buffers are kept from one
// picture to the next while nobody else holds them.
bool CopyPicture(const AVFrame& picture, AVFrame& copy) {
  if (copy.width != picture.width || copy.height != picture.height ||
      copy.format != picture.format || !copy.buf[0]) {
    ff::av_frame_unref(&copy);
    copy.width = picture.width;
    copy.height = picture.height;
    copy.format = picture.format;
    if (ff::av_frame_get_buffer(&copy, 0) < 0) return false;
  } else if (ff::av_frame_make_writable(&copy) < 0) {
    return false;
  }
  return ff::av_frame_copy(&copy, &picture) >= 0;
}

}  // namespace

void TCustomFFmpeg::PreprocessVideoFrame(TInputStreamState& input, AVFrame& picture) {
  HookFrameCount += 1;
  const std::int64_t pts = input.Pts;

  if (!CustomHookCallback && UsingVhook) {
    if (BeforeHookCallback) {
      try {
        BeforeHookCallback(pts, HookAction);
      } catch (...) {
        Log("Error occurs OnBeforeHook: " + ErrorText(std::current_exception()), 0);
        HookAction = THookAction::haStop;
      }
      if (HookAction == THookAction::haStop) UsingVhook = false;
    } else if (!HookRanges.empty()) {
      // Ranges are sorted by their end, and pictures come in time order: the
      // walk never goes back, and ends for good past the last range.
      HookAction = THookAction::haIgnore;
      const int last = static_cast<int>(HookRanges.size()) - 1;
      for (int i = std::max(HookRangeIndex, 0); i <= last; ++i) {
        const THookRange& range = HookRanges[static_cast<std::size_t>(i)];
        if (range.Start <= pts && pts <= range.End) {
          HookRangeIndex = i;
          HookAction = THookAction::haContinue;
          break;
        }
        if (i == last && pts > range.End) {
          HookAction = THookAction::haStop;
          UsingVhook = false;
        }
      }
    }
  }

  const bool chain = UsingVhook && HookAction == THookAction::haContinue;
  const bool hooks = CustomHookCallback || chain;
  if (!Deinterlace && !hooks) return;

  if (!HookPicture) HookPicture.reset(ff::av_frame_alloc());
  AVFrame* copy = HookPicture.get();
  if (!copy) {
    Log("hook buf malloc error.", 0);
    return;
  }
  bool deinterlaced = false;
  if (Deinterlace) {
    deinterlaced = Deinterlacer.Run(picture, *copy);
    if (!deinterlaced) Log("Deinterlacing failed.", 0);
  }
  if (hooks) {
    // Hooks draw on a copy of their own: the decoder may still read the
    // picture it gave out as a reference for the next ones.
    const bool ready =
        deinterlaced ? ff::av_frame_make_writable(copy) >= 0 : CopyPicture(picture, *copy);
    if (!ready) {
      Log("hook buf malloc error.", 0);
      return;
    }
    if (CustomHookCallback) {
      RunCustomHook(*copy, pts);
    } else {
      TPicture view = ViewOf(*copy);
      FrameHooks.Process(view, copy->format, copy->width, copy->height, pts);
    }
  } else if (!deinterlaced) {
    return;  // the picture goes on as decoded
  }

  // The outputs take the processed copy, with the decoded picture's times.
  ff::av_frame_copy_props(copy, &picture);
  if (deinterlaced) copy->interlaced_frame = 0;
  ff::av_frame_unref(&picture);
  if (ff::av_frame_ref(&picture, copy) < 0) throw FFmpegException("av_malloc fail");
}

void TCustomFFmpeg::RunCustomHook(AVFrame& picture, std::int64_t ptsUs) {
  const int width = picture.width, height = picture.height, format = picture.format;
  TPicture view = ViewOf(picture);
  FrameConverter& converter = HookConverter;
  if (converter.Bitmap &&
      (converter.Bitmap->Width() != width || converter.Bitmap->Height() != height))
    converter.Bitmap.reset();  // the stream changed its picture size

  bool stop = false;
  if (!PictureToBitmap(converter, view, format, height, width)) {
    Log("Cannot initialize the toRGB conversion context", 0);
    stop = true;
  } else {
    bool update = true;
    try {
      CustomHookCallback(*converter.Bitmap, HookFrameCount, ptsUs, update, stop);
    } catch (...) {
      Log("Error occurs OnCustomHook: " + ErrorText(std::current_exception()), 0);
      update = false;
    }
    if (update) {
      const TBitmap& bitmap = *converter.Bitmap;
      const TPicture& current = *converter.CurrentPicture;
      const auto rowBytes = static_cast<std::size_t>(width) * 3;
      for (int r = 0; r < height; ++r)
        std::memcpy(current.data[0] + static_cast<std::ptrdiff_t>(r) * current.linesize[0],
                    bitmap.Row(r), rowBytes);
      if (format != converter.TargetFormat) {
        converter.FromBitmapScaler.reset(ff::sws_getCachedContext(
            converter.FromBitmapScaler.release(), width, height,
            static_cast<AVPixelFormat>(converter.TargetFormat), width, height,
            static_cast<AVPixelFormat>(format), SWS_BICUBIC, nullptr, nullptr, nullptr));
        if (converter.FromBitmapScaler) {
          ff::sws_scale(converter.FromBitmapScaler.get(), current.data, current.linesize, 0, height,
                        view.data, view.linesize);
        } else {
          Log("Cannot initialize the fromRGB conversion context", 0);
          stop = true;
        }
      }
    }
  }
  if (stop) {
    // Neither the custom hook nor the frame-hook chain runs again in this task.
    CustomHookCallback = nullptr;
    HookAction = THookAction::haStop;
    UsingVhook = false;
  }
}

void TCustomFFmpeg::ReleaseHookState() {
  std::unique_ptr<IPreviewWindow> window;
  {
    const std::lock_guard<std::mutex> lock(PreviewLock());
    window = std::move(Previewer);
  }
  window.reset();  // outside the lock: closing may wait for the user interface
  ResetFrameConverter(PreviewConverter);
  ResetFrameConverter(HookConverter);
  HookPicture.reset();
  Deinterlacer.Reset();
  VstatsFile.reset();
  LastPreviewTime = 0;
  HookFrameCount = 0;
  HookAction = THookAction::haContinue;
}

}  // namespace trovenix
