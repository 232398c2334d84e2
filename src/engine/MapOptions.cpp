// Metadata pairs, stream and metadata maps, and input timestamp scales.
#include <algorithm>
#include <cctype>
#include <charconv>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "engine/FFmpeg.h"

namespace trovenix {
namespace {

// Reads the numbers of a map text: each like strtol with base 0 (decimal,
// "0x" hexadecimal, leading-0 octal); between numbers one character, whatever
// it is, is skipped unless the text has ended.
class TMapReader {
 public:
  explicit TMapReader(const std::string& text) : at_(text.c_str()) {}

  int Number() {
    char* end = nullptr;
    const long value = std::strtol(at_, &end, 0);
    at_ = end;
    return static_cast<int>(std::clamp<long>(value, INT_MIN, INT_MAX));
  }

  void SkipOne() {
    if (*at_) ++at_;
  }

  // A decimal number read like strtod, with a full stop as the separator
  // whatever the user's locale; 0 when none is there.
  double Real() {
    const char* first = at_;
    while (std::isspace(static_cast<unsigned char>(*first))) ++first;
    if (*first == '+' && first[1] != '-') ++first;
    double value = 0.0;
    const char* last = first + std::strlen(first);
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc()) return 0.0;
    at_ = end;
    return value;
  }

  bool Ended() const { return *at_ == '\0'; }

 private:
  const char* at_;
};

}  // namespace

void TCustomFFmpeg::AddMetadata(const std::string& keyValue) {
  const auto equals = keyValue.find('=');
  if (equals == std::string::npos) throw FFmpegException("Missing =");
  Metadata.emplace_back(keyValue.substr(0, equals), keyValue.substr(equals + 1));
}

void TCustomFFmpeg::AddMetadataPair(const std::string& key, const std::string& value) {
  Metadata.emplace_back(key, value);
}

void TCustomFFmpeg::AddStreamMap(const std::string& text) {
  if (StreamMaps.size() >= static_cast<std::size_t>(MaxStreamMaps))
    throw FFmpegException("Too many stream maps (at most " + std::to_string(MaxStreamMaps) + ")");
  TMapReader reader(text);
  TStreamMap map;
  map.FileIndex = reader.Number();
  reader.SkipOne();
  map.StreamIndex = reader.Number();
  if (reader.Ended()) {
    map.SyncFileIndex = map.FileIndex;
    map.SyncStreamIndex = map.StreamIndex;
  } else {
    reader.SkipOne();
    map.SyncFileIndex = reader.Number();
    reader.SkipOne();
    map.SyncStreamIndex = reader.Number();
  }
  StreamMaps.push_back(map);
}

void TCustomFFmpeg::AddMetaDataMap(const std::string& text) {
  if (MetaDataMaps.size() >= static_cast<std::size_t>(MaxMetaDataMaps))
    throw FFmpegException("Too many metadata maps (at most " + std::to_string(MaxMetaDataMaps) +
                          ")");
  TMapReader reader(text);
  TMetaDataMap map;
  map.OutFile = reader.Number();
  reader.SkipOne();
  map.InFile = reader.Number();
  MetaDataMaps.push_back(map);
}

// The scale belongs to the next input file to be opened.
void TCustomFFmpeg::SetInputTsScale(const std::string& text) {
  TMapReader reader(text);
  const int stream = reader.Number();
  reader.SkipOne();
  const double scale = reader.Real();
  if (stream < 0 || stream >= MaxStreams)
    throw FFmpegException("stream index over MAX_STREAMS(" + std::to_string(MaxStreams) + ")");
  if (InputFiles.size() >= static_cast<std::size_t>(MaxFiles))
    throw FFmpegException("No input file left for a timestamp scale (at most " +
                          std::to_string(MaxFiles) + " input files)");
  InputTsScale[InputFiles.size()][stream] = scale;
}

}  // namespace trovenix
