// The pictures a task scales or pads into. The encoder (and its thread's
// queue) holds the latest ones for a while; a picture it has let go is drawn
// into again, so a conversion keeps reusing a few buffers instead of mapping
// fresh memory for every picture.
#pragma once

#include <vector>

#include "media/MediaPtr.h"

namespace trovenix {

class TPictureRing {
 public:
  // A picture of that format and size that nobody else holds; nullptr when
  // no buffer could be allocated.
  AVFrame* Writable(int format, int width, int height);
  bool Empty() const { return pictures_.empty(); }

 private:
  std::vector<FramePtr> pictures_;
};

}  // namespace trovenix
