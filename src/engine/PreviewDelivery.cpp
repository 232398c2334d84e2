// Encoded pictures to the preview window or the preview bitmap event.
//
// Showing a picture waits for the user-interface thread, which may itself be
// waiting for PreviewLock() in SetPreviewFlags. The lock is therefore taken
// only to read and change the switches and to take the window out of the
// task, never across the wait.
#include "engine/FFmpeg.h"
#include "media/AVCodecStubs.h"
#include "media/AVUtilStubs.h"

namespace trovenix {
namespace {

constexpr std::uint8_t PreviewWindowBit = 1;
constexpr std::uint8_t PreviewBitmapBit = 2;

}  // namespace

void TCustomFFmpeg::DeliverPreview(const AVFrame& picture, const AVCodecContext& enc) {
  std::uint8_t mode = 0;
  std::unique_ptr<IPreviewWindow> window;
  {
    const std::lock_guard<std::mutex> lock(PreviewLock());
    if ((PreviewFlags & PreviewBitmapBit) && PreviewBitmapCallback)
      mode = PreviewBitmapBit;
    else if (PreviewFlags & PreviewWindowBit)
      mode = PreviewWindowBit;
    else
      return;
    const std::int64_t now = ff::av_gettime();
    if (now - LastPreviewTime <= PreviewInterval) return;
    LastPreviewTime = now;
    // Taken out while it is in use, so that switching the preview off
    // meanwhile cannot free it under the call.
    if (mode == PreviewWindowBit) window = std::move(Previewer);
  }

  TPicture view;
  for (int i = 0; i < 4; ++i) {
    view.data[i] = picture.data[i];
    view.linesize[i] = picture.linesize[i];
  }
  FrameConverter& converter = PreviewConverter;
  if (converter.Bitmap &&
      (converter.Bitmap->Width() != picture.width || converter.Bitmap->Height() != picture.height))
    converter.Bitmap.reset();
  const std::int64_t ptsUs =
      picture.pts == AV_NOPTS_VALUE
          ? AV_NOPTS_VALUE
          : ff::av_rescale_q(picture.pts, enc.time_base, AVRational{1, 1000000});
  bool keep = true;
  if (!PictureToBitmap(converter, view, picture.format, picture.height, picture.width)) {
    Log("Cannot initialize the toRGB conversion context", 0);
    keep = false;
  } else if (mode == PreviewBitmapBit) {
    PreviewBitmapCallback(*converter.Bitmap, ptsUs, HookFrameCount);
  } else {
    if (!window) window = NewPreviewWindow();
    // Without a window (none can be made here) the switch goes off as for a
    // closed one.
    keep = window && window->ShowFrame(*converter.Bitmap, HookFrameCount, ptsUs);
  }

  {
    const std::lock_guard<std::mutex> lock(PreviewLock());
    // Only this mode's switch goes off: the other one may have been changed
    // from the user interface meanwhile.
    if (!keep) PreviewFlags = static_cast<std::uint8_t>(PreviewFlags & ~mode);
    if (window && keep && (PreviewFlags & PreviewWindowBit) && !Previewer)
      Previewer = std::move(window);
  }
  // A window closed by the user or switched off is released here, outside
  // the lock; a closed window is never shown again.
}

}  // namespace trovenix
