#include "engine/Deinterlacer.h"

#include "engine/FilterEnds.h"
#include "media/AVFilterStubs.h"
#include "media/AVUtilStubs.h"

namespace trovenix {

void TDeinterlacer::Reset() {
  graph_.reset();
  source_ = sink_ = nullptr;
  width_ = height_ = 0;
  format_ = -1;
  failed_ = false;
}

bool TDeinterlacer::Configure(const AVFrame& picture) {
  if (graph_ || failed_) {
    if (picture.width == width_ && picture.height == height_ && picture.format == format_)
      return !failed_;
    Reset();
  }
  width_ = picture.width;
  height_ = picture.height;
  format_ = picture.format;
  failed_ = true;
  FilterGraphPtr graph(ff::avfilter_graph_alloc());
  const AVFilter* deinterlace = ff::avfilter_get_by_name("pp");
  if (!graph || !deinterlace) return false;
  AVFilterContext* source = nullptr;
  AVFilterContext* filter = nullptr;
  AVFilterContext* sink = nullptr;
  // The picture leaves in the format it came in; the graph converts around
  // the filter when the filter cannot take that format itself.
  if (!CreateFilterEnds(*graph, picture.width, picture.height, picture.format, picture.sample_aspect_ratio,
                        static_cast<AVPixelFormat>(picture.format), source, sink) ||
      ff::avfilter_graph_create_filter(&filter, deinterlace, "deinterlace", "fd", nullptr,
                                       graph.get()) < 0 ||
      ff::avfilter_link(source, 0, filter, 0) < 0 || ff::avfilter_link(filter, 0, sink, 0) < 0 ||
      ff::avfilter_graph_config(graph.get(), nullptr) < 0)
    return false;
  graph_ = std::move(graph);
  source_ = source;
  sink_ = sink;
  failed_ = false;
  return true;
}

bool TDeinterlacer::Run(AVFrame& picture, AVFrame& out) {
  ff::av_frame_unref(&out);
  if (!Configure(picture)) return false;
  if (ff::av_buffersrc_add_frame_flags(source_, &picture, AV_BUFFERSRC_FLAG_KEEP_REF) < 0)
    return false;
  if (ff::av_buffersink_get_frame(sink_, &out) >= 0) return true;
  // A graph that holds a picture back is out of step with the stream; start
  // over with the next picture.
  Reset();
  return false;
}

}  // namespace trovenix
