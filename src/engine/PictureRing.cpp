#include "engine/PictureRing.h"

#include <algorithm>

#include "media/AVUtilStubs.h"

namespace trovenix {

AVFrame* TPictureRing::Writable(int format, int width, int height) {
  const auto other = [&](const FramePtr& p) {
    return p->format != format || p->width != width || p->height != height;
  };
  // Pictures of another size (the stream changed half way) are not used
  // again; whoever still holds one keeps its buffer.
  pictures_.erase(std::remove_if(pictures_.begin(), pictures_.end(), other), pictures_.end());
  for (const FramePtr& picture : pictures_)
    if (ff::av_frame_is_writable(picture.get())) return picture.get();
  FramePtr picture(ff::av_frame_alloc());
  if (!picture) return nullptr;
  picture->format = format;
  picture->width = width;
  picture->height = height;
  if (ff::av_frame_get_buffer(picture.get(), 0) < 0) return nullptr;
  pictures_.push_back(std::move(picture));
  return pictures_.back().get();
}

}  // namespace trovenix
