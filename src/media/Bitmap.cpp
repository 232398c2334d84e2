#include "media/Bitmap.h"

#include <algorithm>

namespace trovenix {

TBitmap::TBitmap(int width, int height)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      stride_((width_ * 3 + 3) & ~3),
      pixels_(static_cast<std::size_t>(stride_) * height_) {}

TBitmap TurnedBitmap(const TBitmap& bitmap, int degreesClockwise) {
  const int w = bitmap.Width(), h = bitmap.Height();
  const bool swap = degreesClockwise == 90 || degreesClockwise == 270;
  TBitmap turned(swap ? h : w, swap ? w : h);
  for (int y = 0; y < h; ++y) {
    const std::uint8_t* from = bitmap.Row(y);
    for (int x = 0; x < w; ++x) {
      // Where the pixel (x, y) lands in the turned picture.
      int tx = x, ty = y;
      if (degreesClockwise == 90) {
        tx = h - 1 - y;
        ty = x;
      } else if (degreesClockwise == 180) {
        tx = w - 1 - x;
        ty = h - 1 - y;
      } else if (degreesClockwise == 270) {
        tx = y;
        ty = w - 1 - x;
      }
      std::copy_n(from + 3 * x, 3, turned.Row(ty) + 3 * tx);
    }
  }
  return turned;
}

}  // namespace trovenix
