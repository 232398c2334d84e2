// The packet loop: read from the input furthest behind, correct timestamps,
// hand the packet on; then drain, write trailers and report.
#include <cmath>
#include <cstdio>

#include "engine/FFmpeg.h"
#include "media/AVCodecStubs.h"
#include "media/AVFormatStubs.h"
#include "media/AVUtilStubs.h"

namespace trovenix {
namespace {

constexpr AVRational MicrosecondBase{1, 1000000};

// Seconds of output written so far by a stream.
double OutputSeconds(const TOutputStreamState& output) {
  if (output.EncodingNeeded && output.Codec->codec_type == AVMEDIA_TYPE_VIDEO)
    return static_cast<double>(output.SyncOpts) * av_q2d(output.Codec->time_base);
  if (output.LastEnd == AV_NOPTS_VALUE) return 0.0;
  return static_cast<double>(output.LastEnd) * av_q2d(output.Stream->time_base);
}

}  // namespace

void TCustomFFmpeg::Transcode() {
  try {
    SetupTranscode();
    RunPacketLoop();
    EndRun();
  } catch (...) {
    ReleaseRunTables();
    throw;
  }
  ReleaseRunTables();
}

void TCustomFFmpeg::RunPacketLoop() {
  PacketPtr packet(ff::av_packet_alloc());
  std::int64_t lastReport = TimerStart;
  for (;;) {
    WaitWhilePaused();
    if (StopRequested) break;

    // The input whose outputs are furthest behind goes next.
    int chosen = -1;
    double minInPts = 1e100, minOutPts = 1e100;
    for (const auto& output : Run.OutputStreams) {
      const TInputStreamState& input = *Run.InputStreams[output->SourceIndex];
      const double outPts = OutputSeconds(*output);
      const double inPts = static_cast<double>(input.Pts);
      if (!Run.Files[input.FileIndex].EofReached) {
        if (inPts < minInPts) {
          minInPts = inPts;
          if (InputSync) chosen = input.FileIndex;
        }
        if (outPts < minOutPts) {
          minOutPts = outPts;
          if (!InputSync) chosen = input.FileIndex;
        }
      }
      const int kind = output->Codec->codec_type;
      if (kind >= 0 && kind < 4 && MaxFrames[kind] <= output->FrameNumber) {
        chosen = -1;
        break;
      }
    }
    if (chosen < 0) break;
    if (minOutPts >= static_cast<double>(RecordingTime) / 1000000.0) break;
    if (LimitFilesize != 0 && OutputFiles[0]->Position() > LimitFilesize) break;

    AVFormatContext* file = InputFiles[chosen].get();
    const int read = ff::av_read_frame(file, packet.get());
    if (read == AVERROR(EAGAIN)) continue;
    if (read < 0) {
      Run.Files[chosen].EofReached = true;
      if (Shortest) break;
      continue;
    }
    if (PktDump) ff::av_pkt_dump_log2(nullptr, AV_LOG_INFO, packet.get(), HexDump,
                                       file->streams[packet->stream_index]);
    const TInputFileState& fileState = Run.Files[chosen];
    const int inputIndex = fileState.FirstStream + packet->stream_index;
    if (packet->stream_index < fileState.StreamCount && !Run.InputStreams[inputIndex]->Discard) {
      TInputStreamState& input = *Run.InputStreams[inputIndex];
      if (CorrectTimestamps(input, *packet) && ProcessPacket(input, inputIndex, packet.get()) < 0) {
        const std::string text = "Error while decoding stream #" + std::to_string(input.FileIndex) +
                                 "." + std::to_string(input.StreamIndex);
        if (ExitOnError) throw FFmpegException(text);
        if (Verbose >= 0) Log(text);
        ff::av_packet_unref(packet.get());
        continue;
      }
    }
    ff::av_packet_unref(packet.get());

    const std::int64_t now = ff::av_gettime();
    if (now - lastReport > ReportInterval) {
      lastReport = now;
      ReportProgress(false);
    }
  }
}

bool TCustomFFmpeg::CorrectTimestamps(TInputStreamState& input, AVPacket& packet) {
  const AVRational base = input.Stream->time_base;
  const std::int64_t offset = InputTsOffsets[input.FileIndex];
  if (packet.dts != AV_NOPTS_VALUE) packet.dts += ff::av_rescale_q(offset, MicrosecondBase, base);
  if (packet.pts != AV_NOPTS_VALUE) packet.pts += ff::av_rescale_q(offset, MicrosecondBase, base);

  const double scale = input.FileIndex < MaxFiles && input.StreamIndex < MaxStreams
                           ? InputTsScale[input.FileIndex][input.StreamIndex]
                           : 0.0;
  if (scale != 0.0) {
    if (packet.dts != AV_NOPTS_VALUE)
      packet.dts = static_cast<std::int64_t>(std::nearbyint(static_cast<double>(packet.dts) * scale));
    if (packet.pts != AV_NOPTS_VALUE)
      packet.pts = static_cast<std::int64_t>(std::nearbyint(static_cast<double>(packet.pts) * scale));
  }

  const AVFormatContext* file = InputFiles[input.FileIndex].get();
  if (packet.dts != AV_NOPTS_VALUE && input.NextPts != AV_NOPTS_VALUE &&
      (file->iformat->flags & AVFMT_TS_DISCONT)) {
    const std::int64_t dtsUs = ff::av_rescale_q(packet.dts, base, MicrosecondBase);
    const std::int64_t delta = dtsUs - input.NextPts;
    if ((std::llabs(delta) > static_cast<std::int64_t>(DtsDeltaThreshold * 1000000.0) ||
         dtsUs + 1 < input.Pts) &&
        !CopyTs) {
      InputTsOffsets[input.FileIndex] -= delta;
      if (Verbose > 2) {
        char text[128];
        std::snprintf(text, sizeof text, "timestamp discontinuity %lld, new offset= %lld",
                      static_cast<long long>(delta),
                      static_cast<long long>(InputTsOffsets[input.FileIndex]));
        Log(text);
      }
      packet.dts -= ff::av_rescale_q(delta, MicrosecondBase, base);
      if (packet.pts != AV_NOPTS_VALUE) packet.pts -= ff::av_rescale_q(delta, MicrosecondBase, base);
    }
  }
  return AcceptPacketTime(input, packet);
}

void TCustomFFmpeg::EndRun() {
  for (std::size_t i = 0; i < Run.InputStreams.size(); ++i)
    if (Run.InputStreams[i]->DecodingNeeded)
      ProcessPacket(*Run.InputStreams[i], static_cast<int>(i), nullptr);
  CheckPicturesArrived();
  for (auto& output : OutputFiles) ff::av_write_trailer(output->Context.get());
  ReportProgress(true);
  Finished = !StopRequested;
}

}  // namespace trovenix
