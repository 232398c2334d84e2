#include "profiles/OptionBuilders.h"

#include <cctype>
#include <charconv>

#include "engine/OptionValues.h"

namespace trovenix {
namespace {

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// Decimal integer with an optional sign, nothing else around it.
int ToInteger(const std::string& digits, const char* what, const std::string& choice) {
  const char* begin = digits.data();
  const char* end = begin + digits.size();
  if (begin != end && *begin == '+') ++begin;
  int value = 0;
  const auto [ptr, ec] = std::from_chars(begin, end, value);
  if (begin == end || ec != std::errc() || ptr != end)
    throw TConvertError(std::string("The ") + what + " \"" + choice + "\" is not a number");
  return value;
}

// "1200 Kbps" -> 1200000: the leading number with "000" appended.
int Kilo(const std::string& choice, const char* what) {
  return ToInteger(LeadingNumber(choice) + "000", what, choice);
}

int Plain(const std::string& choice, const char* what) {
  return ToInteger(LeadingNumber(choice), what, choice);
}

std::string MapVideoCodec(const std::string& choice) {
  const std::string name = Lower(choice);
  if (name == "h264") return "libx264";
  if (name == "xvid") return "libxvid";
  return name;
}

std::string MapAudioCodec(const std::string& choice) {
  const std::string name = Lower(choice);
  if (name == "aac" || name == "mpeg4aac") return "libfaac";
  if (name == "mp3") return "libmp3lame";
  return name;
}

constexpr const char* VideoBitrateName = "video bit rate";
constexpr const char* AudioBitrateName = "audio bit rate";
constexpr const char* SamplingRateName = "sampling rate";

}  // namespace

std::string LeadingNumber(const std::string& text) {
  const std::size_t blank = text.find(' ');
  return blank == std::string::npos ? std::string() : text.substr(0, blank);
}

std::string ParseFrameSize(const std::string& text) {
  std::string size = text.substr(0, text.find('('));
  std::erase(size, ' ');
  return size;
}

std::string SelectedFrameRate(const TProfileState& state) {
  const std::string text = state.ComboVideoFramerate.Text();
  if (Lower(TrimSpaces(text)) == "auto") return "25";
  return text.substr(0, text.find(' '));
}

void BuildGenericOptions(const TProfileState& state, TOutputOptions& options) {
  options.VideoBitrate = Kilo(state.ComboVideoBitrate.Text(), VideoBitrateName);
  const std::string audioRate = state.ComboAudioBitrate.Text();
  options.AudioBitrate = audioRate.find("Kbps") != std::string::npos
                             ? Kilo(audioRate, AudioBitrateName)
                             : Plain(audioRate, AudioBitrateName);
  options.AudioSampleRate = Plain(state.ComboSamplingRate.Text(), SamplingRateName);
  options.VideoCodec = MapVideoCodec(state.ComboVideoCodec.Text());
  options.AudioCodec = MapAudioCodec(state.ComboAudioCodec.Text());
  const std::string size = state.ComboVideoSize.Text();
  if (size != "Original Video Size") options.FrameSize = ParseFrameSize(size);
  options.AudioChannels = state.ComboAudioChannels.Text() == "Stereo" ? 2 : 1;
  const std::string tag = Lower(state.OutputExtension);
  if (tag == "aac" || tag == "mp3" || tag == "wma") options.DisableVideo = true;
}

void BuildAacDeviceOptions(const TProfileState& state, TOutputOptions& options) {
  options.VideoBitrate = Kilo(state.ComboVideoBitrate.Text(), VideoBitrateName);
  options.AudioBitrate = Kilo(state.ComboAudioBitrate.Text(), AudioBitrateName);
  options.AudioSampleRate = Plain(state.ComboSamplingRate.Text(), SamplingRateName);
  options.VideoCodec = MapVideoCodec(state.ComboVideoCodec.Text());
  options.AudioCodec = "libfaac";
  options.FrameSize = ParseFrameSize(state.ComboVideoSize.Text());
}

void BuildAmrOptions(const TProfileState& state, TOutputOptions& options) {
  options.VideoBitrate = Kilo(state.ComboVideoBitrate.Text(), VideoBitrateName);
  options.AudioBitrate = Plain(state.ComboAudioBitrate.Text(), AudioBitrateName);
  options.AudioSampleRate = Plain(state.ComboSamplingRate.Text(), SamplingRateName);
  options.VideoCodec = MapVideoCodec(state.ComboVideoCodec.Text());
  options.AudioCodec = "libamr_nb";
  options.FrameSize = ParseFrameSize(state.ComboVideoSize.Text());
  options.AudioChannels = 1;
}

}  // namespace trovenix
