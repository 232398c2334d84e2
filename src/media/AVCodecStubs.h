// Entry points of libavcodec, bound at run time by the loader.
#pragma once

extern "C" {
#include <libavcodec/bsf.h>
#include <libavcodec/avcodec.h>
}

#include "media/AVUtilStubs.h"

#define TROVENIX_AVCODEC_ENTRY_POINTS(X) \
  X(av_bsf_alloc)                    \
  X(av_bsf_free)                     \
  X(av_bsf_get_by_name)              \
  X(av_bsf_init)                     \
  X(av_bsf_receive_packet)           \
  X(av_bsf_send_packet)              \
  X(av_new_packet)                   \
  X(av_packet_alloc)                 \
  X(av_packet_free)                  \
  X(av_packet_get_side_data)         \
  X(av_packet_ref)                   \
  X(av_packet_rescale_ts)            \
  X(av_packet_unref)                 \
  X(avcodec_alloc_context3)          \
  X(avcodec_decode_subtitle2)        \
  X(avcodec_descriptor_get)          \
  X(avcodec_encode_subtitle)         \
  X(avcodec_find_decoder)            \
  X(avcodec_find_decoder_by_name)    \
  X(avcodec_find_encoder)            \
  X(avcodec_find_encoder_by_name)    \
  X(avcodec_flush_buffers)           \
  X(avcodec_free_context)            \
  X(avcodec_open2)                   \
  X(avcodec_parameters_copy)         \
  X(avcodec_parameters_from_context) \
  X(avcodec_parameters_to_context)   \
  X(avcodec_receive_frame)           \
  X(avcodec_receive_packet)          \
  X(avcodec_send_frame)              \
  X(avcodec_send_packet)             \
  X(avsubtitle_free)

namespace ff {
TROVENIX_AVCODEC_ENTRY_POINTS(TROVENIX_DECLARE_ENTRY_POINT)
}  // namespace ff
