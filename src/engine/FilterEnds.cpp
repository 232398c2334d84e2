#include "engine/FilterEnds.h"

#include <cstdint>
#include <cstdio>

#include "media/AVFilterStubs.h"
#include "media/AVUtilStubs.h"

namespace trovenix {

bool CreateFilterEnds(AVFilterGraph& graph, int width, int height, int format, AVRational aspect,
                      AVPixelFormat out, AVFilterContext*& source, AVFilterContext*& sink) {
  char args[160];
  std::snprintf(args, sizeof args, "video_size=%dx%d:pix_fmt=%d:time_base=1/1000000:pixel_aspect=%d/%d",
                width, height, format, aspect.num, aspect.den > 0 ? aspect.den : 1);
  return ff::avfilter_graph_create_filter(&source, ff::avfilter_get_by_name("buffer"), "src", args,
                                          nullptr, &graph) >= 0 &&
         ff::avfilter_graph_create_filter(&sink, ff::avfilter_get_by_name("buffersink"), "out", nullptr,
                                          nullptr, &graph) >= 0 &&
         ff::av_opt_set_bin(sink, "pix_fmts", reinterpret_cast<const std::uint8_t*>(&out), sizeof out,
                            AV_OPT_SEARCH_CHILDREN) >= 0;
}

}  // namespace trovenix
