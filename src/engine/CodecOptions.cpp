// Codec choice, codec tags, bit rates and bitstream filters.
#include <cstdint>

#include "engine/FFmpeg.h"
#include "engine/OptionValues.h"
#include "media/AVCodecStubs.h"
#include "media/AVUtilStubs.h"

namespace trovenix {
namespace {

// "copy" switches the stream type to copying; any other name replaces the
// codec name. A later name does not undo an earlier "copy".
void ChooseCodec(const std::string& name, std::string& codecName, int& streamCopy) {
  if (name.empty()) return;
  codecName.clear();
  if (name == "copy")
    streamCopy = 1;
  else
    codecName = name;
}

// Four characters, the first in the lowest byte.
void ApplyTag(const std::string& tag, const char* lengthText, int& codecTag) {
  if (tag.empty()) return;
  if (tag.size() != 4) throw EAssertionFailed(lengthText);
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(tag[i]);
  codecTag = static_cast<int>(value);
}

}  // namespace

void TCustomFFmpeg::SetVideoCodec(const std::string& name) {
  ChooseCodec(name, VideoCodecName, VideoStreamCopy);
}

void TCustomFFmpeg::SetAudioCodec(const std::string& name) {
  ChooseCodec(name, AudioCodecName, AudioStreamCopy);
}

void TCustomFFmpeg::SetSubtitleCodec(const std::string& name) {
  ChooseCodec(name, SubtitleCodecName, SubtitleStreamCopy);
}

void TCustomFFmpeg::SetVideoTag(const std::string& tag) {
  ApplyTag(tag, "video tag parameter must be 4 chars", VideoCodecTag);
}

void TCustomFFmpeg::SetAudioTag(const std::string& tag) {
  ApplyTag(tag, "audio tag parameter must be 4 chars", AudioCodecTag);
}

// Bit rates are in bits per second; a value below 1000 is almost always a
// rate meant in kbit/s, which is worth a warning.
bool TCustomFFmpeg::SetBitRate(const std::string& optionName, const std::string& value) {
  if (optionName.empty() || value.empty()) return false;
  const bool set = SetDefaultOption(optionName, value);
  if (!set || !LogCallback) return set;
  AVCodecContext* defaults =
      OptionContexts.CodecOpts[optionName[0] == 'a' ? mkAudio : mkVideo].get();
  std::int64_t bitRate = 0;
  if (defaults && ff::av_opt_get_int(defaults, "b", 0, &bitRate) >= 0 && bitRate < 1000)
    Log("WARNING: The bitrate parameter is set too low. It takes bits/s as argument, not kbits/s");
  return set;
}

// The chain keeps filter names; their contexts are made when the stream that
// takes the chain is set up. Arguments after "=" are not used.
void TCustomFFmpeg::AddBitstreamFilter(const std::string& optionName, const std::string& text) {
  if (optionName.empty() || text.empty() || text[0] == '=') return;
  const std::string name = text.substr(0, text.find('='));
  if (!ff::av_bsf_get_by_name(name.c_str()))
    throw FFmpegException("Unknown bitstream filter " + TrimSpaces(text));
  std::vector<std::string>& chain = optionName[0] == 'v'   ? VideoBitstreamFilters
                                    : optionName[0] == 'a' ? AudioBitstreamFilters
                                                           : SubtitleBitstreamFilters;
  chain.push_back(name);
}

}  // namespace trovenix
