#include "media/Bitmap.h"

#include <algorithm>

namespace trovenix {

TBitmap::TBitmap(int width, int height)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      stride_((width_ * 3 + 3) & ~3),
      pixels_(static_cast<std::size_t>(stride_) * height_) {}

}  // namespace trovenix
