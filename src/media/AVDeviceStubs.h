// Entry points of libavdevice, bound at run time by the loader.
#pragma once

extern "C" {
#include <libavdevice/avdevice.h>
}

#include "media/AVUtilStubs.h"

#define TROVENIX_AVDEVICE_ENTRY_POINTS(X) X(avdevice_register_all)

namespace ff {
TROVENIX_AVDEVICE_ENTRY_POINTS(TROVENIX_DECLARE_ENTRY_POINT)
}  // namespace ff
