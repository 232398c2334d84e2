#include "engine/ContainerCodecs.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "media/AVCodecStubs.h"
#include "media/AVFormatStubs.h"

namespace trovenix {
namespace {

// The codecs for which MPEG-TS has a stream type. Its muxer does not answer
// the library's question and carries anything else as private data, which
// readers show as an unknown data stream.
constexpr AVCodecID TransportStreamCodecs[] = {
    AV_CODEC_ID_MPEG1VIDEO,
    AV_CODEC_ID_MPEG2VIDEO,
    AV_CODEC_ID_MPEG4,
    AV_CODEC_ID_H264,
    AV_CODEC_ID_HEVC,
    AV_CODEC_ID_CAVS,
    AV_CODEC_ID_AVS2,
    AV_CODEC_ID_AVS3,
    AV_CODEC_ID_DIRAC,
    AV_CODEC_ID_VC1,
    AV_CODEC_ID_MP1,
    AV_CODEC_ID_MP2,
    AV_CODEC_ID_MP3,
    AV_CODEC_ID_AAC,
    AV_CODEC_ID_AAC_LATM,
    AV_CODEC_ID_AC3,
    AV_CODEC_ID_EAC3,
    AV_CODEC_ID_DTS,
    AV_CODEC_ID_TRUEHD,
    AV_CODEC_ID_OPUS,
    AV_CODEC_ID_S302M,
    AV_CODEC_ID_PCM_BLURAY,
    AV_CODEC_ID_DVB_SUBTITLE,
    AV_CODEC_ID_DVB_TELETEXT,
    AV_CODEC_ID_HDMV_PGS_SUBTITLE,
    AV_CODEC_ID_SMPTE_KLV,
    AV_CODEC_ID_TIMED_ID3,
};

std::string CodecName(AVCodecID codec) {
  const AVCodecDescriptor* descriptor = ff::avcodec_descriptor_get(codec);
  return descriptor ? descriptor->name : "unknown";
}

}  // namespace

std::string ContainerRefusal(const AVOutputFormat& format, AVCodecID codec) {
  if (codec == AV_CODEC_ID_NONE) return {};
  // The most permissive level: refused is only what the container cannot
  // hold by any means its muxer knows (Matroska, say, takes any audio through
  // its compatibility mapping).
  int holds = ff::avformat_query_codec(&format, codec, FF_COMPLIANCE_EXPERIMENTAL);
  if (holds < 0 && std::strcmp(format.name, "mpegts") == 0)
    holds = std::find(std::begin(TransportStreamCodecs), std::end(TransportStreamCodecs), codec) !=
                    std::end(TransportStreamCodecs)
                ? 1
                : 0;
  if (holds != 0) return {};
  return "Codec " + CodecName(codec) + " cannot be stored in the " + format.name + " container";
}

}  // namespace trovenix
