// Entry points of libswresample, bound at run time by the loader.
#pragma once

extern "C" {
#include <libswresample/swresample.h>
}

#include "media/AVUtilStubs.h"

#define TROVENIX_SWRESAMPLE_ENTRY_POINTS(X) \
  X(swr_free)                               \
  X(swresample_version)

namespace ff {
TROVENIX_SWRESAMPLE_ENTRY_POINTS(TROVENIX_DECLARE_ENTRY_POINT)
}  // namespace ff
