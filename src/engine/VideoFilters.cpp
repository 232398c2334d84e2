// The "vfilters" chain: decoded pictures pass a filter graph before encoding.
#include <cstdio>

#include "engine/FFmpeg.h"
#include "engine/FilterConflicts.h"
#include "engine/FilterEnds.h"
#include "engine/PictureRotation.h"
#include "engine/PictureScaler.h"
#include "media/AVCodecStubs.h"
#include "media/AVFilterStubs.h"
#include "media/AVFormatStubs.h"
#include "media/AVUtilStubs.h"
#include "media/DisplayRotation.h"

namespace trovenix {
namespace {

struct InOutFreer {
  void operator()(AVFilterInOut* list) const { ff::avfilter_inout_free(&list); }
};
using InOutPtr = std::unique_ptr<AVFilterInOut, InOutFreer>;

InOutPtr Endpoint(const char* name, AVFilterContext* filter) {
  InOutPtr end(ff::avfilter_inout_alloc());
  end->name = ff::av_strdup(name);
  end->filter_ctx = filter;
  end->pad_idx = 0;
  end->next = nullptr;
  return end;
}

}  // namespace

int TCustomFFmpeg::ConfigureFilters(TInputStreamState& input, TOutputStreamState& output) {
  if (CropTop + CropBottom + CropLeft + CropRight != 0) {
    LastError = CropWithFiltersText;
    return -1;
  }
  AVCodecContext* c = output.Codec;
  const AVCodecParameters* in = input.Stream->codecpar;
  // The buffer source must be told the picture's format and size up front.
  if (!SourcePictureKnown(*in)) {
    LastError = "the picture format of the source is not known";
    return -1;
  }
  FilterGraphPtr graph(ff::avfilter_graph_alloc());
  if (!graph) return -1;
  AVFilterContext* source = nullptr;
  AVFilterContext* sink = nullptr;
  if (!CreateFilterEnds(*graph, in->width, in->height, in->format, in->sample_aspect_ratio,
                        c->pix_fmt, source, sink))
    return -1;

  // The turn comes first, so that the user's filters see the picture upright.
  AVFilterContext* last = source;
  const int rotation = DisplayRotationDegrees(*input.Stream);
  if (!LinkRotationFilters(*graph, last, rotation)) return -1;
  const int inWidth = SwapsSides(rotation) ? in->height : in->width;
  const int inHeight = SwapsSides(rotation) ? in->width : in->height;
  const int padX = PadLeft + PadRight, padY = PadTop + PadBottom;
  if (inWidth + padX != c->width || inHeight + padY != c->height) {
    std::int64_t flags = SwsFlags;
    ff::av_opt_get_int(OptionContexts.SwsOpts.get(), "sws_flags", 0, &flags);
    char args[96];
    std::snprintf(args, sizeof args, "w=%d:h=%d:flags=0x%llx", c->width - padX, c->height - padY,
                  static_cast<unsigned long long>(flags));
    AVFilterContext* scale = nullptr;
    if (ff::avfilter_graph_create_filter(&scale, ff::avfilter_get_by_name("scale"), "scale", args,
                                         nullptr, graph.get()) < 0 ||
        ff::avfilter_link(last, 0, scale, 0) < 0)
      return -1;
    last = scale;
  }
  if (!VideoFilters.empty()) {
    InOutPtr outputs = Endpoint("in", last);
    InOutPtr inputs = Endpoint("out", sink);
    AVFilterInOut* open = inputs.release();
    AVFilterInOut* opened = outputs.release();
    const int parsed =
        ff::avfilter_graph_parse_ptr(graph.get(), VideoFilters.c_str(), &open, &opened, nullptr);
    ff::avfilter_inout_free(&open);
    ff::avfilter_inout_free(&opened);
    if (parsed < 0) return -1;
  } else if (ff::avfilter_link(last, 0, sink, 0) < 0) {
    return -1;
  }
  if (ff::avfilter_graph_config(graph.get(), nullptr) < 0) return -1;

  const int w = ff::av_buffersink_get_w(sink), h = ff::av_buffersink_get_h(sink);
  if (padX + padY != 0 && !(w == FrameWidth && h == FrameHeight)) {
    LastError = PadWithResizingFiltersText;
    return -1;
  }
  c->width = w + padX;
  c->height = h + padY;
  input.FilterGraph = std::move(graph);
  input.FilterSource = source;
  input.FilterSink = sink;
  input.FilteredPicture.reset(ff::av_frame_alloc());
  return 0;
}

}  // namespace trovenix
