// How a stream's pictures are turned for display, as phones record it in the
// stream's display matrix.
#pragma once

extern "C" {
struct AVStream;
}

namespace trovenix {

// Degrees clockwise (0, 90, 180 or 270) that a decoded picture of the stream
// is turned by to be seen upright; 0 without a display matrix. Angles in
// between are taken to the nearest quarter turn. Needs libavformat and
// libavutil loaded.
int DisplayRotationDegrees(const AVStream& stream);

// A quarter or three-quarter turn swaps the picture's width and height.
inline bool SwapsSides(int degrees) {
  return degrees == 90 || degrees == 270;
}

// Normalises an angle in degrees clockwise to 0, 90, 180 or 270.
int QuarterTurn(double degreesClockwise);

}  // namespace trovenix
