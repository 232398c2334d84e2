#include "engine/CodecNames.h"

#include "media/AVCodecStubs.h"

namespace trovenix {
namespace {

const AVCodec* LookUp(const std::string& name, bool encoder) {
  return encoder ? ff::avcodec_find_encoder_by_name(name.c_str())
                 : ff::avcodec_find_decoder_by_name(name.c_str());
}

}  // namespace

const AVCodec* FindCodecByName(const std::string& name, bool encoder, std::string* warning) {
  if (name == "libfaac" || name == "mpeg4aac") return LookUp("aac", encoder);
  if (name == "libamr_nb") {
    if (const AVCodec* amr = LookUp("libopencore_amrnb", encoder)) return amr;
    // Builds without the OpenCORE library have no AMR-NB encoder; the output
    // profiles that ask for it still play with AAC.
    if (warning)
      *warning = std::string("AMR-NB ") + (encoder ? "encoder" : "decoder") +
                 " libopencore_amrnb not available, using aac";
    return LookUp("aac", encoder);
  }
  return LookUp(name, encoder);
}

}  // namespace trovenix
