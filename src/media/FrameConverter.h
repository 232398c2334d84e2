// Decoded pictures to 24-bit bitmaps.
//
// A converter keeps its bitmap, its conversion buffer and its scaler contexts
// between pictures, so that after the first picture of a given size nothing
// is allocated. Each owner (an engine task's hooks and preview, the player's
// snapshot and hook) has its own converter; one thread uses it at a time.
#pragma once

#include <cstdint>
#include <memory>

#include "media/Bitmap.h"
#include "media/MediaPtr.h"

namespace trovenix {

// Plane pointers and line sizes of a picture.
struct TPicture {
  std::uint8_t* data[4] = {};
  int linesize[4] = {};
};

struct FrameConverter {
  static constexpr int DefaultTargetFormat = 3;  // AV_PIX_FMT_BGR24

  int TargetFormat = DefaultTargetFormat;
  int BitmapFormat = TBitmap::BitsPerPixel;
  std::unique_ptr<TBitmap> Bitmap;
  AvMemoryPtr<std::uint8_t> Buffer;
  int BufferSize = 0;
  TPicture Picture;  // laid over Buffer
  // The picture the bitmap was last filled from: Picture, or the caller's own
  // picture when it was already in TargetFormat.
  const TPicture* CurrentPicture = nullptr;
  ScalerPtr ToBitmapScaler;
  // For the hooks that hand the bitmap back to the video.
  ScalerPtr FromBitmapScaler;
};

// Frees what the converter holds and restores its defaults.
void ResetFrameConverter(FrameConverter& converter);

std::unique_ptr<TBitmap> NewBitmap(int width, int height);

// Converts a picture of the given pixel format and size into the converter's
// bitmap (made on first use with this size; an existing bitmap is reused as it
// is, and rows or bytes beyond it are not written). False when no scaler
// context can be made for the format; the bitmap is then left as it was.
bool PictureToBitmap(FrameConverter& converter, const TPicture& source, int sourceFormat,
                     int height, int width);

}  // namespace trovenix
