// Creating the outputs of a task with their streams.
#include <string_view>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <ctime>
#include <string>

#include "engine/FFmpeg.h"
#include "engine/FilterConflicts.h"
#include "engine/OptionValues.h"
#include "media/AVFormatStubs.h"
#include "media/AVUtilStubs.h"
#include "media/ProbeTexts.h"

namespace trovenix {
namespace {

// The per-output format choice ends with every opening attempt.
class TFormatReset {
 public:
  explicit TFormatReset(TOptionState& state) : state_(state) {}
  ~TFormatReset() {
    state_.InputFormat = nullptr;
    state_.OutputFormat = nullptr;
  }
  TFormatReset(const TFormatReset&) = delete;
  TFormatReset& operator=(const TFormatReset&) = delete;

 private:
  TOptionState& state_;
};

// "2024-05-01T12:00:00.000000Z" for seconds since 1970.
std::string CreationTimeText(std::int64_t seconds) {
  const std::time_t time = static_cast<std::time_t>(seconds);
  std::tm parts{};
  if (!gmtime_r(&time, &parts)) return {};
  char text[40];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S.000000Z", &parts);
  return text;
}

}  // namespace

bool TCustomFFmpeg::CheckFilterConflict(const std::string& filters) {
  static const std::string resizing = ",crop,rotate,scale,transpose,";
  std::string text = filters;
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find(',', start);
    if (end == std::string::npos) end = text.size();
    const std::string item = text.substr(start, end - start);
    const std::string name = TrimSpaces(item.substr(0, item.find('=')));
    if (resizing.find("," + name + ",") != std::string::npos) return false;
    start = end + 1;
  }
  return true;
}

int TCustomFFmpeg::OpenOutputFile(const std::string& fileName) {
  const TFormatReset reset(*this);
  const auto fail = [this](const std::string& message) {
    LastError = message;
    return -1;
  };

  if (!VideoFilters.empty() && CropTop + CropBottom + CropLeft + CropRight != 0)
    return fail(CropWithFiltersText);
  if (PadTop + PadBottom + PadLeft + PadRight != 0 && !CheckFilterConflict(VideoFilters))
    return fail(PadWithResizingFiltersText);
  UseVideoFilters = !VideoFilters.empty();

  // The format is the forced one or a guess from the name; the context keeps
  // the name as its URL.
  AVFormatContext* allocated = nullptr;
  ff::avformat_alloc_output_context2(&allocated, OutputFormat, nullptr, fileName.c_str());
  if (!allocated) return fail("Unable to find a suitable output format for '" + fileName + "'");
  auto output = std::make_unique<TOutputFile>();
  output->Context.reset(allocated);
  output->FileName = fileName;
  AVFormatContext* context = allocated;
  const AVOutputFormat* format = context->oformat;

  // Streams copied from a server feed are not supported.
  if (std::string(format->name) == "ffm" && fileName.rfind("http:", 0) == 0)
    return fail(OpenErrorText(fileName, AVERROR(EINVAL)));

  // The picture codec of these sound formats is for cover art, not for a
  // video stream: they get video only when asked for by codec or copy.
  const std::string_view formatName = format->name;
  const bool coverArtOnly = formatName == "mp3" || formatName == "flac";
  bool video = (format->video_codec != AV_CODEC_ID_NONE && !coverArtOnly) || VideoStreamCopy ||
               !VideoCodecName.empty();
  bool audio =
      format->audio_codec != AV_CODEC_ID_NONE || AudioStreamCopy || !AudioCodecName.empty();
  bool subtitle = format->subtitle_codec != AV_CODEC_ID_NONE || SubtitleStreamCopy ||
                  !SubtitleCodecName.empty();
  if (!InputFiles.empty()) {
    bool hasVideo = false, hasAudio = false, hasSubtitle = false;
    try {
      CheckInputStreamTypes(hasVideo, hasAudio, hasSubtitle);
    } catch (const FFmpegException& e) {
      return fail(std::string("check_audio_video_sub_inputs fail: ") + e.what());
    }
    video = video && hasVideo;
    audio = audio && hasAudio;
    subtitle = subtitle && hasSubtitle;
  }
  video = video && !VideoDisable;
  audio = audio && !AudioDisable;
  subtitle = subtitle && !SubtitleDisable;

  try {
    if (video) NewVideoStream(*output);
  } catch (const FFmpegException& e) {
    return fail(std::string("new_video_stream fail: ") + e.what());
  }
  try {
    if (audio) NewAudioStream(*output);
  } catch (const FFmpegException& e) {
    return fail(std::string("new_audio_stream fail: ") + e.what());
  }
  // Containers that store cover art keep the source's cover picture, copied
  // as it is; other containers get none, the sound converts all the same.
  const bool keepsCover = formatName == "mp4" || formatName == "ipod" || formatName == "mp3";
  try {
    if (keepsCover && !InputFiles.empty() && InputHasCoverArt()) NewCoverArtStream(*output);
  } catch (const FFmpegException& e) {
    return fail(std::string("new_video_stream fail: ") + e.what());
  }
  try {
    if (subtitle) NewSubtitleStream(*output);
  } catch (const FFmpegException& e) {
    return fail(std::string("new_subtitle_stream fail: ") + e.what());
  }

  if (RecTimestamp != 0) {
    const std::string created = CreationTimeText(RecTimestamp);
    if (!created.empty()) ff::av_dict_set(&context->metadata, "creation_time", created.c_str(), 0);
  }
  // From the last pair to the first: for a key given twice the first value stays.
  while (!Metadata.empty()) {
    const auto& [key, value] = Metadata.back();
    ff::av_dict_set(&context->metadata, key.c_str(), value.c_str(), 0);
    Metadata.pop_back();
  }

  if ((format->flags & AVFMT_NEEDNUMBER) && ff::av_filename_number_test(context->url) == 0)
    return fail(OpenErrorText(context->url, AVERROR(EDOM)));
  if (output->OpenIO() < 0) return fail("Could not open '" + fileName + "'");

  context->max_delay = static_cast<int>(std::trunc(MuxMaxDelay * 1000000.0));
  // Muxer settings that only some formats have.
  ff::av_opt_set_int(context, "preload",
                     static_cast<std::int64_t>(std::trunc(MuxPreload * 1000000.0)),
                     AV_OPT_SEARCH_CHILDREN);
  if (LoopOutput >= 0) ff::av_opt_set_int(context, "loop", LoopOutput, AV_OPT_SEARCH_CHILDREN);
  if (OptionContexts.FormatOpts)
    ApplyStoredOptions(context, OptionContexts.FormatOpts.get(), AV_OPT_FLAG_ENCODING_PARAM);

  OutputFiles.push_back(std::move(output));
  return static_cast<int>(OutputFiles.size());
}

}  // namespace trovenix
