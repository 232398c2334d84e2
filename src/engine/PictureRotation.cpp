// The turn runs through the filter library's transpose and flip filters:
// they know every picture format, and a format they cannot turn is
// converted for them by the graph itself.
#include "engine/PictureRotation.h"

#include "engine/FFmpegException.h"
#include "engine/FilterEnds.h"
#include "media/AVFilterStubs.h"
#include "media/AVUtilStubs.h"

namespace trovenix {

bool LinkRotationFilters(AVFilterGraph& graph, AVFilterContext*& last, int degrees) {
  const auto add = [&](const char* name, const char* args) {
    AVFilterContext* filter = nullptr;
    if (ff::avfilter_graph_create_filter(&filter, ff::avfilter_get_by_name(name), name, args,
                                         nullptr, &graph) < 0 ||
        ff::avfilter_link(last, 0, filter, 0) < 0)
      return false;
    last = filter;
    return true;
  };
  switch (degrees) {
    case 90:
      return add("transpose", "dir=clock");
    case 180:
      return add("hflip", nullptr) && add("vflip", nullptr);
    case 270:
      return add("transpose", "dir=cclock");
    default:
      return true;
  }
}

void TPictureRotation::Build(const AVFrame& picture) {
  graph_.reset(ff::avfilter_graph_alloc());
  if (!graph_) throw FFmpegException("Cannot turn the picture: out of memory");
  source_ = sink_ = nullptr;
  const AVRational aspect =
      picture.sample_aspect_ratio.num > 0 ? picture.sample_aspect_ratio : AVRational{1, 1};
  if (!CreateFilterEnds(*graph_, picture.width, picture.height, picture.format, aspect,
                        static_cast<AVPixelFormat>(picture.format), source_, sink_))
    throw FFmpegException("Cannot turn the picture: the filters cannot be made");
  AVFilterContext* last = source_;
  if (!LinkRotationFilters(*graph_, last, degrees_) || ff::avfilter_link(last, 0, sink_, 0) < 0 ||
      ff::avfilter_graph_config(graph_.get(), nullptr) < 0) {
    graph_.reset();
    throw FFmpegException("Cannot turn the picture: the filters cannot be set up");
  }
  width_ = picture.width;
  height_ = picture.height;
  format_ = picture.format;
}

AVFrame* TPictureRotation::Turn(const AVFrame& picture) {
  if (!graph_ || picture.width != width_ || picture.height != height_ || picture.format != format_)
    Build(picture);
  if (!turned_) turned_.reset(ff::av_frame_alloc());
  if (!turned_) throw FFmpegException("Cannot turn the picture: out of memory");
  ff::av_frame_unref(turned_.get());
  if (ff::av_buffersrc_add_frame_flags(source_, const_cast<AVFrame*>(&picture),
                                       AV_BUFFERSRC_FLAG_KEEP_REF) < 0 ||
      ff::av_buffersink_get_frame(sink_, turned_.get()) < 0)
    throw FFmpegException("Cannot turn the picture");
  return turned_.get();
}

}  // namespace trovenix
