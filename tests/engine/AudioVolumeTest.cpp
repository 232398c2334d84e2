#include "engine/AudioVolume.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

extern "C" {
#include <libavutil/samplefmt.h>
}

namespace trovenix {
namespace {

std::vector<std::int16_t> Scaled(std::vector<std::int16_t> samples, int volume) {
  ApplyVolume(reinterpret_cast<std::uint8_t*>(samples.data()), static_cast<int>(samples.size()),
              AV_SAMPLE_FMT_S16, volume);
  return samples;
}

TEST(AudioVolume, SixteenBitRule) {
  EXPECT_EQ(Scaled({1000, 20000, -20000, 0}, 512), (std::vector<std::int16_t>{2000, 32767, -32768, 0}));
  EXPECT_EQ(Scaled({3, -3}, 128), (std::vector<std::int16_t>{2, -1}));
  const std::vector<std::int16_t> any{1, -1, 12345, -32768, 32767};
  EXPECT_EQ(Scaled(any, 256), any);
}

TEST(AudioVolume, OtherFormatsGetTheSameGainAndClipping) {
  std::vector<float> reals{0.25f, 0.75f, -0.75f};
  ApplyVolume(reinterpret_cast<std::uint8_t*>(reals.data()), 3, AV_SAMPLE_FMT_FLTP, 512);
  EXPECT_EQ(reals, (std::vector<float>{0.5f, 1.0f, -1.0f}));

  std::vector<std::int32_t> wide{1 << 20, 2000000000, -2000000000};
  ApplyVolume(reinterpret_cast<std::uint8_t*>(wide.data()), 3, AV_SAMPLE_FMT_S32, 512);
  EXPECT_EQ(wide, (std::vector<std::int32_t>{1 << 21, 2147483647, -2147483647 - 1}));

  std::vector<std::uint8_t> bytes{128, 192, 10};  // unsigned: 128 is silence
  ApplyVolume(bytes.data(), 3, AV_SAMPLE_FMT_U8, 512);
  EXPECT_EQ(bytes, (std::vector<std::uint8_t>{128, 255, 0}));
}

}  // namespace
}  // namespace trovenix
