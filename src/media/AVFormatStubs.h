// Entry points of libavformat, bound at run time by the loader.
#pragma once

extern "C" {
#include <libavformat/avformat.h>
#include <libavformat/avio.h>
}

#include "media/AVUtilStubs.h"

#define TROVENIX_AVFORMAT_ENTRY_POINTS(X) \
  X(av_codec_get_id)                \
  X(av_codec_get_tag)               \
  X(av_dump_format)                 \
  X(av_filename_number_test)        \
  X(av_find_input_format)           \
  X(av_guess_codec)                 \
  X(av_guess_format)                \
  X(av_interleaved_write_frame)     \
  X(av_pkt_dump_log2)               \
  X(av_probe_input_buffer2)         \
  X(av_read_frame)                  \
  X(av_read_pause)                  \
  X(av_read_play)                   \
  X(av_seek_frame)                  \
  X(av_stream_get_side_data)        \
  X(av_stream_new_side_data)        \
  X(av_write_trailer)               \
  X(avformat_alloc_context)         \
  X(avformat_alloc_output_context2) \
  X(avformat_close_input)           \
  X(avformat_find_stream_info)      \
  X(avformat_free_context)          \
  X(avformat_new_stream)            \
  X(avformat_open_input)            \
  X(avformat_query_codec)           \
  X(avformat_write_header)          \
  X(avio_closep)                    \
  X(avio_open)                      \
  X(avio_seek)                      \
  X(avio_size)

namespace ff {
TROVENIX_AVFORMAT_ENTRY_POINTS(TROVENIX_DECLARE_ENTRY_POINT)
}  // namespace ff
