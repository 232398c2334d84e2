#include "profiles/FileListCells.h"

#include <gtest/gtest.h>

namespace trovenix {
namespace {

TEST(FileListCells, FormatDuration) {
  const struct {
    std::int64_t seconds;
    std::string text;
  } cases[] = {{0, "00:00:00"}, {59, "00:00:59"}, {3725, "01:02:05"}, {360000, "100:00:00"}};
  for (const auto& c : cases) EXPECT_EQ(FormatDuration(c.seconds), c.text);
  EXPECT_NE(FormatDuration(-5).find('-'), std::string::npos);
}

TEST(FileListCells, DurationCell) {
  EXPECT_EQ(DurationCellText(3725999999), "01:02:05");  // truncated, not rounded
  EXPECT_EQ(DurationCellText(999999), "00:00:00");
  EXPECT_EQ(DurationCellText(-1), "Unknown");
  EXPECT_EQ(DurationCellText(-5000000), "Unknown");
}

TEST(FileListCells, FrameRateInShortestForm) {
  const struct {
    int num, den;
    std::string text;
  } cases[] = {
      {30000, 1001, "29.97"}, {24000, 1001, "23.98"}, {25, 1, "25"},  {25, 2, "12.5"},
      {60000, 1001, "59.94"}, {1, 8, "0.12"},         {3, 8, "0.38"},  // halves to even
      {0, 1, "0"},            {25, 0, "Unknown"},
  };
  for (const auto& c : cases) EXPECT_EQ(FrameRateCellText(c.num, c.den), c.text) << c.num << "/" << c.den;
}

TEST(FileListCells, VideoSize) { EXPECT_EQ(VideoSizeCellText(640, 480), "640x480"); }

}  // namespace
}  // namespace trovenix
