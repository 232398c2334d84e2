// The records a caller fills to create a conversion task and to set its
// output, and the small enumerations of the engine component.
#pragma once

#include <cstdint>
#include <string>

namespace trovenix {

enum class TLogLevel { llQuiet, llError, llInfo, llDebug, llAll };
// How the component's LogLevel admits the media library's own messages.
// lmVerbosity: the library's level is the engine's verbosity, ord(LogLevel) - 1,
// which lets only its gravest messages through. lmSeverity: llDebug adds the
// library's errors and warnings, llAll also its information and details; their
// lines reach OnLog as errors (llError), information (llInfo) or details (llAll).
enum class TLibraryLogMapping { lmVerbosity, lmSeverity };
enum class THookAction { haContinue, haIgnore, haStop };
// Best effort on Linux: lower priorities raise the thread's nice value.
enum class TConvertPriority { tpIdle, tpLowest, tpLower, tpNormal };

struct TInputOptions {
  std::string FileName;    // set to the input file when empty
  std::string FileFormat;  // forced input format
  int StartTime = -1;              // ms, used when > 0
  std::int64_t StartTimeUs = -1;   // µs, used when > 0, wins over StartTime
  int ProgramID = -1;              // used when >= 0
  std::string ExtOptions;          // name=value lines, applied first
  int Reserved1 = 0, Reserved2 = 0;
};

struct TOutputOptions {
  std::string FileName;  // set to the output file when empty
  std::string Reserved;  // copied, never read
  std::string FileFormat;
  int PacketSize = -1;
  int MuxRate = -1;
  float MuxDelay = -1.0f;    // seconds
  float MuxPreload = -1.0f;  // seconds
  std::string AudioCodec;
  bool DisableAudio = false;
  int Volume = -1;  // 256 = unchanged
  int AudioChannels = -1;
  // With AudioChannels unset, a source of more channels is mixed down to
  // this many; -1 keeps the source's count.
  int MaxAudioChannels = -1;
  int AudioSampleRate = -1;
  int AudioBitrate = -1;  // bit/s
  int AudioBitrateTolerance = -1;
  std::string AudioLanguage;
  int AudioSync = 0;
  std::string AudioTag;
  std::string VideoCodec;
  bool DisableVideo = false;
  std::string FrameRate;
  std::string FrameSize;
  // The encoder's picture format ("yuv420p"); empty keeps the source's.
  // A "pix_fmt" among the extra options wins.
  std::string PixelFormat;
  std::string AspectRatio;
  int CropTop = -1, CropBottom = -1, CropLeft = -1, CropRight = -1;
  int PadTop = -1, PadBottom = -1, PadLeft = -1, PadRight = -1;
  int PadColor = 0;  // red in the lowest byte, then green, then blue
  int GopSize = -1;
  int VideoBitrate = -1;  // bit/s
  int VideoMaxRate = -1;
  int VideoMinRate = -1;
  int VideoBitrateTolerance = -1;
  int VideoBufferSize = -1;
  int VideoSync = -1;
  std::string VideoTag;
  std::string VideoFilters;
  bool DisableSubtitle = false;
  std::string SubtitleLanguage;
  bool CopyTimestamps = false;
  int StartTime = -1;  // ms
  std::int64_t StartTimeUs = -1;
  int RecordingTime = -1;  // ms
  std::int64_t RecordingTimeUs = -1;
  // Days since 1899-12-30 in local time: 0 now, > 0 that moment, < 0 none.
  double Timestamp = -1.0;
  int Year = -1;
  int Track = -1;
  std::string Title, Author, Copyright, Comment, Album;  // at most 511 characters kept
  std::string Genre;                                    // at most 31 characters kept
  int Target = 0;             // 1 vcd, 2 svcd, 3 dvd
  int TargetNorm = 0;         // 0 auto, 1 pal, 2 ntsc
  int TargetDefaultNorm = 1;  // 1 pal, else ntsc
  bool CustomHook = false;
  bool BeforeHook = false;
  std::string HookTimeRanges;  // "start-end" in ms, comma separated
  std::string ExtOptions;      // name=value lines, two passes
  int Reserved1 = 0, Reserved2 = 0;
};

}  // namespace trovenix
