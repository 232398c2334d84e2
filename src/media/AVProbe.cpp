#include "media/AVProbe.h"

#include <cstdlib>
#include <limits>
#include <stdexcept>

#include "media/AVCodecStubs.h"
#include "media/AVFormatStubs.h"
#include "media/AVUtilStubs.h"
#include "media/DisplayRotation.h"
#include "media/FFmpegLoader.h"
#include "media/OpenInput.h"
#include "media/ProbeTexts.h"

namespace trovenix {
namespace {

constexpr AVRational MicrosecondBase{1, 1000000};

std::int32_t ClampToInt32(std::int64_t value) {
  if (value > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  if (value < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}

// Leading decimal number of a metadata value ("2009-05-01" gives 2009, "3/12"
// gives 3); 0 when the value is absent or does not start with a number.
std::int32_t LeadingNumber(const AVDictionary* metadata, const char* key) {
  const std::string text = MetadataValue(metadata, key);
  return ClampToInt32(std::strtoll(text.c_str(), nullptr, 10));
}

// Cover art inside an audio file is not a video stream to the user.
bool IsVideoStream(const AVStream* stream) {
  return stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO &&
         !(stream->disposition & AV_DISPOSITION_ATTACHED_PIC);
}

}  // namespace

TCustomAVProbe::TCustomAVProbe() = default;

TCustomAVProbe::~TCustomAVProbe() { Close(); }

void TCustomAVProbe::CheckLibraries() {
  const TFFmpegLoader& loader = FFLoader();
  if (!loader.IsLibraryLoaded(liAVCodec)) throw std::runtime_error("LibAVCodec not loaded.");
  if (!loader.IsLibraryLoaded(liAVFormat)) throw std::runtime_error("LibAVFormat not loaded.");
  if (!loader.IsLibraryLoaded(liAVUtil)) throw std::runtime_error("LibAVUtil not loaded.");
  if (!loader.IsLibraryLoaded(liSwScale)) throw std::runtime_error("LibSwScale not loaded.");
}

bool TCustomAVProbe::LoadFile(const std::string& fileName, const std::string& formatName) {
  CheckLibraries();
  Close();
  const AVInputFormat* format = nullptr;
  if (!formatName.empty()) {
    format = ff::av_find_input_format(formatName.c_str());
    if (format == nullptr) {
      lastError_ = UnknownInputFormatText(formatName);
      return false;
    }
  }
  AVFormatContext* context = nullptr;
  int result = ff::avformat_open_input(&context, fileName.c_str(), format, nullptr);
  if (result < 0) {
    lastError_ = OpenErrorText(fileName, RefineOpenError(fileName, format, result));
    return false;
  }
  InputContextPtr opened(context);
  if (ff::avformat_find_stream_info(opened.get(), nullptr) < 0) {
    lastError_ = StreamInfoErrorText(fileName);
    return false;
  }
  owned_ = std::move(opened);
  formatContext_ = owned_.get();
  Recount();
  formatName_ = formatName;
  return true;
}

void TCustomAVProbe::SetFormatContext(AVFormatContext* context) {
  CheckLibraries();
  Close();
  formatContext_ = context;
  Recount();
}

void TCustomAVProbe::Close() {
  formatName_.clear();
  formatContext_ = nullptr;
  owned_.reset();
  Recount();
}

void TCustomAVProbe::Recount() {
  streamCount_ = programCount_ = -1;
  audioStreamCount_ = videoStreamCount_ = subtitleStreamCount_ = -1;
  firstAudioStream_ = firstVideoStream_ = firstSubtitleStream_ = -1;
  if (formatContext_ == nullptr) return;
  streamCount_ = static_cast<int>(formatContext_->nb_streams);
  programCount_ = static_cast<int>(formatContext_->nb_programs);
  audioStreamCount_ = videoStreamCount_ = subtitleStreamCount_ = 0;
  for (int i = 0; i < streamCount_; ++i) {
    const AVStream* stream = formatContext_->streams[i];
    if (IsVideoStream(stream)) {
      if (videoStreamCount_++ == 0) firstVideoStream_ = i;
    } else if (stream->codecpar->codec_type == AVMEDIA_TYPE_AUDIO) {
      if (audioStreamCount_++ == 0) firstAudioStream_ = i;
    } else if (stream->codecpar->codec_type == AVMEDIA_TYPE_SUBTITLE) {
      if (subtitleStreamCount_++ == 0) firstSubtitleStream_ = i;
    }
  }
}

void TCustomAVProbe::GetFileStreamInfo(TFileStreamInfo& info) const {
  info = TFileStreamInfo{};
  if (formatContext_ == nullptr) {
    ff::av_log(nullptr, 1, "file not loaded.\n");
    return;
  }
  const AVFormatContext* fc = formatContext_;
  const AVDictionary* metadata = fc->metadata;
  if (fc->start_time != AV_NOPTS_VALUE) info.StartTime = fc->start_time;
  if (fc->duration != AV_NOPTS_VALUE) info.Duration = fc->duration;
  info.BitRate = ClampToInt32(fc->bit_rate);
  info.Timestamp = 0;
  const std::string created = MetadataValue(metadata, "creation_time");
  if (!created.empty()) ff::av_parse_time(&info.Timestamp, created.c_str(), 0);
  info.Year = LeadingNumber(metadata, "date");
  if (info.Year == 0) info.Year = LeadingNumber(metadata, "year");
  info.Track = LeadingNumber(metadata, "track");
  info.Title = MetadataValue(metadata, "title");
  info.Author = MetadataValue(metadata, "author", MetadataValue(metadata, "artist"));
  info.Copyright = MetadataValue(metadata, "copyright");
  info.Comment = MetadataValue(metadata, "comment");
  info.Album = MetadataValue(metadata, "album");
  info.Genre = MetadataValue(metadata, "genre");
}

void TCustomAVProbe::GetVideoStreamInfo(int streamIndex, TVideoStreamInfo& info) const {
  info = TVideoStreamInfo{};
  if (formatContext_ == nullptr) {
    ff::av_log(nullptr, 1, "file not loaded.\n");
    return;
  }
  if (streamIndex < 0) {
    streamIndex = firstVideoStream_;
    if (streamIndex == -1) {
      ff::av_log(nullptr, 0, "no video stream.\n");
      return;
    }
  }
  if (streamIndex >= streamCount_) {
    ff::av_log(nullptr, 0, "stream index #%d is invalid.\n", streamIndex);
    return;
  }
  const AVStream* stream = formatContext_->streams[streamIndex];
  const AVCodecParameters* par = stream->codecpar;
  if (par->codec_type != AVMEDIA_TYPE_VIDEO) {
    ff::av_log(nullptr, 0, "stream #%d is not video stream.\n", streamIndex);
    return;
  }
  info.Language = MetadataValue(stream->metadata, "language");
  info.CodecName = CodecDescription(par, false);
  info.StartTime = stream->start_time;
  if (stream->start_time != AV_NOPTS_VALUE)
    info.StartTimeUs = ff::av_rescale_q(stream->start_time, stream->time_base, MicrosecondBase);
  info.Duration = stream->duration;
  if (stream->duration != AV_NOPTS_VALUE)
    info.DurationUs = ff::av_rescale_q(stream->duration, stream->time_base, MicrosecondBase);
  info.BitRate = ClampToInt32(par->bit_rate);
  // The size as the picture is seen: a phone's quarter turn swaps the sides.
  info.Rotation = DisplayRotationDegrees(*stream);
  const bool swapped = SwapsSides(info.Rotation);
  info.Height = swapped ? par->width : par->height;
  info.Width = swapped ? par->height : par->width;
  const AVRational sar = par->sample_aspect_ratio;
  const double aspect = (par->height > 0 && sar.den != 0)
                            ? static_cast<double>(par->width) * sar.num / sar.den / par->height
                            : 0.0;
  info.AspectRatio = static_cast<float>(swapped && aspect != 0.0 ? 1.0 / aspect : aspect);
  info.PixFmt = par->format;
  info.FrameRateNum = stream->r_frame_rate.num;
  info.FrameRateDen = stream->r_frame_rate.den;
}

}  // namespace trovenix
