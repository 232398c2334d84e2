// Entry points of libavfilter, bound at run time by the loader.
#pragma once

extern "C" {
#include <libavfilter/avfilter.h>
}

#include "media/AVUtilStubs.h"

#define TROVENIX_AVFILTER_ENTRY_POINTS(X) \
  X(avfilter_graph_free)                  \
  X(avfilter_version)

namespace ff {
TROVENIX_AVFILTER_ENTRY_POINTS(TROVENIX_DECLARE_ENTRY_POINT)
}  // namespace ff
