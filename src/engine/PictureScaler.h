// Checks of picture values before they reach a library call.
#pragma once

extern "C" {
struct AVCodecParameters;
}

namespace trovenix {

// A picture size the libraries can hold: both sides positive, within their bound.
bool ValidPictureSize(int width, int height);
// A pixel format the library describes; AV_PIX_FMT_NONE is not one.
bool KnownPixelFormat(int format);
// Whether a stream's parameters already tell its picture's format and size;
// otherwise they are learned from the first decoded picture.
bool SourcePictureKnown(const AVCodecParameters& par);

}  // namespace trovenix
