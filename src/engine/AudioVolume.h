// Volume of decoded sound: 256 leaves samples as they are, 512 doubles them.
#pragma once

#include <cstdint>

namespace trovenix {

// Scales count samples of a library sample format in place. 16-bit samples
// become (sample * volume + 128) >> 8, clipped; other formats get the same
// gain with the same clipping to their range.
void ApplyVolume(std::uint8_t* samples, int count, int sampleFormat, int volume);

}  // namespace trovenix
