// One packet of an input stream: decoded or passed through, then handed to
// every output stream it feeds.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>

#include "engine/EncoderThread.h"
#include "engine/FFmpeg.h"
#include "media/AVCodecStubs.h"
#include "media/AVFilterStubs.h"
#include "media/AVFormatStubs.h"
#include "media/AVUtilStubs.h"
#include "media/ProbeTexts.h"

namespace trovenix {
namespace {

constexpr AVRational MicrosecondBase{1, 1000000};

// Length of a packet or frame of an input stream in microseconds, when known.
std::int64_t PacketDurationUs(const TInputStreamState& input, std::int64_t duration) {
  const AVStream* stream = input.Stream;
  if (duration > 0) return ff::av_rescale_q(duration, stream->time_base, MicrosecondBase);
  const AVCodecParameters* par = stream->codecpar;
  if (par->codec_type == AVMEDIA_TYPE_VIDEO && stream->r_frame_rate.num > 0)
    return ff::av_rescale_q(1, av_inv_q(stream->r_frame_rate), MicrosecondBase);
  if (par->codec_type == AVMEDIA_TYPE_AUDIO && par->sample_rate > 0 && par->frame_size > 0)
    return static_cast<std::int64_t>(par->frame_size) * 1000000 / par->sample_rate;
  return 0;
}

}  // namespace

int TCustomFFmpeg::ProcessPacket(TInputStreamState& input, int inputIndex, const AVPacket* packet) {
  if (input.NextPts == AV_NOPTS_VALUE) input.NextPts = input.Pts;
  if (packet && packet->dts != AV_NOPTS_VALUE)
    input.Pts = input.NextPts = ff::av_rescale_q(packet->dts, input.Stream->time_base, MicrosecondBase);

  if (!input.DecodingNeeded) {
    if (!packet) return 0;
    input.Pts = input.NextPts;
    input.NextPts += PacketDurationUs(input, packet->duration);
    RateEmulation(input);
    if (StartTime == 0 || input.Pts >= StartTime)
      for (auto& output : Run.OutputStreams)
        if (output->SourceIndex == inputIndex) CopyPacket(*output, input, *packet);
    return 0;
  }

  AVCodecContext* decoder = input.Decoder.get();
  const std::int64_t packetPts = packet ? packet->pts : AV_NOPTS_VALUE;
  if (decoder->codec_type == AVMEDIA_TYPE_SUBTITLE) {
    if (!packet) return 0;
    AVSubtitle subtitle{};
    int got = 0;
    if (ff::avcodec_decode_subtitle2(decoder, &subtitle, &got, const_cast<AVPacket*>(packet)) < 0)
      return -1;
    if (got) {
      struct Release {
        AVSubtitle* s;
        ~Release() { ff::avsubtitle_free(s); }
      } release{&subtitle};
      input.Pts = input.NextPts;
      if (StartTime == 0 || input.Pts >= StartTime)
        DeliverDecoded(input, inputIndex, nullptr, &subtitle, packetPts);
    }
    return 0;
  }

  const int sent = ff::avcodec_send_packet(decoder, packet);
  if (sent < 0 && sent != AVERROR_EOF) return -1;
  AVFrame* frame = input.Frame.get();
  for (;;) {
    const int received = ff::avcodec_receive_frame(decoder, frame);
    if (received == AVERROR(EAGAIN) || received == AVERROR_EOF) break;
    if (received < 0) return -1;
    input.Pts = frame->best_effort_timestamp != AV_NOPTS_VALUE
                    ? ff::av_rescale_q(frame->best_effort_timestamp, input.Stream->time_base,
                                       MicrosecondBase)
                    : input.NextPts;
    const std::int64_t lengthUs =
        decoder->codec_type == AVMEDIA_TYPE_AUDIO && frame->sample_rate > 0
            ? static_cast<std::int64_t>(frame->nb_samples) * 1000000 / frame->sample_rate
            : PacketDurationUs(input, frame->pkt_duration);
    input.NextPts = input.Pts + lengthUs;
    if (decoder->codec_type == AVMEDIA_TYPE_AUDIO) ApplyVolumeTo(*frame);
    if (decoder->codec_type == AVMEDIA_TYPE_VIDEO) PreprocessVideoFrame(input, *frame);
    RateEmulation(input);
    if (input.FilterSource) {
      frame->pts = input.Pts;
      FilterPicture(input, inputIndex, frame);
    } else if (StartTime == 0 || input.Pts >= StartTime) {
      DeliverDecoded(input, inputIndex, frame, nullptr, packetPts);
    }
    ff::av_frame_unref(frame);
  }
  if (!packet && input.FilterSource) FilterPicture(input, inputIndex, nullptr);
  if (!packet)
    for (auto& output : Run.OutputStreams)
      if (output->SourceIndex == inputIndex && output->EncodingNeeded) {
        if (output->Codec->codec_type == AVMEDIA_TYPE_VIDEO) FinishVideoSync(*output, input);
        FlushEncoder(*output);
      }
  return 0;
}

void TCustomFFmpeg::FilterPicture(TInputStreamState& input, int inputIndex, AVFrame* picture) {
  if (ff::av_buffersrc_add_frame_flags(input.FilterSource, picture, AV_BUFFERSRC_FLAG_KEEP_REF) < 0)
    return;
  AVFrame* filtered = input.FilteredPicture.get();
  while (ff::av_buffersink_get_frame(input.FilterSink, filtered) >= 0) {
    if (filtered->pts != AV_NOPTS_VALUE) input.Pts = filtered->pts;
    if (StartTime == 0 || input.Pts >= StartTime) {
      for (auto& output : Run.OutputStreams)
        if (output->SourceIndex == inputIndex && filtered->sample_aspect_ratio.num != 0) {
          // An encoder on its own thread may be using the context right now.
          if (output->Encoder)
            output->Encoder->SetSampleAspectRatio(filtered->sample_aspect_ratio.num,
                                                  filtered->sample_aspect_ratio.den);
          else
            output->Codec->sample_aspect_ratio = filtered->sample_aspect_ratio;
        }
      DeliverDecoded(input, inputIndex, filtered, nullptr, AV_NOPTS_VALUE);
    }
    ff::av_frame_unref(filtered);
  }
}

void TCustomFFmpeg::RateEmulation(const TInputStreamState& input) const {
  if (!RateEmu) return;
  const std::int64_t ahead = input.Pts - (ff::av_gettime() - input.WallStart);
  if (ahead > 1000) std::this_thread::sleep_for(std::chrono::milliseconds(ahead / 1000));
}

void TCustomFFmpeg::DeliverDecoded(TInputStreamState& input, int inputIndex, AVFrame* frame,
                                   const AVSubtitle* subtitle, std::int64_t packetPts) {
  for (auto& output : Run.OutputStreams) {
    if (output->SourceIndex != inputIndex || !output->EncodingNeeded) continue;
    switch (output->Codec->codec_type) {
      case AVMEDIA_TYPE_VIDEO:
        if (frame) EncodeVideo(*output, input, *frame);
        break;
      case AVMEDIA_TYPE_AUDIO:
        if (frame) EncodeAudio(*output, input, *frame);
        break;
      case AVMEDIA_TYPE_SUBTITLE:
        if (subtitle) EncodeSubtitle(*output, input, *subtitle, packetPts);
        break;
      default:
        throw FFmpegException("invalid codec_type");
    }
  }
}

void TCustomFFmpeg::CopyPacket(TOutputStreamState& output, TInputStreamState& input,
                               const AVPacket& packet) {
  const bool key = packet.flags & AV_PKT_FLAG_KEY;
  if (output.FrameNumber == 0 && !key && CopyInitialNonKeyframes == 0) return;
  const AVMediaType type = output.Codec->codec_type;
  if (type == AVMEDIA_TYPE_AUDIO) AudioSize += packet.size;
  if (type == AVMEDIA_TYPE_VIDEO) {
    VideoSize += packet.size;
    output.SyncOpts += 1;
  }
  PacketPtr copy(ff::av_packet_alloc());
  if (ff::av_packet_ref(copy.get(), &packet) < 0) throw FFmpegException("av_malloc fail");
  const AVRational from = input.Stream->time_base;
  const AVRational to = output.Stream->time_base;
  copy->stream_index = output.StreamIndex;
  copy->pts = packet.pts == AV_NOPTS_VALUE ? AV_NOPTS_VALUE : ff::av_rescale_q(packet.pts, from, to);
  copy->dts = packet.dts == AV_NOPTS_VALUE ? ff::av_rescale_q(input.Pts, MicrosecondBase, to)
                                           : ff::av_rescale_q(packet.dts, from, to);
  copy->duration = ff::av_rescale_q(packet.duration, from, to);
  copy->pos = -1;
  WriteFrame(output, *copy);
  output.FrameNumber += 1;
}

void TCustomFFmpeg::EncodeSubtitle(TOutputStreamState& output, TInputStreamState& input,
                                   const AVSubtitle& subtitle, std::int64_t pts) {
  if (pts == AV_NOPTS_VALUE) {
    static constexpr const char* NoPts = "Subtitle packets must have a pts";
    if (ExitOnError) throw FFmpegException(NoPts);
    Log(NoPts, 0);
    return;
  }
  if (SubtitleBuffer.empty()) SubtitleBuffer.resize(65536);
  const bool dvb = output.Codec->codec_id == AV_CODEC_ID_DVB_SUBTITLE;
  for (int i = 0; i < (dvb ? 2 : 1); ++i) {
    const int size = ff::avcodec_encode_subtitle(output.Codec, SubtitleBuffer.data(),
                                                 static_cast<int>(SubtitleBuffer.size()), &subtitle);
    if (size < 0) throw FFmpegException("Subtitle encoding failed");
    PacketPtr packet(ff::av_packet_alloc());
    if (ff::av_new_packet(packet.get(), size) < 0) throw FFmpegException("av_malloc fail");
    std::memcpy(packet->data, SubtitleBuffer.data(), static_cast<std::size_t>(size));
    packet->stream_index = output.StreamIndex;
    packet->pts = ff::av_rescale_q(pts, input.Stream->time_base, output.Stream->time_base);
    if (dvb) {
      const std::uint32_t display = i == 0 ? subtitle.start_display_time : subtitle.end_display_time;
      packet->pts += ff::av_rescale_q(90 * static_cast<std::int64_t>(display), AVRational{1, 90000},
                                      output.Stream->time_base);
    }
    packet->dts = packet->pts;
    WriteFrame(output, *packet);
  }
}

void TCustomFFmpeg::WriteFrame(TOutputStreamState& output, AVPacket& packet) {
  PacketPtr filtered;
  AVPacket* current = &packet;
  for (auto& filter : output.BitstreamFilters) {
    PacketPtr in(ff::av_packet_alloc());
    ff::av_packet_ref(in.get(), current);
    int result = ff::av_bsf_send_packet(filter.get(), in.get());
    PacketPtr out(ff::av_packet_alloc());
    if (result >= 0) result = ff::av_bsf_receive_packet(filter.get(), out.get());
    if (result == AVERROR(EAGAIN)) return;  // the filter holds the packet back
    if (result < 0) {
      char what[256];
      std::snprintf(what, sizeof what, "%s failed for stream %d, codec %s", filter->filter->name,
                    current->stream_index, output.Codec->codec ? output.Codec->codec->name : "copy");
      const std::string text = OpenErrorText(what, result);
      if (ExitOnError) throw FFmpegException(text);
      Log(text, 0);
      continue;  // the packet is written unfiltered
    }
    filtered = std::move(out);
    current = filtered.get();
  }
  if (current->duration > 0 || current->pts != AV_NOPTS_VALUE || current->dts != AV_NOPTS_VALUE) {
    const std::int64_t start = current->pts != AV_NOPTS_VALUE ? current->pts : current->dts;
    const std::int64_t end = start + std::max<std::int64_t>(current->duration, 0);
    if (output.LastEnd == AV_NOPTS_VALUE || end > output.LastEnd) output.LastEnd = end;
  }
  const int result = ff::av_interleaved_write_frame(OutputFiles[output.FileIndex]->Context.get(), current);
  if (result < 0) throw FFmpegException(OpenErrorText("av_interleaved_write_frame()", result));
}

}  // namespace trovenix
