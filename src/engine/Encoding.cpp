// Handing frames to encoders and their packets to the output.
#include <cstdio>
#include <cstring>

#include "engine/FFmpeg.h"
#include "media/AVCodecStubs.h"
#include "media/AVFormatStubs.h"
#include "media/AVUtilStubs.h"

namespace trovenix {

int TCustomFFmpeg::SendToEncoder(TOutputStreamState& output, AVFrame* frame) {
  AVCodecContext* enc = output.Codec;
  const bool video = enc->codec_type == AVMEDIA_TYPE_VIDEO;
  const char* failed = video ? "Video encoding failed" : "Audio encoding failed";
  const int sent = ff::avcodec_send_frame(enc, frame);
  if (sent < 0 && !(sent == AVERROR_EOF && !frame)) throw FFmpegException(failed);
  PacketPtr packet(ff::av_packet_alloc());
  int lastSize = 0;
  for (;;) {
    const int received = ff::avcodec_receive_packet(enc, packet.get());
    if (received == AVERROR(EAGAIN) || received == AVERROR_EOF) break;
    if (received < 0) throw FFmpegException(failed);
    if (const std::uint8_t* stats = ff::av_packet_get_side_data(packet.get(), AV_PKT_DATA_QUALITY_STATS, nullptr)) {
      std::int32_t quality;
      std::memcpy(&quality, stats, sizeof quality);
      output.Quality = quality;
      output.PictureType = stats[4];
      for (int j = 0; j < 3; ++j)
        std::memcpy(&output.LastError[j], stats + 8 + 8 * j, sizeof(std::uint64_t));
    }
    (video ? VideoSize : AudioSize) += packet->size;
    lastSize = packet->size;
    if (output.LogFile && enc->stats_out) std::fputs(enc->stats_out, output.LogFile.get());
    ff::av_packet_rescale_ts(packet.get(), enc->time_base, output.Stream->time_base);
    packet->stream_index = output.StreamIndex;
    WriteFrame(output, *packet);
    ff::av_packet_unref(packet.get());
  }
  return lastSize;
}

void TCustomFFmpeg::FlushEncoder(TOutputStreamState& output) {
  const AVMediaType type = output.Codec->codec_type;
  if (type == AVMEDIA_TYPE_AUDIO && output.Fifo) DrainAudioFifo(output, true);
  if (type == AVMEDIA_TYPE_AUDIO || type == AVMEDIA_TYPE_VIDEO) SendToEncoder(output, nullptr);
}

}  // namespace trovenix
