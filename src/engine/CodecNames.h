// Codec look-up by name, with the names of older library builds mapped onto
// the codecs that replace them.
#pragma once

#include <string>

extern "C" {
struct AVCodec;
}

namespace trovenix {

// The encoder or decoder a name stands for, or none. Old names are mapped
// first ("libfaac", "mpeg4aac" -> "aac"; "libamr_nb" -> "libopencore_amrnb"
// when this build has it, else "aac"). A fallback that changes the kind of
// codec leaves a notice in warning.
const AVCodec* FindCodecByName(const std::string& name, bool encoder,
                               std::string* warning = nullptr);

}  // namespace trovenix
