// Packet times that damage made: one broken time in a container that knows
// no discontinuities would otherwise have the video path repeat the last
// picture for hours, or the audio path fill hours with silence.
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "engine/FFmpeg.h"
#include "media/AVFormatStubs.h"
#include "media/AVUtilStubs.h"

namespace trovenix {
namespace {

constexpr AVRational MicrosecondBase{1, 1000000};
// A stream that moves on by more than this from one packet to the next,
// ahead of every other stream of its file, has a broken time.
constexpr std::int64_t JumpUs = 5000000;
// How far beyond the file's known end a packet may still lie.
constexpr std::int64_t EndMarginUs = 500000;

}  // namespace

std::int64_t TCustomFFmpeg::KnownInputEndUs(int fileIndex) const {
  const AVFormatContext* file = InputFiles[fileIndex].get();
  // A length guessed from the bit rate (an MP3 without a frame count) may be
  // far off; only one the file states or its times show is taken.
  if (file->duration == AV_NOPTS_VALUE || file->duration <= 0 ||
      file->duration_estimation_method == AVFMT_DURATION_FROM_BITRATE)
    return AV_NOPTS_VALUE;
  const std::int64_t start = file->start_time == AV_NOPTS_VALUE ? 0 : file->start_time;
  return start + file->duration + InputTsOffsets[fileIndex];
}

bool TCustomFFmpeg::AcceptPacketTime(TInputStreamState& input, AVPacket& packet) {
  const AVFormatContext* file = InputFiles[input.FileIndex].get();
  const AVMediaType type = input.Stream->codecpar->codec_type;
  // Containers that mark discontinuities have their own rule; sparse
  // streams (subtitles) legitimately jump.
  if (CopyTs || (file->iformat->flags & AVFMT_TS_DISCONT) ||
      (type != AVMEDIA_TYPE_VIDEO && type != AVMEDIA_TYPE_AUDIO))
    return true;
  const std::int64_t time = packet.dts != AV_NOPTS_VALUE ? packet.dts : packet.pts;
  if (time == AV_NOPTS_VALUE) return true;
  const AVRational base = input.Stream->time_base;
  const std::int64_t raw = ff::av_rescale_q(time, base, MicrosecondBase);
  // Scaled times no longer compare with the file's length.
  const bool scaled = input.FileIndex < MaxFiles && input.StreamIndex < MaxStreams &&
                      InputTsScale[input.FileIndex][input.StreamIndex] != 0.0;
  const std::int64_t end = scaled ? AV_NOPTS_VALUE : KnownInputEndUs(input.FileIndex);
  const bool knownEnd = end != AV_NOPTS_VALUE;
  std::int64_t offset = input.DamageOffsetUs;
  std::int64_t at = raw + offset;

  if (input.LastPacketUs != AV_NOPTS_VALUE) {
    const std::int64_t expected = input.LastPacketUs + input.LastPacketDurationUs;
    // Ahead of every other stream of the file that has a time: a stream with
    // a real gap (a still picture held for long) has the others go on meanwhile.
    bool othersKnown = false;
    std::int64_t front = 0;
    for (const auto& other : Run.InputStreams)
      if (other.get() != &input && other->FileIndex == input.FileIndex &&
          other->LastPacketUs != AV_NOPTS_VALUE) {
        front = othersKnown ? std::max(front, other->LastPacketUs) : other->LastPacketUs;
        othersKnown = true;
      }
    const bool aheadOfFile = othersKnown && at > front + JumpUs;
    if (offset != 0 && std::llabs(raw - expected) <= JumpUs &&
        (!knownEnd || raw <= end + EndMarginUs)) {
      // The stream is back on its own times: the broken one was a single packet.
      offset = 0;
      at = raw;
    } else if ((at - expected > JumpUs && aheadOfFile) ||
               (knownEnd && at > end + EndMarginUs && at - expected > EndMarginUs)) {
      offset -= at - expected;
      at = expected;
    }
  }
  if (knownEnd && at > end + EndMarginUs) {
    if (Verbose >= 0) {
      char text[160];
      std::snprintf(text, sizeof text,
                    "packet of stream #%d.%d at %.3f s lies beyond the input's end; dropped",
                    input.FileIndex, input.StreamIndex, static_cast<double>(at) / 1000000.0);
      Log(text, 0);
    }
    return false;
  }
  if (offset != input.DamageOffsetUs && Verbose >= 0) {
    char text[160];
    std::snprintf(text, sizeof text, "broken timestamp in stream #%d.%d, new offset= %lld",
                  input.FileIndex, input.StreamIndex, static_cast<long long>(offset));
    Log(text, 0);
  }
  input.DamageOffsetUs = offset;
  if (offset != 0) {
    const std::int64_t shift = ff::av_rescale_q(offset, MicrosecondBase, base);
    if (packet.dts != AV_NOPTS_VALUE) packet.dts += shift;
    if (packet.pts != AV_NOPTS_VALUE) packet.pts += shift;
  }
  input.LastPacketUs = at;
  input.LastPacketDurationUs =
      packet.duration > 0 ? ff::av_rescale_q(packet.duration, base, MicrosecondBase) : 0;
  return true;
}

}  // namespace trovenix
