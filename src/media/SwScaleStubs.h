// Entry points of libswscale, bound at run time by the loader.
#pragma once

extern "C" {
#include <libswscale/swscale.h>
}

#include "media/AVUtilStubs.h"

#define TROVENIX_SWSCALE_ENTRY_POINTS(X) \
  X(sws_alloc_context)    \
  X(sws_freeContext)      \
  X(sws_getCachedContext) \
  X(sws_getContext)       \
  X(sws_isSupportedInput) \
  X(sws_isSupportedOutput) \
  X(sws_scale)

namespace ff {
TROVENIX_SWSCALE_ENTRY_POINTS(TROVENIX_DECLARE_ENTRY_POINT)
}  // namespace ff
