#include "media/ProbeTexts.h"

#include <cerrno>
#include <cstdio>

#include "media/AVCodecStubs.h"
#include "media/AVFormatStubs.h"
#include "media/AVUtilStubs.h"

namespace trovenix {
namespace {

std::string Trim(const char* text) {
  std::string s = text ? text : "";
  const auto first = s.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  const auto last = s.find_last_not_of(' ');
  return s.substr(first, last - first + 1);
}

std::string Format(const char* pattern, const std::string& fileName) {
  std::string text;
  for (const char* p = pattern; *p; ++p) {
    if (p[0] == '%' && p[1] == 's') {
      text += fileName;
      ++p;
    } else {
      text += *p;
    }
  }
  return text;
}

}  // namespace

int UnknownFormatError() { return AVERROR_DEMUXER_NOT_FOUND; }

std::string UnknownInputFormatText(const std::string& name) { return "Unknown input format: " + name; }

std::string OpenErrorText(const std::string& fileName, int code) {
  const char* pattern = "%s: Error while opening file";
  switch (code) {
    case AVERROR_DEMUXER_NOT_FOUND:
      pattern = "%s: Unknown format";
      break;
    case AVERROR(EDOM):
      pattern =
          "%s: Incorrect image filename syntax.\r\n"
          "Use '%d' to specify the image number:\r\n"
          "  for img1.jpg, img2.jpg, ..., use 'img%d.jpg';\r\n"
          "  for img001.jpg, img002.jpg, ..., use 'img%03d.jpg'.";
      break;
    case AVERROR_INVALIDDATA:
    case AVERROR(EINVAL):
      pattern = "%s: Error while parsing header";
      break;
    case AVERROR(ENOMEM):
      pattern = "%s: memory allocation error occurred";
      break;
    case AVERROR(EIO):
    case AVERROR_EOF:
      pattern =
          "%s: I/O error occurred\r\n"
          "Usually that means that input file is truncated and/or corrupted.";
      break;
    case AVERROR(ENOENT):
      pattern = "%s: no such file or directory";
      break;
    default:
      break;
  }
  return Format(pattern, fileName);
}

std::string MetadataValue(const AVDictionary* metadata, const char* key,
                          const std::string& defaultValue) {
  const AVDictionaryEntry* entry = ff::av_dict_get(metadata, key, nullptr, 0);
  return entry ? std::string(entry->value) : defaultValue;
}

std::string CodecDescription(int codecId, std::uint32_t codecTag, bool encoder) {
  const auto id = static_cast<AVCodecID>(codecId);
  const AVCodec* codec = encoder ? ff::avcodec_find_encoder(id) : ff::avcodec_find_decoder(id);
  if (codec) {
    const std::string longName = Trim(codec->long_name);
    return longName.empty() ? std::string(codec->name)
                            : std::string(codec->name) + "(" + longName + ")";
  }
  if (id == AV_CODEC_ID_MPEG2TS) return "mpeg2ts";
  // A codec the library knows by id but has no coder for in this build.
  if (const AVCodecDescriptor* descriptor = ff::avcodec_descriptor_get(id)) {
    const std::string name = Trim(descriptor->name);
    if (!name.empty()) return name;
  }
  char text[32];
  const unsigned char bytes[4] = {
      static_cast<unsigned char>(codecTag & 0xFF), static_cast<unsigned char>(codecTag >> 8),
      static_cast<unsigned char>(codecTag >> 16), static_cast<unsigned char>(codecTag >> 24)};
  bool printable = true;
  for (unsigned char b : bytes) printable = printable && b >= 32 && b <= 126;
  if (printable) {
    std::snprintf(text, sizeof text, "%c%c%c%c / 0x%04X", bytes[0], bytes[1], bytes[2], bytes[3],
                  codecTag);
  } else {
    std::snprintf(text, sizeof text, "0x%04x", codecTag);
  }
  return text;
}

std::string CodecDescription(const AVCodecContext* context, bool encoder) {
  return CodecDescription(context->codec_id, context->codec_tag, encoder);
}

std::string CodecDescription(const AVCodecParameters* parameters, bool encoder) {
  return CodecDescription(parameters->codec_id, parameters->codec_tag, encoder);
}

}  // namespace trovenix
