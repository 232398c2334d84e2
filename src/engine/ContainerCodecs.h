// Whether an output container can hold a codec at all, asked before anything
// is written: some muxers take any stream and write what they cannot describe
// as data that no reader will recognise.
#pragma once

#include <string>

extern "C" {
#include <libavcodec/codec_id.h>
struct AVOutputFormat;
}

namespace trovenix {

// Empty when the container can hold the codec, or when only its muxer can
// tell (it then refuses at the header itself); otherwise the reason, naming
// the codec and the container.
std::string ContainerRefusal(const AVOutputFormat& format, AVCodecID codec);

}  // namespace trovenix
