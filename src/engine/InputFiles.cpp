// Opening the sources of a task.
#include <algorithm>
#include <climits>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

#include "engine/CodecNames.h"
#include "engine/FFmpeg.h"
#include "media/AVCodecStubs.h"
#include "media/AVFormatStubs.h"
#include "media/AVUtilStubs.h"
#include "media/CoverArt.h"
#include "media/DisplayRotation.h"
#include "media/FFmpegLoader.h"
#include "media/OpenInput.h"
#include "media/ProbeTexts.h"

namespace trovenix {
namespace {

// Demuxer options handed to avformat_open_input; what the demuxer does not
// take stays behind and is freed with the set.
class TDictionary {
 public:
  TDictionary() = default;
  ~TDictionary() { ff::av_dict_free(&set_); }
  TDictionary(const TDictionary&) = delete;
  TDictionary& operator=(const TDictionary&) = delete;
  void Set(const char* key, const std::string& value) {
    ff::av_dict_set(&set_, key, value.c_str(), 0);
  }
  AVDictionary** Address() { return &set_; }

 private:
  AVDictionary* set_ = nullptr;
};

// The per-input options end with every opening attempt, whatever its outcome.
class TInputOptionsReset {
 public:
  explicit TInputOptionsReset(TOptionState& state) : state_(state) {}
  ~TInputOptionsReset() {
    state_.InputFormat = nullptr;
    state_.OutputFormat = nullptr;
    state_.VideoChannel = 0;
    state_.VideoCodecName.clear();
    state_.AudioCodecName.clear();
    state_.SubtitleCodecName.clear();
  }
  TInputOptionsReset(const TInputOptionsReset&) = delete;
  TInputOptionsReset& operator=(const TInputOptionsReset&) = delete;

 private:
  TOptionState& state_;
};

const AVCodec* ForcedDecoder(const std::string& name) {
  return name.empty() ? nullptr : FindCodecByName(name, false);
}

// How far the second, longer look at a source's streams reads.
constexpr std::int64_t LongerProbeBytes = 50000000;
constexpr std::int64_t LongerAnalyzeUs = 60000000;

// A decoded stream whose picture or sound format the look at the file's
// start did not learn.
bool MissesStreamParameters(const AVFormatContext& context) {
  for (unsigned i = 0; i < context.nb_streams; ++i) {
    const AVCodecParameters* par = context.streams[i]->codecpar;
    if (par->codec_type == AVMEDIA_TYPE_VIDEO &&
        (par->format < 0 || par->width <= 0 || par->height <= 0))
      return true;
    if (par->codec_type == AVMEDIA_TYPE_AUDIO &&
        (par->format < 0 || par->sample_rate <= 0 || par->ch_layout.nb_channels <= 0))
      return true;
  }
  return false;
}

double RationalValue(AVRational q) {
  return q.den == 0 ? 0.0 : static_cast<double>(q.num) / q.den;
}

}  // namespace

bool TCustomFFmpeg::OpenInputFile(const std::string& fileName) {
  const TInputOptionsReset reset(*this);

  // Decoders forced by name.
  int videoId = 0, audioId = 0, subtitleId = 0;
  if (!FindCodec(VideoCodecName, AVMEDIA_TYPE_VIDEO, false, videoId) ||
      !FindCodec(AudioCodecName, AVMEDIA_TYPE_AUDIO, false, audioId) ||
      !FindCodec(SubtitleCodecName, AVMEDIA_TYPE_SUBTITLE, false, subtitleId))
    return false;

  InputContextPtr context;
  if (!OpenAndReadStreamInfo(fileName, videoId, audioId, subtitleId, false, context)) return false;
  // Parameters a short look did not find may turn up in a longer one; a file
  // that the libraries can convert should not fail for want of reading on.
  // A source that cannot be opened twice (a pipe) keeps what the first look found.
  if (MissesStreamParameters(*context)) {
    const std::string firstError = LastError;
    InputContextPtr second;
    if (OpenAndReadStreamInfo(fileName, videoId, audioId, subtitleId, true, second))
      context = std::move(second);
    else
      LastError = firstError;
  }

  // A start position applies to the first input only.
  std::int64_t timestamp = StartTime;
  if (context->start_time != AV_NOPTS_VALUE) timestamp += context->start_time;
  if (StartTime != 0) {
    ff::av_seek_frame(context.get(), -1, timestamp, AVSEEK_FLAG_BACKWARD);
    StartTime = 0;
  }

  // One decoder entry per stream, so that entries line up with the run's
  // table of input streams.
  std::vector<const AVCodec*> decoders;
  for (unsigned i = 0; i < context->nb_streams; ++i) {
    AVStream* stream = context->streams[i];
    const AVCodecParameters* par = stream->codecpar;
    switch (par->codec_type) {
      case AVMEDIA_TYPE_AUDIO:
        ChannelLayout = par->ch_layout.order == AV_CHANNEL_ORDER_NATIVE
                            ? static_cast<std::int64_t>(par->ch_layout.u.mask)
                            : 0;
        AudioChannels = par->ch_layout.nb_channels;
        AudioSampleRate = par->sample_rate;
        AudioSampleFmt = par->format;
        decoders.push_back(ForcedDecoder(AudioCodecName));
        if (AudioDisable) stream->discard = AVDISCARD_ALL;
        break;
      case AVMEDIA_TYPE_VIDEO: {
        decoders.push_back(ForcedDecoder(VideoCodecName));
        // A cover picture says nothing about the pictures to convert.
        if (IsCoverArt(*stream)) break;
        // Sizes are of the picture as it is seen: a quarter turn swaps them.
        const bool swapped = SwapsSides(DisplayRotationDegrees(*stream));
        FrameWidth = swapped ? par->height : par->width;
        FrameHeight = swapped ? par->width : par->height;
        double aspect =
            RationalValue(stream->sample_aspect_ratio.num != 0 ? stream->sample_aspect_ratio
                                                               : par->sample_aspect_ratio);
        if (swapped && aspect != 0.0) aspect = 1.0 / aspect;
        if (FrameWidth != 0 && FrameHeight != 0) {
          const double ratio = static_cast<double>(FrameWidth) / FrameHeight;
          FrameAspectRatio = static_cast<float>(aspect == 0.0 ? ratio : aspect * ratio);
        } else {
          FrameAspectRatio = static_cast<float>(aspect == 0.0 ? 4.0 / 3.0 : aspect);
        }
        FramePixFmt = par->format < 0 ? 0 : par->format;
        const AVRational rate = stream->r_frame_rate;
        const AVRational average = stream->avg_frame_rate;
        if (average.num != 0 && average.den != 0 && av_cmp_q(average, rate) != 0 && Verbose > 0) {
          char text[256];
          std::snprintf(text, sizeof text,
                        "Seems stream %d codec frame rate differs from container frame rate: "
                        "%2.2f (%d/%d) -> %2.2f (%d/%d)",
                        static_cast<int>(i), RationalValue(average), average.num, average.den,
                        RationalValue(rate), rate.num, rate.den);
          Log(text);
        }
        FrameRate = rate;
        if (VideoDisable)
          stream->discard = AVDISCARD_ALL;
        else if (VideoDiscard != 0)
          stream->discard = static_cast<AVDiscard>(VideoDiscard);
        break;
      }
      case AVMEDIA_TYPE_SUBTITLE:
        decoders.push_back(ForcedDecoder(SubtitleCodecName));
        if (SubtitleDisable) stream->discard = AVDISCARD_ALL;
        break;
      case AVMEDIA_TYPE_DATA:
      case AVMEDIA_TYPE_ATTACHMENT:
      case AVMEDIA_TYPE_UNKNOWN:
        decoders.push_back(nullptr);
        break;
      default:
        throw FFmpegException("invalid codec_type");
    }
  }

  if (context->duration != AV_NOPTS_VALUE) {
    const std::int64_t durationMs = context->duration / 1000;
    if (TotalDurationMs < durationMs)
      TotalDurationMs = durationMs > INT_MAX ? INT_MAX : static_cast<int>(durationMs);
  }

  const int index = static_cast<int>(InputFiles.size());
  if (Verbose >= 0) ff::av_dump_format(context.get(), index, fileName.c_str(), 0);
  InputTsOffsets.push_back(CopyTs ? InputTsOffset : InputTsOffset - timestamp);
  InputCodecs.insert(InputCodecs.end(), decoders.begin(), decoders.end());
  InputFiles.push_back(std::move(context));
  return true;
}

bool TCustomFFmpeg::OpenAndReadStreamInfo(const std::string& fileName, int videoId, int audioId,
                                          int subtitleId, bool longer, InputContextPtr& context) {
  context.reset();
  // What raw and capture demuxers cannot learn from the source itself.
  TDictionary options;
  if (FrameRate.num > 0 && FrameRate.den > 0)
    options.Set("framerate", std::to_string(FrameRate.num) + "/" + std::to_string(FrameRate.den));
  // Sound parameters always have a value, so they go only to a demuxer the
  // user named (raw samples, capture devices): a file found by probing knows
  // its own, and some demuxers found by extension (GSM) would take ours.
  if (InputFormat && AudioSampleRate > 0)
    options.Set("sample_rate", std::to_string(AudioSampleRate));
  if (InputFormat && AudioChannels > 0) options.Set("channels", std::to_string(AudioChannels));
  if (FrameWidth > 0)
    options.Set("video_size", std::to_string(FrameWidth + PadLeft + PadRight) + "x" +
                                  std::to_string(FrameHeight + PadTop + PadBottom));
  if (FramePixFmt >= 0)
    if (const char* name = ff::av_get_pix_fmt_name(static_cast<AVPixelFormat>(FramePixFmt)))
      options.Set("pixel_format", name);
  if (VideoChannel != 0) options.Set("channel", std::to_string(VideoChannel));
  if (!VideoStandard.empty()) options.Set("standard", VideoStandard);
  if (LoopInput) options.Set("loop", "1");

  OutputContextPtr allocated(ff::avformat_alloc_context());
  if (!allocated) {
    LastError = OpenErrorText(fileName, AVERROR(ENOMEM));
    return false;
  }
  if (OptionContexts.FormatOpts)
    ApplyStoredOptions(allocated.get(), OptionContexts.FormatOpts.get(),
                       AV_OPT_FLAG_DECODING_PARAM);
  if (longer) {
    allocated->probesize = std::max<std::int64_t>(allocated->probesize, LongerProbeBytes);
    allocated->max_analyze_duration =
        std::max<std::int64_t>(allocated->max_analyze_duration, LongerAnalyzeUs);
  }
  allocated->video_codec_id = PgmyuvCompat ? AV_CODEC_ID_PGMYUV : static_cast<AVCodecID>(videoId);
  allocated->audio_codec_id = static_cast<AVCodecID>(audioId);
  allocated->subtitle_codec_id = static_cast<AVCodecID>(subtitleId);
  allocated->video_codec = PgmyuvCompat ? nullptr : ForcedDecoder(VideoCodecName);
  allocated->audio_codec = ForcedDecoder(AudioCodecName);
  allocated->subtitle_codec = ForcedDecoder(SubtitleCodecName);

  // The library frees the context itself when the opening fails.
  AVFormatContext* raw = allocated.release();
  const int opened =
      ff::avformat_open_input(&raw, fileName.c_str(), InputFormat, options.Address());
  if (opened < 0) {
    LastError = OpenErrorText(fileName, RefineOpenError(fileName, InputFormat, opened));
    return false;
  }
  context.reset(raw);

  if (ProgramId != 0)
    for (unsigned p = 0; p < context->nb_programs; ++p)
      if (context->programs[p]->id != ProgramId) context->programs[p]->discard = AVDISCARD_ALL;

  int found;
  {
    std::lock_guard<std::mutex> guard(CodecLock());
    found = ff::avformat_find_stream_info(context.get(), nullptr);
  }
  if (found < 0 && Verbose >= 0) {
    LastError = StreamInfoErrorText(fileName);
    return false;
  }

  return true;
}

void TCustomFFmpeg::CheckInputStreamTypes(bool& hasVideo, bool& hasAudio, bool& hasSubtitle) const {
  hasVideo = hasAudio = hasSubtitle = false;
  for (const InputContextPtr& file : InputFiles)
    for (unsigned i = 0; i < file->nb_streams; ++i) {
      const int type = file->streams[i]->codecpar->codec_type;
      if (type < AVMEDIA_TYPE_UNKNOWN || type > AVMEDIA_TYPE_ATTACHMENT)
        throw FFmpegException("invalid codec_type of input file");
      // A cover picture is no video to convert.
      hasVideo |= type == AVMEDIA_TYPE_VIDEO && !IsCoverArt(*file->streams[i]);
      hasAudio |= type == AVMEDIA_TYPE_AUDIO;
      hasSubtitle |= type == AVMEDIA_TYPE_SUBTITLE;
    }
}

bool TCustomFFmpeg::InputHasCoverArt() const {
  for (const InputContextPtr& file : InputFiles)
    for (unsigned i = 0; i < file->nb_streams; ++i)
      if (IsCoverArt(*file->streams[i])) return true;
  return false;
}

}  // namespace trovenix
