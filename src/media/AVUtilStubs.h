// Entry points of libavutil, bound at run time by the loader.
#pragma once

extern "C" {
#include <libavutil/avutil.h>
#include <libavutil/dict.h>
#include <libavutil/error.h>
#include <libavutil/frame.h>
#include <libavutil/imgutils.h>
#include <libavutil/mem.h>
#include <libavutil/parseutils.h>
#include <libavutil/pixdesc.h>
}

#define TROVENIX_AVUTIL_ENTRY_POINTS(X) \
  X(av_dict_free)                       \
  X(av_dict_get)                        \
  X(av_dict_set)                        \
  X(av_frame_alloc)                     \
  X(av_frame_free)                      \
  X(av_frame_get_buffer)                \
  X(av_free)                            \
  X(av_freep)                           \
  X(av_get_pix_fmt_name)                \
  X(av_image_fill_arrays)               \
  X(av_image_get_buffer_size)           \
  X(av_log)                             \
  X(av_log_default_callback)            \
  X(av_log_get_level)                   \
  X(av_log_set_callback)                \
  X(av_log_set_level)                   \
  X(av_malloc)                          \
  X(av_mallocz)                         \
  X(av_parse_time)                      \
  X(av_rescale_q)                       \
  X(av_strdup)                          \
  X(av_strerror)

namespace ff {
#define TROVENIX_DECLARE_ENTRY_POINT(name) extern decltype(&::name) name;
TROVENIX_AVUTIL_ENTRY_POINTS(TROVENIX_DECLARE_ENTRY_POINT)
}  // namespace ff
