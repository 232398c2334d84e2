// The media probe: what a file holds, without converting it.
//
// A probe either opens a file itself (LoadFile, and then owns it) or describes
// a context opened elsewhere (SetFormatContext, never closed by the probe).
// Query calls never throw: problems go to the library log and the records
// keep their "unknown" values (-1, empty texts).
// One thread uses a probe at a time.
#pragma once

#include <cstdint>
#include <string>

#include "media/MediaPtr.h"

namespace trovenix {

struct TFileStreamInfo {
  std::int64_t StartTime = -1;  // microseconds
  std::int64_t Duration = -1;   // microseconds
  std::int32_t BitRate = -1;    // bits per second
  std::int64_t Timestamp = -1;  // creation time, microseconds since 1970
  std::int32_t Year = -1;
  std::int32_t Track = -1;
  std::string Title, Author, Copyright, Comment, Album, Genre;
};

struct TVideoStreamInfo {
  std::string Language;
  std::string CodecName;
  std::int64_t StartTime = -1;    // in the stream's time base
  std::int64_t StartTimeUs = -1;  // -1 when unknown
  std::int64_t Duration = -1;     // in the stream's time base
  std::int64_t DurationUs = -1;   // -1 when unknown
  std::int32_t BitRate = -1;
  // Size and aspect of the picture as it is shown, after the stream's turn.
  std::int32_t Height = -1;
  std::int32_t Width = -1;
  float AspectRatio = -1.0f;  // display aspect ratio; 0 when the sample aspect is unknown
  std::int32_t Rotation = 0;  // degrees clockwise the decoded picture is turned for display
  std::int32_t PixFmt = -1;
  std::int32_t FrameRateNum = -1;
  std::int32_t FrameRateDen = -1;
};

class TCustomAVProbe {
 public:
  TCustomAVProbe();
  virtual ~TCustomAVProbe();
  TCustomAVProbe(const TCustomAVProbe&) = delete;
  TCustomAVProbe& operator=(const TCustomAVProbe&) = delete;

  // Opens and analyses a file, with an optional forced input format name.
  // False with LastError() set when it cannot; the probe is then empty.
  // Throws std::runtime_error when a needed library is not loaded.
  bool LoadFile(const std::string& fileName, const std::string& formatName = {});
  // Describes a context opened elsewhere; the probe does not own it.
  virtual void SetFormatContext(AVFormatContext* context);
  // Forgets the file, closing it when the probe opened it.
  virtual void Close();

  void GetFileStreamInfo(TFileStreamInfo& info) const;
  // streamIndex < 0 means the first video stream.
  void GetVideoStreamInfo(int streamIndex, TVideoStreamInfo& info) const;
  // Throws std::runtime_error naming the first needed library not loaded.
  static void CheckLibraries();

  AVFormatContext* FormatContext() const { return formatContext_; }
  bool OwnsContext() const { return owned_ != nullptr; }
  const std::string& LastError() const { return lastError_; }
  const std::string& FormatName() const { return formatName_; }
  int StreamCount() const { return streamCount_; }
  int ProgramCount() const { return programCount_; }
  int AudioStreamCount() const { return audioStreamCount_; }
  int VideoStreamCount() const { return videoStreamCount_; }
  int SubtitleStreamCount() const { return subtitleStreamCount_; }
  int FirstAudioStream() const { return firstAudioStream_; }
  int FirstVideoStream() const { return firstVideoStream_; }
  int FirstSubtitleStream() const { return firstSubtitleStream_; }

 private:
  void Recount();

  AVFormatContext* formatContext_ = nullptr;
  InputContextPtr owned_;
  std::string lastError_;
  std::string formatName_;
  int streamCount_ = -1;
  int programCount_ = -1;
  int audioStreamCount_ = -1;
  int videoStreamCount_ = -1;
  int subtitleStreamCount_ = -1;
  int firstAudioStream_ = -1;
  int firstVideoStream_ = -1;
  int firstSubtitleStream_ = -1;
};

// The probe the engine component, the engine task and the player create.
class TAVProbe : public TCustomAVProbe {};

}  // namespace trovenix
