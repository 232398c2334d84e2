#include "media/FrameConverter.h"

#include <algorithm>
#include <cstring>

#include "media/AVUtilStubs.h"
#include "media/SwScaleStubs.h"

namespace trovenix {

void ResetFrameConverter(FrameConverter& converter) { converter = FrameConverter{}; }

std::unique_ptr<TBitmap> NewBitmap(int width, int height) {
  return std::make_unique<TBitmap>(width, height);
}

bool PictureToBitmap(FrameConverter& converter, const TPicture& source, int sourceFormat,
                     int height, int width) {
  if (!converter.Bitmap) converter.Bitmap = NewBitmap(width, height);
  const auto target = static_cast<AVPixelFormat>(converter.TargetFormat);
  if (sourceFormat == converter.TargetFormat) {
    converter.CurrentPicture = &source;
  } else if (!ff::sws_isSupportedInput(static_cast<AVPixelFormat>(sourceFormat))) {
    // The scaler aborts the process on formats it cannot read; refuse them here.
    return false;
  } else {
    const int size = ff::av_image_get_buffer_size(target, width, height, 1);
    if (size <= 0) return false;
    if (!converter.Buffer || size > converter.BufferSize) {
      converter.Buffer.reset(static_cast<std::uint8_t*>(ff::av_malloc(size)));
      converter.BufferSize = size;
    }
    TPicture& picture = converter.Picture;
    ff::av_image_fill_arrays(picture.data, picture.linesize, converter.Buffer.get(), target, width,
                             height, 1);
    converter.ToBitmapScaler.reset(ff::sws_getCachedContext(
        converter.ToBitmapScaler.release(), width, height, static_cast<AVPixelFormat>(sourceFormat),
        width, height, target, SWS_BICUBIC, nullptr, nullptr, nullptr));
    if (!converter.ToBitmapScaler) return false;
    ff::sws_scale(converter.ToBitmapScaler.get(), source.data, source.linesize, 0, height,
                  picture.data, picture.linesize);
    converter.CurrentPicture = &picture;
  }
  TBitmap& bitmap = *converter.Bitmap;
  const TPicture& current = *converter.CurrentPicture;
  const int rows = std::min(height, bitmap.Height());
  const int bytes = std::min(current.linesize[0], bitmap.Stride());
  for (int r = 0; r < rows; ++r)
    std::memcpy(bitmap.Row(r), current.data[0] + static_cast<std::ptrdiff_t>(r) * current.linesize[0],
                static_cast<std::size_t>(std::max(bytes, 0)));
  return true;
}

}  // namespace trovenix
