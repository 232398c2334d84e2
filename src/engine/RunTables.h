// State of one run of a task: input files and streams, output streams.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

#include "engine/EncoderThread.h"
#include "engine/PictureRing.h"
#include "engine/PictureRotation.h"
#include "media/MediaPtr.h"

extern "C" {
#include <libavutil/avutil.h>
struct AVStream;
struct AVCodecContext;
struct AVFilterContext;
}

namespace trovenix {

struct TOutputStreamConfig;
class TOutputFile;

struct TInputFileState {
  bool EofReached = false;
  int FirstStream = 0;  // input stream index of the file's stream 0
  int StreamCount = 0;  // streams when the run started; later ones are ignored
};

struct TInputStreamState {
  int FileIndex = 0;
  int StreamIndex = 0;
  AVStream* Stream = nullptr;
  bool Discard = true;  // no output takes its data
  bool DecodingNeeded = false;
  std::int64_t WallStart = 0;          // microseconds, with rate emulation
  std::int64_t NextPts = AV_NOPTS_VALUE;  // microseconds
  std::int64_t Pts = 0;                // microseconds
  bool IsStart = true;
  // Correction of broken packet times in a container without discontinuities.
  std::int64_t DamageOffsetUs = 0;
  std::int64_t LastPacketUs = AV_NOPTS_VALUE;  // corrected time of the last packet kept
  std::int64_t LastPacketDurationUs = 0;
  CodecContextPtr Decoder;
  FramePtr Frame;  // last decoded picture or samples
  // Video filter chain: pictures go in at the source, come out at the sink.
  FilterGraphPtr FilterGraph;
  AVFilterContext* FilterSource = nullptr;
  AVFilterContext* FilterSink = nullptr;
  FramePtr FilteredPicture;
};

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using CFilePtr = std::unique_ptr<std::FILE, FileCloser>;

struct TOutputStreamState {
  int FileIndex = 0;
  int StreamIndex = 0;
  int SourceIndex = 0;
  AVStream* Stream = nullptr;
  TOutputStreamConfig* Config = nullptr;
  AVCodecContext* Codec = nullptr;  // Config->Codec
  bool EncodingNeeded = false;
  int FrameNumber = 0;  // video frames encoded, or packets copied
  TInputStreamState* SyncInput = nullptr;
  std::int64_t SyncOpts = 0;  // frames (video) or samples (audio) in the encoder's time base
  // End of the last packet written, in the stream's time base; AV_NOPTS_VALUE before.
  std::int64_t LastEnd = AV_NOPTS_VALUE;
  std::vector<BitstreamFilterPtr> BitstreamFilters;
  // Quality and per-plane errors of the last encoded picture, for the reports.
  double Quality = 0.0;
  std::array<std::uint64_t, 3> LastError{};
  int PictureType = 0;  // AVPictureType of the last encoded picture
  PacketPtr Packet;  // encoded packet, reused
  CFilePtr LogFile;               // first-pass statistics
  AvMemoryPtr<char> StatsIn;      // second-pass statistics handed to the encoder

  // Video re-encoding.
  bool VideoResample = false;
  bool VideoCrop = false;
  bool VideoPad = false;
  int TopBand = 0, LeftBand = 0;
  int PadTop = 0, PadBottom = 0, PadLeft = 0, PadRight = 0;
  TPictureRing ResamplePictures;
  ScalerPtr Scaler;
  int ScalerWidth = 0, ScalerHeight = 0, ScalerFormat = -1;  // the pictures Scaler takes
  // The source's picture format was not known at setup; the first decoded
  // picture tells it.
  bool AwaitsFirstPicture = false;
  FramePtr CropView;  // the decoded picture without its crop bands
  // Turns the decoded pictures upright first; none when they are upright.
  std::unique_ptr<TPictureRotation> Rotation;
  // The last picture encoded at a constant rate, repeated at the end of the
  // stream until its own time is covered.
  FramePtr LastPicture;
  // Audio re-encoding.
  bool AudioResample = false;
  bool AudioTimed = false;  // SyncOpts took the input's time of the first samples
  // Samples at the start left out, so that the encoder's own start-up delay
  // takes their place in a container that cannot say to skip it.
  int PrimingToDrop = 0;
  ResamplerPtr Resampler;
  int ResamplerInFormat = -1, ResamplerInRate = 0, ResamplerInChannels = 0;  // what Resampler takes
  AudioFifoPtr Fifo;        // samples waiting for a full encoder frame, in the encoder's format
  FramePtr Converted;       // resampler output, reused
  FramePtr EncoderFrame;    // one encoder frame, reused

  // The encoder's own thread, for video when nothing reads the encoder
  // picture by picture. Last, so that it ends before the rest goes.
  std::unique_ptr<TEncoderThread> Encoder;
};

struct TRunTables {
  std::vector<TInputFileState> Files;
  std::vector<std::unique_ptr<TInputStreamState>> InputStreams;
  std::vector<std::unique_ptr<TOutputStreamState>> OutputStreams;
};

}  // namespace trovenix
