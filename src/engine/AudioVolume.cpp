#include "engine/AudioVolume.h"

#include <algorithm>
#include <cstring>
#include <limits>

extern "C" {
#include <libavutil/samplefmt.h>
}

namespace trovenix {
namespace {

template <class Sample, class Wide>
void ScaleIntegers(std::uint8_t* bytes, int count, int volume, Wide bias = 0) {
  for (int i = 0; i < count; ++i) {
    Sample sample;
    std::memcpy(&sample, bytes + i * sizeof(Sample), sizeof(Sample));
    // Arithmetic shift: rounds toward minus infinity, as the volume rule wants.
    Wide value = ((static_cast<Wide>(sample) - bias) * volume + 128) >> 8;
    value = std::clamp<Wide>(value + bias, std::numeric_limits<Sample>::min(),
                             std::numeric_limits<Sample>::max());
    sample = static_cast<Sample>(value);
    std::memcpy(bytes + i * sizeof(Sample), &sample, sizeof(Sample));
  }
}

template <class Sample>
void ScaleReals(std::uint8_t* bytes, int count, int volume) {
  const Sample gain = static_cast<Sample>(volume) / 256;
  for (int i = 0; i < count; ++i) {
    Sample sample;
    std::memcpy(&sample, bytes + i * sizeof(Sample), sizeof(Sample));
    sample = std::clamp<Sample>(sample * gain, -1, 1);
    std::memcpy(bytes + i * sizeof(Sample), &sample, sizeof(Sample));
  }
}

}  // namespace

void ApplyVolume(std::uint8_t* samples, int count, int sampleFormat, int volume) {
  switch (sampleFormat) {
    case AV_SAMPLE_FMT_U8:
    case AV_SAMPLE_FMT_U8P:
      ScaleIntegers<std::uint8_t, int>(samples, count, volume, 128);
      break;
    case AV_SAMPLE_FMT_S16:
    case AV_SAMPLE_FMT_S16P:
      ScaleIntegers<std::int16_t, int>(samples, count, volume);
      break;
    case AV_SAMPLE_FMT_S32:
    case AV_SAMPLE_FMT_S32P:
      ScaleIntegers<std::int32_t, std::int64_t>(samples, count, volume);
      break;
    case AV_SAMPLE_FMT_S64:
    case AV_SAMPLE_FMT_S64P:
      // 64-bit products could overflow: go through doubles.
      for (int i = 0; i < count; ++i) {
        std::int64_t sample;
        std::memcpy(&sample, samples + i * 8, 8);
        const double scaled = static_cast<double>(sample) * volume / 256;
        sample = scaled >= 9.2e18 ? std::numeric_limits<std::int64_t>::max()
                 : scaled <= -9.2e18 ? std::numeric_limits<std::int64_t>::min()
                                     : static_cast<std::int64_t>(scaled);
        std::memcpy(samples + i * 8, &sample, 8);
      }
      break;
    case AV_SAMPLE_FMT_FLT:
    case AV_SAMPLE_FMT_FLTP:
      ScaleReals<float>(samples, count, volume);
      break;
    case AV_SAMPLE_FMT_DBL:
    case AV_SAMPLE_FMT_DBLP:
      ScaleReals<double>(samples, count, volume);
      break;
    default:
      break;
  }
}

}  // namespace trovenix
