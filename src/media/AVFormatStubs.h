// Entry points of libavformat, bound at run time by the loader.
#pragma once

extern "C" {
#include <libavformat/avformat.h>
#include <libavformat/avio.h>
}

#include "media/AVUtilStubs.h"

#define TROVENIX_AVFORMAT_ENTRY_POINTS(X) \
  X(av_find_input_format)      \
  X(av_guess_format)           \
  X(av_probe_input_buffer2)    \
  X(av_read_frame)             \
  X(avformat_alloc_context)    \
  X(avformat_close_input)      \
  X(avformat_find_stream_info) \
  X(avformat_free_context)     \
  X(avformat_open_input)       \
  X(avio_closep)               \
  X(avio_open)                 \
  X(avio_size)

namespace ff {
TROVENIX_AVFORMAT_ENTRY_POINTS(TROVENIX_DECLARE_ENTRY_POINT)
}  // namespace ff
