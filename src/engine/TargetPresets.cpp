// Target presets: the settings of VCD, SVCD, DVD and DV outputs for a TV norm.
#include <cmath>
#include <optional>

#include "engine/FFmpeg.h"
#include "engine/OptionValues.h"
#include "media/AVFormatStubs.h"

namespace trovenix {
namespace {

enum class TNorm { PAL, NTSC, FILM };

// The display aspect assumed by the presets when none was given.
struct TAssumedAspect {
  const char* Ratio;
  const char* LogText;
};
constexpr TAssumedAspect FourByThree{"4:3", "Assuming 4:3 for aspect ratio"};
constexpr TAssumedAspect SixteenByNine{"16:9", "Assuming 16:9 for aspect ratio"};

// A frame rate in thousandths of a frame per second tells the norm:
// 25 is PAL, 29.97 and 23.976 are NTSC.
std::optional<TNorm> NormOfRate(int num, int den) {
  const double r = std::nearbyint(static_cast<double>(num) * 1000.0 / den);
  if (r == 25000) return TNorm::PAL;
  if (r == 29970 || r == 23976) return TNorm::NTSC;
  return std::nullopt;
}

std::optional<TNorm> NormOfInputs(const std::vector<InputContextPtr>& inputs) {
  for (const InputContextPtr& input : inputs) {
    for (unsigned i = 0; i < input->nb_streams; ++i) {
      const AVStream* stream = input->streams[i];
      if (stream->codecpar->codec_type != AVMEDIA_TYPE_VIDEO) continue;
      if (stream->r_frame_rate.den == 0) continue;
      if (auto norm = NormOfRate(stream->r_frame_rate.num, stream->r_frame_rate.den)) return norm;
    }
  }
  return std::nullopt;
}

}  // namespace

void TCustomFFmpeg::SetTarget(const std::string& text) {
  const std::string trimmed = TrimSpaces(text);
  for (const char* norm : {"pal", "ntsc", "film"}) {
    const std::string prefix = std::string(norm) + "-";
    if (trimmed.starts_with(prefix)) {
      SetTargetPreset(trimmed.substr(prefix.size()), norm, "ntsc");
      return;
    }
  }
  SetTargetPreset(trimmed, "auto", "ntsc");
}

void TCustomFFmpeg::SetTargetPreset(const std::string& type, const std::string& norm,
                                    const std::string& defaultNorm) {
  TNorm chosen = TNorm::PAL;
  if (norm == "pal") {
    chosen = TNorm::PAL;
  } else if (norm == "ntsc") {
    chosen = TNorm::NTSC;
  } else if (norm == "film") {
    chosen = TNorm::FILM;
  } else {
    if (FrameRate.den == 0) throw FFmpegException("frame_rate is invalid.");
    std::optional<TNorm> found = NormOfRate(FrameRate.num, FrameRate.den);
    if (!found) found = NormOfInputs(InputFiles);
    if (!found)
      found = defaultNorm == "film"   ? TNorm::FILM
              : defaultNorm == "ntsc" ? TNorm::NTSC
                                      : TNorm::PAL;
    chosen = *found;
    if (Verbose > 0)
      Log("Assuming " + std::string(chosen == TNorm::PAL ? "PAL" : "NTSC") + " for target.");
  }

  const bool pal = chosen == TNorm::PAL;
  const std::string rate = pal ? "25" : chosen == TNorm::NTSC ? "30000/1001" : "24000/1001";
  const std::string gop = pal ? "15" : "18";
  auto assumeAspect = [this](const TAssumedAspect& aspect) {
    if (FrameAspectRatio != 0.0f) return;
    Log(aspect.LogText);
    SetFrameAspectRatio(aspect.Ratio);
  };

  if (type == "vcd") {
    SetVideoCodec("mpeg1video");
    SetAudioCodec("mp2");
    SetOutputFormat("vcd");
    SetFrameSize(pal ? "352x288" : "352x240");
    SetFrameRate(rate);
    SetDefaultOption("g", gop);
    SetDefaultOption("b", "1150000");
    SetDefaultOption("maxrate", "1150000");
    SetDefaultOption("minrate", "1150000");
    SetDefaultOption("bufsize", "327680");
    SetDefaultOption("ab", "224000");
    AudioSampleRate = 44100;
    AudioChannels = 2;
    SetDefaultOption("packetsize", "2324");
    SetDefaultOption("muxrate", "1411200");
    // VCD players expect this start delay; it is the one preset value that
    // does not go through the option store.
    MuxPreload = 0.44f;
    assumeAspect(FourByThree);
  } else if (type == "svcd") {
    SetVideoCodec("mpeg2video");
    SetAudioCodec("mp2");
    SetOutputFormat("svcd");
    SetFrameSize(pal ? "480x576" : "480x480");
    SetFrameRate(rate);
    SetDefaultOption("g", gop);
    SetDefaultOption("b", "2040000");
    SetDefaultOption("maxrate", "2516000");
    SetDefaultOption("minrate", "0");
    SetDefaultOption("bufsize", "1835008");
    SetDefaultOption("flags", "+scan_offset");
    SetDefaultOption("ab", "224000");
    AudioSampleRate = 44100;
    SetDefaultOption("packetsize", "2324");
    if (AudioChannels == 1) AudioChannels = 2;
    assumeAspect(FourByThree);
  } else if (type == "dvd") {
    SetVideoCodec("mpeg2video");
    SetAudioCodec("ac3");
    SetOutputFormat("dvd");
    SetFrameSize(pal ? "720x576" : "720x480");
    SetFrameRate(rate);
    SetDefaultOption("g", gop);
    SetDefaultOption("b", "6000000");
    SetDefaultOption("maxrate", "9000000");
    SetDefaultOption("minrate", "0");
    SetDefaultOption("bufsize", "1835008");
    SetDefaultOption("packetsize", "2048");
    SetDefaultOption("muxrate", "10080000");
    SetDefaultOption("ab", "448000");
    AudioSampleRate = 48000;
    if (AudioChannels == 1) AudioChannels = 2;
    assumeAspect(SixteenByNine);
  } else if (type == "dv" || type == "dv50") {
    SetOutputFormat("dv");
    SetFrameSize(pal ? "720x576" : "720x480");
    SetFramePixFmt(type == "dv50" ? "yuv422p" : pal ? "yuv420p" : "yuv411p");
    SetFrameRate(rate);
    AudioSampleRate = 48000;
    AudioChannels = 2;
  } else {
    throw FFmpegException("Unknown target type");
  }
}

}  // namespace trovenix
