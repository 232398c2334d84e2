// Everything the option vocabulary of a conversion task writes, with its
// defaults. A task is reset to these values when it is prepared.
#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/PreviewWindow.h"
#include "media/MediaPtr.h"
#include "player/FrameHook.h"

extern "C" {
#include <libavutil/rational.h>
}

struct AVInputFormat;
struct AVOutputFormat;

namespace trovenix {

inline constexpr int MaxStreamMaps = 400;
inline constexpr int MaxMetaDataMaps = 20;
inline constexpr int MaxFiles = 20;
inline constexpr int MaxStreams = 20;  // per input file, for the timestamp scales

// Index of MaxFrames and of the codec option contexts by media type.
enum TMediaKind : int { mkVideo = 0, mkAudio = 1, mkData = 2, mkSubtitle = 3, mkAttachment = 4 };

struct TStreamMap {
  int FileIndex = 0;
  int StreamIndex = 0;
  int SyncFileIndex = 0;
  int SyncStreamIndex = 0;
  bool operator==(const TStreamMap&) const = default;
};

struct TMetaDataMap {
  int OutFile = 0;
  int InFile = 0;
  bool operator==(const TMetaDataMap&) const = default;
};

struct THookRange {
  std::int64_t Start = 0;  // microseconds
  std::int64_t End = 0;
  bool operator==(const THookRange&) const = default;
};

using TQuantMatrix = std::array<std::uint16_t, 64>;

// Options handed to the media library's own option system: contexts that hold
// values only, and the names set so far in the order they were set.
struct TOptionContexts {
  std::vector<std::string> OptNames;
  std::array<CodecContextPtr, 5> CodecOpts;  // by TMediaKind
  OutputContextPtr FormatOpts;
  ScalerPtr SwsOpts;
};

// C texts of the option state are std::string here; an empty text means none.
struct TOptionState {
  const AVInputFormat* InputFormat = nullptr;
  const AVOutputFormat* OutputFormat = nullptr;
  int FrameWidth = 0;
  int FrameHeight = 0;
  float FrameAspectRatio = 0.0f;
  int FramePixFmt = -1;
  int AudioSampleFmt = -1;
  int PadTop = 0, PadBottom = 0, PadLeft = 0, PadRight = 0;
  std::array<int, 3> PadColor{16, 128, 128};  // Y, U, V
  int CropTop = 0, CropBottom = 0, CropLeft = 0, CropRight = 0;
  std::array<int, 4> MaxFrames{std::numeric_limits<int>::max(), std::numeric_limits<int>::max(),
                               std::numeric_limits<int>::max(), std::numeric_limits<int>::max()};
  AVRational FrameRate{0, 0};
  float VideoQScale = 0.0f;
  std::optional<TQuantMatrix> IntraMatrix;
  std::optional<TQuantMatrix> InterMatrix;
  std::string RcOverride;
  bool VideoDisable = false;
  int VideoDiscard = 0;
  std::string VideoCodecName;
  int VideoCodecTag = 0;
  bool SameQuality = false;
  bool Deinterlace = false;
  int TopFieldFirst = -1;
  int MeThreshold = 0;
  int IntraDcPrecision = 8;
  bool LoopInput = false;
  int LoopOutput = -1;
  bool QpHist = false;
  std::string VideoFilters;
  bool IntraOnly = false;
  int AudioSampleRate = 44100;
  std::int64_t ChannelLayout = 0;
  float AudioQScale = -99999.0f;
  bool AudioDisable = false;
  int AudioChannels = 2;
  std::string AudioCodecName;
  int AudioCodecTag = 0;
  std::string AudioLanguage;
  bool SubtitleDisable = false;
  std::string SubtitleCodecName;
  std::string SubtitleLanguage;
  float MuxPreload = 0.5f;
  float MuxMaxDelay = 0.7f;
  std::int64_t RecordingTime = std::numeric_limits<std::int64_t>::max();
  std::int64_t StartTime = 0;
  std::int64_t RecTimestamp = 0;  // seconds
  std::int64_t InputTsOffset = 0;
  std::vector<std::pair<std::string, std::string>> Metadata;  // key, value
  bool HexDump = false;
  bool PktDump = false;
  bool Psnr = false;
  int PassNumber = 0;
  std::string PassLogFilePrefix;
  int VideoStreamCopy = 0;
  int AudioStreamCopy = 0;
  int SubtitleStreamCopy = 0;
  int VideoSyncMethod = -1;
  int AudioSyncMethod = 0;
  float AudioDriftThreshold = 0.1f;
  bool CopyTs = false;
  bool Shortest = false;
  int VideoGlobalHeader = 0;
  std::string VstatsFileName;
  int ProgramId = 0;
  int CopyInitialNonKeyframes = 0;
  bool RateEmu = false;
  int VideoChannel = 0;
  std::string VideoStandard;
  int AudioVolume = 256;
  bool ExitOnError = false;
  bool UsingVhook = false;
  int Verbose = 1;
  // Codec threads handed to the library; 0 lets each codec choose.
  int ThreadCount = 0;
  bool InputSync = false;
  std::int64_t LimitFilesize = 0;
  bool ForceFps = false;
  int PgmyuvCompat = 0;
  float DtsDeltaThreshold = 10.0f;
  int SwsFlags = 4;  // bicubic
  std::vector<TStreamMap> StreamMaps;
  std::vector<TMetaDataMap> MetaDataMaps;
  std::array<std::array<double, MaxStreams>, MaxFiles> InputTsScale{};
  // Bitstream filter names for the next stream of each type; their contexts
  // are made when that stream is set up.
  std::vector<std::string> VideoBitstreamFilters;
  std::vector<std::string> AudioBitstreamFilters;
  std::vector<std::string> SubtitleBitstreamFilters;
  TFrameHookList FrameHooks;
  std::vector<THookRange> HookRanges;  // sorted by End
  int HookRangeIndex = 0;
  std::uint8_t PreviewFlags = 0;  // bit 0 preview window, bit 1 preview bitmap events
  int TotalDurationMs = -1;
  std::string LastError;
};

}  // namespace trovenix
