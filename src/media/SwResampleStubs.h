// Entry points of libswresample, bound at run time by the loader.
#pragma once

extern "C" {
#include <libswresample/swresample.h>
}

#include "media/AVUtilStubs.h"

#define TROVENIX_SWRESAMPLE_ENTRY_POINTS(X) \
  X(swr_alloc_set_opts2)  \
  X(swr_convert)          \
  X(swr_free)             \
  X(swr_get_out_samples)  \
  X(swr_init)             \
  X(swr_set_compensation) \
  X(swresample_version)

namespace ff {
TROVENIX_SWRESAMPLE_ENTRY_POINTS(TROVENIX_DECLARE_ENTRY_POINT)
}  // namespace ff
