// Deinterlacing of decoded pictures through a small filter graph. Every
// second line is rebuilt from its neighbours (-1 4 2 4 -1); the filter works
// on one picture at a time, so a picture comes out for each one that goes in
// and nothing is held back at the end of a stream.
#pragma once

#include "media/MediaPtr.h"

extern "C" {
struct AVFilterContext;
}

namespace trovenix {

class TDeinterlacer {
 public:
  // Writes the deinterlaced picture into out (which is unreferenced first);
  // the picture itself is not changed. False when no filter can be set up
  // for the picture's size and format, or it gives no picture. The graph is
  // made on first use and again only when size or format change.
  bool Run(AVFrame& picture, AVFrame& out);
  void Reset();

 private:
  bool Configure(const AVFrame& picture);

  FilterGraphPtr graph_;
  AVFilterContext* source_ = nullptr;
  AVFilterContext* sink_ = nullptr;
  int width_ = 0, height_ = 0, format_ = -1;
  bool failed_ = false;  // the graph for this size and format cannot be made
};

}  // namespace trovenix
