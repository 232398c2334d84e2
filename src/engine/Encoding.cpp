// Handing frames to encoders and their packets to the output.
#include <cstdio>
#include <cstring>

#include "engine/EncoderThread.h"
#include "engine/FFmpeg.h"
#include "media/AVCodecStubs.h"
#include "media/AVFormatStubs.h"
#include "media/AVUtilStubs.h"

namespace trovenix {

void TCustomFFmpeg::WriteEncoded(TOutputStreamState& output, AVPacket& packet, const char* stats) {
  AVCodecContext* enc = output.Codec;
  if (const std::uint8_t* quality = ff::av_packet_get_side_data(&packet, AV_PKT_DATA_QUALITY_STATS, nullptr)) {
    std::int32_t value;
    std::memcpy(&value, quality, sizeof value);
    output.Quality = value;
    output.PictureType = quality[4];
    for (int j = 0; j < 3; ++j)
      std::memcpy(&output.LastError[j], quality + 8 + 8 * j, sizeof(std::uint64_t));
  }
  (enc->codec_type == AVMEDIA_TYPE_VIDEO ? VideoSize : AudioSize) += packet.size;
  if (output.LogFile && stats) std::fputs(stats, output.LogFile.get());
  ff::av_packet_rescale_ts(&packet, enc->time_base, output.Stream->time_base);
  packet.stream_index = output.StreamIndex;
  WriteFrame(output, packet);
}

int TCustomFFmpeg::SendToEncoder(TOutputStreamState& output, AVFrame* frame) {
  AVCodecContext* enc = output.Codec;
  const char* failed = enc->codec_type == AVMEDIA_TYPE_VIDEO ? "Video encoding failed" : "Audio encoding failed";
  int lastSize = 0;
  if (output.Encoder) {
    // Whatever the encoder's thread has finished so far is written now; at
    // the end, everything.
    std::vector<TEncoderThread::TEncoded> encoded;
    if (!output.Encoder->Send(frame) || !output.Encoder->Take(encoded, frame == nullptr))
      throw FFmpegException(failed);
    for (auto& [packet, stats] : encoded) {
      lastSize = packet->size;
      WriteEncoded(output, *packet, stats.empty() ? nullptr : stats.c_str());
    }
    return lastSize;
  }
  const int sent = ff::avcodec_send_frame(enc, frame);
  if (sent < 0 && !(sent == AVERROR_EOF && !frame)) throw FFmpegException(failed);
  if (!output.Packet) output.Packet.reset(ff::av_packet_alloc());
  AVPacket* packet = output.Packet.get();
  for (;;) {
    const int received = ff::avcodec_receive_packet(enc, packet);
    if (received == AVERROR(EAGAIN) || received == AVERROR_EOF) break;
    if (received < 0) throw FFmpegException(failed);
    lastSize = packet->size;
    WriteEncoded(output, *packet, enc->stats_out);
    ff::av_packet_unref(packet);
  }
  return lastSize;
}

void TCustomFFmpeg::FlushEncoder(TOutputStreamState& output) {
  const AVMediaType type = output.Codec->codec_type;
  if (type == AVMEDIA_TYPE_AUDIO && output.Fifo) DrainAudioFifo(output, true);
  if (type == AVMEDIA_TYPE_AUDIO || type == AVMEDIA_TYPE_VIDEO) SendToEncoder(output, nullptr);
}

}  // namespace trovenix
