// Streams of an output: codec settings made from the option state.
//
// Everything that can fail is settled before the stream is added to the
// container, so a failed "newvideo" leaves the output as it was.
#include <bit>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "engine/CodecNames.h"
#include "engine/FFmpeg.h"
#include "media/AVCodecStubs.h"
#include "media/AVFormatStubs.h"
#include "media/AVUtilStubs.h"

namespace trovenix {
namespace {

constexpr const char* NoStreamText = "Could not alloc stream";
constexpr float QualityPerQuantizer = 118.0f;  // the library's lambda per quantizer step

// Clears the per-stream texts of one stream kind when a creator ends,
// whatever its outcome.
class TTextsReset {
 public:
  explicit TTextsReset(std::string& name, std::string* language = nullptr)
      : name_(name), language_(language) {}
  ~TTextsReset() {
    name_.clear();
    if (language_) language_->clear();
  }
  TTextsReset(const TTextsReset&) = delete;
  TTextsReset& operator=(const TTextsReset&) = delete;

 private:
  std::string& name_;
  std::string* language_;
};

// The nearest fraction with both terms at most 255; 0/1 for no value.
AVRational Fraction(double x) {
  if (!std::isfinite(x)) return {0, 1};
  const AVRational q = ff::av_d2q(x, 255);
  return q.den == 0 ? AVRational{0, 1} : q;
}

// x for the sample aspect ratio of a picture of width by height that is
// shown at the display ratio aspect; a picture of unknown size is taken as 4:3.
double SampleAspect(int width, int height, float aspect) {
  return width != 0 && height != 0 ? static_cast<double>(height) * aspect / width
                                   : static_cast<double>(aspect) * 3 / 4;
}

struct TChosenEncoder {
  const AVCodec* Encoder = nullptr;  // used for the codec's lists and defaults
  const AVCodec* Named = nullptr;    // only when chosen by name
  AVCodecID Id = AV_CODEC_ID_NONE;
};

// The encoder named by the options, or the format's choice for the file name.
TChosenEncoder ChooseEncoder(TCustomFFmpeg& task, const std::string& name, AVMediaType type,
                             const AVFormatContext* context) {
  TChosenEncoder chosen;
  if (!name.empty()) {
    int id = 0;
    if (!task.FindCodec(name, type, true, id)) throw FFmpegException(task.LastError);
    chosen.Encoder = chosen.Named = FindCodecByName(name, true);
    chosen.Id = static_cast<AVCodecID>(id);
    return chosen;
  }
  chosen.Id = ff::av_guess_codec(context->oformat, nullptr, context->url, nullptr, type);
  chosen.Encoder = ff::avcodec_find_encoder(chosen.Id);
  return chosen;
}

CodecContextPtr NewCodecContext(const AVCodec* encoder, AVMediaType type) {
  CodecContextPtr codec(ff::avcodec_alloc_context3(encoder));
  if (!codec) throw FFmpegException(NoStreamText);
  codec->codec_type = type;
  return codec;
}

AVStream* NewStream(AVFormatContext* context) {
  AVStream* stream = ff::avformat_new_stream(context, nullptr);
  if (!stream) throw FFmpegException(NoStreamText);
  return stream;
}

// The wanted format if the encoder lists it (or lists nothing), else the
// encoder's first.
template <class Format>
Format SupportedFormat(Format wanted, const Format* list, Format end) {
  if (!list) return wanted;
  for (const Format* p = list; *p != end; ++p)
    if (*p == wanted) return wanted;
  return list[0];
}

// Reads an integer at text; false when there are no digits.
bool ReadInteger(const char*& text, int& value) {
  char* end = nullptr;
  const long number = std::strtol(text, &end, 10);
  if (end == text) return false;
  value = static_cast<int>(number);
  text = end;
  return true;
}

// "start,end,q/start,end,q/...": q > 0 is a fixed quantizer for the frames,
// otherwise -q is the bit-rate factor in percent.
std::vector<::RcOverride> ParseRcOverride(const std::string& text) {
  std::vector<::RcOverride> overrides;
  const char* p = text.c_str();
  while (*p != '\0') {
    ::RcOverride entry{};
    int q = 0;
    const bool read = ReadInteger(p, entry.start_frame) && *p++ != '\0' &&
                      ReadInteger(p, entry.end_frame) && *p++ != '\0' && ReadInteger(p, q);
    if (!read) throw FFmpegException("error parsing rc_override");
    entry.qscale = q > 0 ? q : 0;
    entry.quality_factor = q > 0 ? 1.0f : static_cast<float>(-q) / 100.0f;
    overrides.push_back(entry);
    if (*p != '/') break;
    ++p;
  }
  return overrides;
}

// A copy that the codec context owns and frees.
template <class T>
T* LibraryCopy(const T* data, std::size_t count) {
  if (count == 0) return nullptr;
  AvMemoryPtr<T> copy(static_cast<T*>(ff::av_malloc(count * sizeof(T))));
  if (!copy) throw FFmpegException(NoStreamText);
  std::memcpy(copy.get(), data, count * sizeof(T));
  return copy.release();
}

}  // namespace

void TCustomFFmpeg::NewVideoStream(TOutputFile& output) {
  const TTextsReset reset(VideoCodecName);
  AVFormatContext* context = output.Context.get();
  TOutputStreamConfig config;

  const auto commonSettings = [&](AVCodecContext* c) {
    if (VideoCodecTag != 0) c->codec_tag = static_cast<unsigned>(VideoCodecTag);
    AVCodecContext* stored = OptionContexts.CodecOpts[mkVideo].get();
    if ((VideoGlobalHeader & 1) ||
        (VideoGlobalHeader == 0 && (context->oformat->flags & AVFMT_GLOBALHEADER))) {
      c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
      if (stored) stored->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    }
    if (VideoGlobalHeader & 2) {
      c->flags2 |= AV_CODEC_FLAG2_LOCAL_HEADER;
      if (stored) stored->flags2 |= AV_CODEC_FLAG2_LOCAL_HEADER;
    }
  };

  if (VideoStreamCopy) {
    config.Codec = NewCodecContext(nullptr, AVMEDIA_TYPE_VIDEO);
    config.StreamCopy = true;
    commonSettings(config.Codec.get());
    config.Codec->sample_aspect_ratio =
        Fraction(SampleAspect(FrameWidth, FrameHeight, FrameAspectRatio));
  } else {
    const TChosenEncoder chosen = ChooseEncoder(*this, VideoCodecName, AVMEDIA_TYPE_VIDEO, context);
    const std::vector<::RcOverride> overrides = ParseRcOverride(RcOverride);
    config.Codec = NewCodecContext(chosen.Encoder, AVMEDIA_TYPE_VIDEO);
    config.Encoder = chosen.Named;
    AVCodecContext* c = config.Codec.get();
    c->codec_id = chosen.Id;
    commonSettings(c);
    if (OptionContexts.CodecOpts[mkVideo])
      ApplyStoredOptions(c, OptionContexts.CodecOpts[mkVideo].get(),
                         AV_OPT_FLAG_VIDEO_PARAM | AV_OPT_FLAG_ENCODING_PARAM);

    AVRational fps = FrameRate.num > 0 && FrameRate.den > 0 ? FrameRate : AVRational{25, 1};
    if (chosen.Encoder && chosen.Encoder->supported_framerates && !ForceFps)
      fps = chosen.Encoder->supported_framerates[ff::av_find_nearest_q_idx(
          fps, chosen.Encoder->supported_framerates)];
    c->time_base = {fps.den, fps.num};
    c->framerate = fps;
    c->width = FrameWidth + PadLeft + PadRight;
    c->height = FrameHeight + PadTop + PadBottom;
    c->sample_aspect_ratio = Fraction(SampleAspect(c->width, c->height, FrameAspectRatio));
    c->pix_fmt =
        SupportedFormat(static_cast<AVPixelFormat>(FramePixFmt),
                        chosen.Encoder ? chosen.Encoder->pix_fmts : nullptr, AV_PIX_FMT_NONE);
    if (IntraOnly) c->gop_size = 0;
    if (VideoQScale != 0.0f || SameQuality) {
      c->flags |= AV_CODEC_FLAG_QSCALE;
      config.Quality = QualityPerQuantizer * VideoQScale;
      c->global_quality = static_cast<int>(config.Quality);
    }
    if (IntraMatrix) c->intra_matrix = LibraryCopy(IntraMatrix->data(), IntraMatrix->size());
    if (InterMatrix) c->inter_matrix = LibraryCopy(InterMatrix->data(), InterMatrix->size());
    c->thread_count = ThreadCount;
    c->rc_override = LibraryCopy(overrides.data(), overrides.size());
    c->rc_override_count = static_cast<int>(overrides.size());
    if (c->rc_initial_buffer_occupancy == 0)
      c->rc_initial_buffer_occupancy = c->rc_buffer_size * 3 / 4;
    c->intra_dc_precision = IntraDcPrecision - 8;
    if (Psnr) c->flags |= AV_CODEC_FLAG_PSNR;
    if (PassNumber == 1) c->flags |= AV_CODEC_FLAG_PASS1;
    if (PassNumber == 2) c->flags |= AV_CODEC_FLAG_PASS2;
  }

  config.Stream = NewStream(context);
  config.Stream->sample_aspect_ratio = config.Codec->sample_aspect_ratio;
  config.BitstreamFilters = std::move(VideoBitstreamFilters);
  VideoBitstreamFilters.clear();
  output.Streams.push_back(std::move(config));
  VideoDisable = false;
  VideoStreamCopy = 0;
}

void TCustomFFmpeg::NewCoverArtStream(TOutputFile& output) {
  TOutputStreamConfig config;
  config.Codec = NewCodecContext(nullptr, AVMEDIA_TYPE_VIDEO);
  config.StreamCopy = true;
  config.CoverArt = true;
  config.Stream = NewStream(output.Context.get());
  output.Streams.push_back(std::move(config));
}

void TCustomFFmpeg::NewAudioStream(TOutputFile& output) {
  const TTextsReset reset(AudioCodecName, &AudioLanguage);
  AVFormatContext* context = output.Context.get();
  TOutputStreamConfig config;

  const auto commonSettings = [&](AVCodecContext* c) {
    if (AudioCodecTag != 0) c->codec_tag = static_cast<unsigned>(AudioCodecTag);
    if (context->oformat->flags & AVFMT_GLOBALHEADER) {
      c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
      if (AVCodecContext* stored = OptionContexts.CodecOpts[mkAudio].get())
        stored->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    }
  };

  if (AudioStreamCopy) {
    config.Codec = NewCodecContext(nullptr, AVMEDIA_TYPE_AUDIO);
    config.StreamCopy = true;
    commonSettings(config.Codec.get());
    ff::av_channel_layout_default(&config.Codec->ch_layout, AudioChannels);
  } else {
    const TChosenEncoder chosen = ChooseEncoder(*this, AudioCodecName, AVMEDIA_TYPE_AUDIO, context);
    config.Codec = NewCodecContext(chosen.Encoder, AVMEDIA_TYPE_AUDIO);
    config.Encoder = chosen.Named;
    AVCodecContext* c = config.Codec.get();
    c->codec_id = chosen.Id;
    commonSettings(c);
    if (OptionContexts.CodecOpts[mkAudio])
      ApplyStoredOptions(c, OptionContexts.CodecOpts[mkAudio].get(),
                         AV_OPT_FLAG_AUDIO_PARAM | AV_OPT_FLAG_ENCODING_PARAM);
    if (AudioQScale > -99999.0f) {
      c->flags |= AV_CODEC_FLAG_QSCALE;
      config.Quality = QualityPerQuantizer * AudioQScale;
      c->global_quality = static_cast<int>(config.Quality);
    }
    c->thread_count = ThreadCount;
    // The source's layout when it has as many channels as asked for, else
    // the usual layout of that many channels.
    ff::av_channel_layout_uninit(&c->ch_layout);
    const auto mask = static_cast<std::uint64_t>(ChannelLayout);
    if (mask != 0 && std::popcount(mask) == AudioChannels)
      ff::av_channel_layout_from_mask(&c->ch_layout, mask);
    else
      ff::av_channel_layout_default(&c->ch_layout, AudioChannels);
    c->sample_fmt =
        SupportedFormat(static_cast<AVSampleFormat>(AudioSampleFmt),
                        chosen.Encoder ? chosen.Encoder->sample_fmts : nullptr, AV_SAMPLE_FMT_NONE);
  }
  AVCodecContext* c = config.Codec.get();
  c->sample_rate = AudioSampleRate;
  c->time_base = {1, AudioSampleRate};

  config.Stream = NewStream(context);
  if (!AudioLanguage.empty())
    ff::av_dict_set(&config.Stream->metadata, "language", AudioLanguage.c_str(), 0);
  config.BitstreamFilters = std::move(AudioBitstreamFilters);
  AudioBitstreamFilters.clear();
  output.Streams.push_back(std::move(config));
  AudioDisable = false;
  AudioStreamCopy = 0;
}

void TCustomFFmpeg::NewSubtitleStream(TOutputFile& output) {
  const TTextsReset reset(SubtitleCodecName, &SubtitleLanguage);
  AVFormatContext* context = output.Context.get();
  TOutputStreamConfig config;

  if (SubtitleStreamCopy) {
    config.Codec = NewCodecContext(nullptr, AVMEDIA_TYPE_SUBTITLE);
    config.StreamCopy = true;
  } else {
    // Without a name the format's own subtitle codec is taken, as for sound
    // and pictures; a stream without any codec could never be written.
    const TChosenEncoder chosen =
        ChooseEncoder(*this, SubtitleCodecName, AVMEDIA_TYPE_SUBTITLE, context);
    config.Codec = NewCodecContext(chosen.Encoder, AVMEDIA_TYPE_SUBTITLE);
    config.Encoder = chosen.Named;
    config.Codec->codec_id = chosen.Id;
    if (OptionContexts.CodecOpts[mkSubtitle])
      ApplyStoredOptions(config.Codec.get(), OptionContexts.CodecOpts[mkSubtitle].get(),
                         AV_OPT_FLAG_SUBTITLE_PARAM | AV_OPT_FLAG_ENCODING_PARAM);
  }

  config.Stream = NewStream(context);
  if (!SubtitleLanguage.empty())
    ff::av_dict_set(&config.Stream->metadata, "language", SubtitleLanguage.c_str(), 0);
  config.BitstreamFilters = std::move(SubtitleBitstreamFilters);
  SubtitleBitstreamFilters.clear();
  output.Streams.push_back(std::move(config));
  SubtitleDisable = false;
  SubtitleStreamCopy = 0;
}

// Further streams go to the output opened last.
void TCustomFFmpeg::AddVideoStream() {
  if (OutputFiles.empty()) throw FFmpegException(NoOutputFileText);
  NewVideoStream(*OutputFiles.back());
}

void TCustomFFmpeg::AddAudioStream() {
  if (OutputFiles.empty()) throw FFmpegException(NoOutputFileText);
  NewAudioStream(*OutputFiles.back());
}

void TCustomFFmpeg::AddSubtitleStream() {
  if (OutputFiles.empty()) throw FFmpegException(NoOutputFileText);
  NewSubtitleStream(*OutputFiles.back());
}

}  // namespace trovenix
