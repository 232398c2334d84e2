// Views into pictures and painted borders, for padding.
#pragma once

#include <array>
#include <cstdint>

extern "C" {
struct AVFrame;
}

namespace trovenix {

// Plane pointers of the area of a picture that starts top rows down and left
// columns in (both even for subsampled formats).
void InnerArea(const AVFrame& picture, int top, int left, std::uint8_t* data[4], int linesize[4]);

// Paints the four borders around the inner area in a Y, U, V colour; formats
// other than planar 8-bit YUV get zero bytes.
void PaintBorders(AVFrame& picture, int top, int bottom, int left, int right,
                  const std::array<int, 3>& yuv);

}  // namespace trovenix
