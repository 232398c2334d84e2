// Text helpers shared by the probe, the engine and the player.
#pragma once

#include <cstdint>
#include <string>

extern "C" {
struct AVCodecContext;
struct AVCodecParameters;
struct AVDictionary;
}

namespace trovenix {

// Library error code made by the probe for a file whose format no demuxer
// recognises (the library itself reports such a file as invalid data, like a
// recognised file whose header is damaged).
int UnknownFormatError();

// User text for a failed open of fileName with a library error code.
std::string OpenErrorText(const std::string& fileName, int code);

// "Unknown input format: NAME", for a forced input format the library lacks.
std::string UnknownInputFormatText(const std::string& name);

// Value of key in a metadata set, or defaultValue when absent.
std::string MetadataValue(const AVDictionary* metadata, const char* key,
                          const std::string& defaultValue = {});

// "short(long name)" of the codec for an id, falling back to the codec's
// registered name, then the four-character tag.
std::string CodecDescription(int codecId, std::uint32_t codecTag, bool encoder);
std::string CodecDescription(const AVCodecContext* context, bool encoder);
std::string CodecDescription(const AVCodecParameters* parameters, bool encoder);

}  // namespace trovenix
