#include "engine/TaskOptions.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <ctime>

#include "engine/FFmpeg.h"
#include "engine/OptionValues.h"

namespace trovenix {
namespace {

// Days between 1899-12-30 and 1970-01-01.
constexpr double UnixEpochDays = 25569.0;

bool IsPassOneName(const std::string& name) {
  return name == "newvideo" || name == "newaudio" || name == "newsubtitle";
}

// A whole decimal number of 64 bits, or -1.
std::int64_t Int64OrMinusOne(const std::string& text) {
  if (text.empty()) return -1;
  std::size_t used = 0;
  try {
    const long long value = std::stoll(text, &used, 10);
    return used == text.size() ? value : -1;
  } catch (const std::exception&) {
    return -1;
  }
}

std::string Decimal(std::int64_t value) { return std::to_string(value); }

// Texts of fixed-size fields keep what fits with their terminating zero.
std::string Fixed(const std::string& text, std::size_t size) { return text.substr(0, size - 1); }

}  // namespace

void ApplyExtOptions(TCustomFFmpeg& task, const std::string& text, int pass) {
  std::string lines = TrimSpaces(text);
  std::string unified;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i] == '\r') {
      unified += '\n';
      if (i + 1 < lines.size() && lines[i + 1] == '\n') ++i;
    } else {
      unified += lines[i];
    }
  }
  if (unified.empty()) return;
  std::size_t start = 0;
  while (start <= unified.size()) {
    std::size_t end = unified.find('\n', start);
    if (end == std::string::npos) end = unified.size();
    const std::string line = unified.substr(start, end - start);
    const std::size_t eq = line.find('=');
    const std::string name = eq == std::string::npos ? line : line.substr(0, eq);
    const std::string value = eq == std::string::npos ? std::string() : line.substr(eq + 1);
    if ((pass == 1) == IsPassOneName(name)) task.ParseOption(name, value);
    start = end + 1;
  }
}

std::vector<THookRange> ParseHookTimeRanges(const std::string& text) {
  std::vector<THookRange> ranges;
  const std::string all = TrimSpaces(text);
  std::size_t start = 0;
  while (start < all.size()) {
    std::size_t comma = all.find(',', start);
    if (comma == std::string::npos) comma = all.size();
    const std::string part = TrimSpaces(all.substr(start, comma - start));
    start = comma + 1;
    const std::size_t dash = part.find('-');
    const std::string first = dash == std::string::npos ? part : part.substr(0, dash);
    const std::string second = dash == std::string::npos ? std::string() : part.substr(dash + 1);
    const std::int64_t from = Int64OrMinusOne(first), to = Int64OrMinusOne(second);
    // Values beyond what microseconds can hold are no times either.
    if (from > INT64_MAX / 1000 || to > INT64_MAX / 1000) continue;
    const THookRange range{from * 1000, to * 1000};
    if (range.End >= range.Start && range.End >= 0) ranges.push_back(range);
  }
  std::stable_sort(ranges.begin(), ranges.end(),
                   [](const THookRange& a, const THookRange& b) { return a.End < b.End; });
  return ranges;
}

std::int64_t DateTimeToUnixSeconds(double localDays, int biasMinutes) {
  return std::llround((localDays - UnixEpochDays + biasMinutes / 1440.0) * 86400.0);
}

int LocalTimeZoneBiasMinutes() {
  // The zone's offset now, less the daylight-saving hour when it is in force.
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  long offset = local.tm_gmtoff;
  if (local.tm_isdst > 0) offset -= 3600;
  return static_cast<int>(-offset / 60);
}

double LocalNowAsDateTime() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  std::tm local{};
  localtime_r(&now.tv_sec, &local);
  const double seconds = static_cast<double>(now.tv_sec) + static_cast<double>(local.tm_gmtoff) +
                         now.tv_nsec / 1e9;
  return seconds / 86400.0 + UnixEpochDays;
}

void ApplyInputOptions(TCustomFFmpeg& task, const TInputOptions& options) {
  ApplyExtOptions(task, options.ExtOptions, 0);
  if (!options.FileFormat.empty()) task.SetInputFormat(options.FileFormat);
  if (options.StartTime > 0) task.SetStartTime(std::int64_t{options.StartTime} * 1000);
  if (options.StartTimeUs > 0) task.SetStartTime(options.StartTimeUs);
  if (options.ProgramID >= 0) task.ParseOption("programid", Decimal(options.ProgramID));
}

// Fields at their default leave the setting alone: a fresh task has the same
// defaults, and a value given among the extra options stays in force.
void ApplyOutputOptions(TCustomFFmpeg& task, const TOutputOptions& o) {
  static const char* const Targets[] = {"vcd", "svcd", "dvd"};
  if (o.Target >= 1 && o.Target <= 3) {
    const char* norm = o.TargetNorm == 1 ? "pal" : o.TargetNorm == 2 ? "ntsc" : "auto";
    task.SetTargetPreset(Targets[o.Target - 1], norm, o.TargetDefaultNorm == 1 ? "pal" : "ntsc");
  }
  // Before the extra options, so that a "pix_fmt" or "ac" named there wins.
  if (!o.PixelFormat.empty()) task.SetFramePixFmt(o.PixelFormat);
  if (o.AudioChannels <= 0 && o.MaxAudioChannels > 0 && task.AudioChannels > o.MaxAudioChannels)
    task.SetAudioChannels(o.MaxAudioChannels);
  ApplyExtOptions(task, o.ExtOptions, 0);

  const auto defaultOption = [&](const char* name, int value) {
    if (value > 0) task.SetDefaultOption(name, Decimal(value));
  };
  const auto option = [&](const char* name, const std::string& value) {
    if (!value.empty()) task.ParseOption(name, value);
  };
  if (!o.FileFormat.empty()) task.SetOutputFormat(o.FileFormat);
  defaultOption("packetsize", o.PacketSize);
  defaultOption("muxrate", o.MuxRate);
  if (o.MuxDelay > 0) task.SetMuxMaxDelay(o.MuxDelay);
  if (o.MuxPreload > 0) task.SetMuxPreload(o.MuxPreload);
  option("acodec", o.AudioCodec);
  if (o.DisableAudio) task.AudioDisable = true;
  if (o.Volume >= 0) task.SetAudioVolume(o.Volume);
  if (o.AudioChannels > 0) task.SetAudioChannels(o.AudioChannels);
  if (o.AudioSampleRate > 0) task.SetAudioRate(o.AudioSampleRate);
  defaultOption("ab", o.AudioBitrate);
  defaultOption("abt", o.AudioBitrateTolerance);
  option("alang", o.AudioLanguage);
  if (o.AudioSync != 0) task.SetAudioSyncMethod(o.AudioSync);
  option("atag", o.AudioTag);
  option("vcodec", o.VideoCodec);
  if (o.DisableVideo) task.VideoDisable = true;
  option("r", o.FrameRate);
  option("s", o.FrameSize);
  option("aspect", o.AspectRatio);
  const std::pair<const char*, int> edges[] = {
      {"croptop", o.CropTop}, {"cropbottom", o.CropBottom}, {"cropleft", o.CropLeft},
      {"cropright", o.CropRight}, {"padtop", o.PadTop}, {"padbottom", o.PadBottom},
      {"padleft", o.PadLeft}, {"padright", o.PadRight}};
  for (const auto& [name, value] : edges)
    if (value >= 0) task.ParseOption(name, Decimal(value));
  if (o.PadColor != 0) task.SetPadColor(o.PadColor);
  defaultOption("gop", o.GopSize);
  defaultOption("vb", o.VideoBitrate);
  defaultOption("maxrate", o.VideoMaxRate);
  defaultOption("minrate", o.VideoMinRate);
  defaultOption("bt", o.VideoBitrateTolerance);
  defaultOption("bufsize", o.VideoBufferSize);
  if (o.VideoSync != -1) task.SetVideoSyncMethod(o.VideoSync);
  option("vtag", o.VideoTag);
  option("vfilters", o.VideoFilters);
  if (o.DisableSubtitle) task.SubtitleDisable = true;
  option("slang", o.SubtitleLanguage);
  if (o.CopyTimestamps) task.CopyTs = true;
  if (o.StartTime > 0) task.SetStartTime(std::int64_t{o.StartTime} * 1000);
  if (o.StartTimeUs > 0) task.SetStartTime(o.StartTimeUs);
  if (o.RecordingTime > 0) task.SetRecordingTimeMs(o.RecordingTime);
  if (o.RecordingTimeUs > 0) task.SetRecordingTime(o.RecordingTimeUs);
  if (o.Timestamp >= 0) {
    const double moment = o.Timestamp == 0 ? LocalNowAsDateTime() : o.Timestamp;
    task.RecTimestamp = DateTimeToUnixSeconds(moment, LocalTimeZoneBiasMinutes());
  }
  if (o.Year > 0) task.AddMetadataPair("year", Decimal(o.Year));
  if (o.Track > 0) task.AddMetadataPair("track", Decimal(o.Track));
  const std::pair<const char*, std::string> texts[] = {
      {"title", Fixed(o.Title, 512)},         {"author", Fixed(o.Author, 512)},
      {"copyright", Fixed(o.Copyright, 512)}, {"comment", Fixed(o.Comment, 512)},
      {"album", Fixed(o.Album, 512)},         {"genre", Fixed(o.Genre, 32)}};
  for (const auto& [key, value] : texts)
    if (!value.empty()) task.AddMetadataPair(key, value);
}

}  // namespace trovenix
