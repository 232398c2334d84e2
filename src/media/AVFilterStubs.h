// Entry points of libavfilter, bound at run time by the loader.
#pragma once

extern "C" {
#include <libavfilter/buffersrc.h>
#include <libavfilter/buffersink.h>
#include <libavfilter/avfilter.h>
}

#include "media/AVUtilStubs.h"

#define TROVENIX_AVFILTER_ENTRY_POINTS(X) \
  X(av_buffersink_get_frame)      \
  X(av_buffersink_get_h)          \
  X(av_buffersink_get_w)          \
  X(av_buffersrc_add_frame_flags) \
  X(avfilter_get_by_name)         \
  X(avfilter_graph_alloc)         \
  X(avfilter_graph_config)        \
  X(avfilter_graph_create_filter) \
  X(avfilter_graph_free)          \
  X(avfilter_graph_parse_ptr)     \
  X(avfilter_inout_alloc)         \
  X(avfilter_inout_free)          \
  X(avfilter_link)                \
  X(avfilter_version)

namespace ff {
TROVENIX_AVFILTER_ENTRY_POINTS(TROVENIX_DECLARE_ENTRY_POINT)
}  // namespace ff
