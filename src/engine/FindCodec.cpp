// Codec look-up for the input and output options.
#include <string>

#include "engine/CodecNames.h"
#include "engine/FFmpeg.h"
#include "media/AVCodecStubs.h"

namespace trovenix {

bool TCustomFFmpeg::FindCodec(const std::string& name, int mediaType, bool encoder, int& codecId) {
  codecId = AV_CODEC_ID_NONE;
  if (name.empty()) return true;
  const char* kind = encoder ? "encoder" : "decoder";
  std::string warning;
  const AVCodec* codec = FindCodecByName(name, encoder, &warning);
  if (!warning.empty()) Log(warning, 0);
  if (!codec) {
    LastError = std::string("Unknown ") + kind + " '" + name + "'";
    return false;
  }
  if (codec->type != mediaType) {
    LastError = std::string("Invalid ") + kind + " type '" + name + "'";
    return false;
  }
  codecId = codec->id;
  return true;
}

}  // namespace trovenix
