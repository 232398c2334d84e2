// The store of options handed to the media library's own option system.
#include <array>

#include "engine/FFmpeg.h"
#include "engine/OptionValues.h"
#include "media/AVCodecStubs.h"
#include "media/AVFormatStubs.h"
#include "media/AVUtilStubs.h"
#include "media/SwScaleStubs.h"

namespace trovenix {
namespace {

// Option flags a library option must carry to be set on the codec context of
// each media kind: video, audio, data, subtitle, attachment.
constexpr std::array<int, 5> KindFlagMasks{AV_OPT_FLAG_VIDEO_PARAM, AV_OPT_FLAG_AUDIO_PARAM, 0,
                                           AV_OPT_FLAG_SUBTITLE_PARAM, 0};

// The library's "b" is one option for audio and video; in our vocabulary "b"
// is the video bit rate and "ab" the audio one, so "b" stays off the audio
// context.
bool SkipForKind(const std::string& name, int kind) { return name == "b" && kind == mkAudio; }

// Sets a library option by name on one object. Reports whether the object has
// the option at all and the library's result.
struct TSetResult {
  const AVOption* Option = nullptr;
  int Result = 0;
};
TSetResult SetOnObject(void* object, const std::string& name, const std::string& value,
                       int requiredFlags = 0) {
  TSetResult set;
  set.Option = ff::av_opt_find(object, name.c_str(), nullptr, requiredFlags, 0);
  if (set.Option) set.Result = ff::av_opt_set(object, name.c_str(), value.c_str(), 0);
  return set;
}

}  // namespace

void TCustomFFmpeg::CreateOptionContexts() {
  for (int kind = 0; kind < 5; ++kind) {
    OptionContexts.CodecOpts[kind].reset(ff::avcodec_alloc_context3(nullptr));
    OptionContexts.CodecOpts[kind]->codec_type = static_cast<AVMediaType>(kind);
  }
  OptionContexts.FormatOpts.reset(ff::avformat_alloc_context());
  OptionContexts.SwsOpts.reset(ff::sws_alloc_context());
  ff::av_opt_set_int(OptionContexts.SwsOpts.get(), "sws_flags", SwsFlags, 0);
}

void TCustomFFmpeg::ReleaseOptionContexts() { OptionContexts = TOptionContexts{}; }

bool TCustomFFmpeg::SetDefaultOption(const std::string& name, const std::string& value) {
  if (TrimSpaces(name).empty() || TrimSpaces(value).empty()) return false;
  TOptionContexts& store = OptionContexts;
  if (!store.CodecOpts[mkVideo]) return false;

  TSetResult set;
  for (int kind = 0; kind < 5; ++kind) {
    if (SkipForKind(name, kind)) continue;
    // The option is looked up on the video context, whose options all kinds share.
    if (!ff::av_opt_find(store.CodecOpts[mkVideo].get(), name.c_str(), nullptr,
                         KindFlagMasks[kind], 0))
      continue;
    set = SetOnObject(store.CodecOpts[kind].get(), name, value);
    if (set.Result < 0) break;
  }
  if (!set.Option) set = SetOnObject(store.FormatOpts.get(), name, value);
  if (!set.Option) set = SetOnObject(store.SwsOpts.get(), name, value);
  if (!set.Option && name.size() > 1) {
    const int kind = name[0] == 'a' ? mkAudio : name[0] == 'v' ? mkVideo : name[0] == 's' ? mkSubtitle : -1;
    if (kind >= 0) set = SetOnObject(store.CodecOpts[kind].get(), name.substr(1), value);
  }
  if (!set.Option) return false;
  if (set.Result < 0) {
    ff::av_log(nullptr, 0, "Invalid value \"%s\" for option \"%s\"\n", value.c_str(), name.c_str());
    return false;
  }
  store.OptNames.emplace_back(set.Option->name);
  if (store.CodecOpts[mkVideo]->debug != 0 || store.FormatOpts->debug != 0) {
    if (DebugLevelCallback)
      DebugLevelCallback(2);
    else
      ff::av_log_set_level(2);
  }
  return true;
}

bool TCustomFFmpeg::SetIntOption(const std::string& name, int value) {
  return SetDefaultOption(name, std::to_string(value));
}

void TCustomFFmpeg::ApplyStoredOptions(void* target, void* source, int mask) {
  for (const std::string& name : OptionContexts.OptNames) {
    if (!ff::av_opt_find(source, name.c_str(), nullptr, mask, 0)) continue;
    std::uint8_t* text = nullptr;
    if (ff::av_opt_get(source, name.c_str(), 0, &text) < 0) continue;
    const AvMemoryPtr<std::uint8_t> owned(text);
    ff::av_opt_set(target, name.c_str(), reinterpret_cast<const char*>(text), 0);
  }
}

}  // namespace trovenix
