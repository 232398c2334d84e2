// Entry points of libavcodec, bound at run time by the loader.
#pragma once

extern "C" {
#include <libavcodec/bsf.h>
#include <libavcodec/avcodec.h>
}

#include "media/AVUtilStubs.h"

#define TROVENIX_AVCODEC_ENTRY_POINTS(X) \
  X(av_bsf_get_by_name)     \
  X(av_packet_alloc)        \
  X(av_packet_free)         \
  X(avcodec_alloc_context3) \
  X(avcodec_descriptor_get) \
  X(avcodec_find_decoder)   \
  X(avcodec_find_encoder)   \
  X(avcodec_free_context)

namespace ff {
TROVENIX_AVCODEC_ENTRY_POINTS(TROVENIX_DECLARE_ENTRY_POINT)
}  // namespace ff
