// Decoded pictures turned upright by the quarter turns their stream's
// display matrix asks for, before they are cropped and scaled.
#pragma once

#include "media/MediaPtr.h"

extern "C" {
struct AVFilterContext;
struct AVFilterGraph;
struct AVFrame;
}

namespace trovenix {

// Adds the filters that turn a picture by degrees clockwise (90, 180 or 270)
// to the graph behind last, which then names the last of them; false when
// they cannot be made. Nothing for 0.
bool LinkRotationFilters(AVFilterGraph& graph, AVFilterContext*& last, int degrees);

class TPictureRotation {
 public:
  explicit TPictureRotation(int degreesClockwise) : degrees_(degreesClockwise) {}

  int Degrees() const { return degrees_; }

  // The picture turned, in its own format; valid until the next call. The
  // turning graph follows the pictures that arrive, so a stream that changes
  // its size half way is turned all the same. Throws FFmpegException when
  // the libraries cannot turn it.
  AVFrame* Turn(const AVFrame& picture);

 private:
  void Build(const AVFrame& picture);

  int degrees_;
  FilterGraphPtr graph_;
  AVFilterContext* source_ = nullptr;
  AVFilterContext* sink_ = nullptr;
  FramePtr turned_;
  int width_ = 0, height_ = 0, format_ = -1;
};

}  // namespace trovenix
