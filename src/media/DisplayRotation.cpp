#include "media/DisplayRotation.h"

#include <cmath>
#include <cstdint>

#include "media/AVFormatStubs.h"
#include "media/AVUtilStubs.h"

namespace trovenix {

int QuarterTurn(double degreesClockwise) {
  if (!std::isfinite(degreesClockwise)) return 0;
  const long quarters = std::lround(degreesClockwise / 90.0);
  return static_cast<int>(((quarters % 4) + 4) % 4) * 90;
}

int DisplayRotationDegrees(const AVStream& stream) {
  std::size_t size = 0;
  const std::uint8_t* data = ff::av_stream_get_side_data(&stream, AV_PKT_DATA_DISPLAYMATRIX, &size);
  if (!data || size < 9 * sizeof(std::int32_t)) return 0;
  // The matrix gives the angle counter-clockwise; the picture is turned the
  // other way to be seen upright.
  const double counterClockwise =
      ff::av_display_rotation_get(reinterpret_cast<const std::int32_t*>(data));
  return QuarterTurn(-counterClockwise);
}

}  // namespace trovenix
