#include "player/PlayerMath.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace trovenix::playermath {
namespace {

TEST(PlayerMath, PictureIsFittedEvenAndCentred) {
  struct Case {
    int W, H;
    double Sar;
    int AreaW, AreaH;
    TRect Expected;
  };
  const Case cases[] = {
      {1920, 1080, 1.0, 320, 240, {0, 30, 320, 180}},  // wide: bars above and below
      {640, 480, 1.0, 320, 240, {0, 0, 320, 240}},     // same shape: fills the area
      {480, 640, 1.0, 320, 240, {70, 0, 180, 240}},    // tall: bars left and right
      {720, 576, 16.0 / 15.0, 320, 240, {0, 0, 320, 240}},
      {720, 480, 0.0, 320, 240, {0, 14, 320, 212}},  // no sample aspect counts as 1
  };
  for (const Case& c : cases) {
    const TRect r = FitPicture(DisplayAspect(c.Sar, c.W, c.H), 0, 0, c.AreaW, c.AreaH);
    EXPECT_EQ(r.X, c.Expected.X) << c.W << "x" << c.H;
    EXPECT_EQ(r.Y, c.Expected.Y) << c.W << "x" << c.H;
    EXPECT_EQ(r.W, c.Expected.W) << c.W << "x" << c.H;
    EXPECT_EQ(r.H, c.Expected.H) << c.W << "x" << c.H;
  }
  const TRect moved = FitPicture(16.0 / 9.0, 10, 20, 320, 240);
  EXPECT_EQ(moved.X, 10);
  EXPECT_EQ(moved.Y, 50);
}

// A turned picture is drawn into a rectangle that, turned about its centre,
// covers the fitted one.
TEST(PlayerMath, ATurnedPictureIsDrawnIntoTheSwappedRectangle) {
  const TRect fitted{70, 0, 180, 240};  // a 360x640 phone picture upright in 320x240
  const struct {
    int Degrees;
    TRect Expected;
  } cases[] = {
      {0, fitted},
      {180, fitted},
      {90, {40, 30, 240, 180}},
      {270, {40, 30, 240, 180}},
  };
  for (const auto& c : cases) {
    const TRect t = TurnedTarget(fitted, c.Degrees);
    EXPECT_EQ(t.X, c.Expected.X) << c.Degrees;
    EXPECT_EQ(t.Y, c.Expected.Y) << c.Degrees;
    EXPECT_EQ(t.W, c.Expected.W) << c.Degrees;
    EXPECT_EQ(t.H, c.Expected.H) << c.Degrees;
    EXPECT_EQ(2 * t.X + t.W, 2 * fitted.X + fitted.W) << "same centre";
    EXPECT_EQ(2 * t.Y + t.H, 2 * fitted.Y + fitted.H) << "same centre";
  }
}

TEST(PlayerMath, FrameDelayReusesThePreviousOneAcrossGapsAndStalls) {
  struct Case {
    double Pts, PreviousPts, PreviousDelay, Expected;
  };
  const Case cases[] = {
      {1.04, 1.0, 0.04, 0.04},  // ordinary step
      {3.0, 1.0, 0.04, 0.04},   // a 2 s gap
      {5.5, 1.0, 0.05, 0.05},   // a longer jump
      {1.0, 1.0, 0.04, 0.04},   // the same time twice
      {0.5, 1.0, 0.04, 0.04},   // going back (after a seek)
      {1.0 + 1.99, 1.0, 0.04, 1.99},
  };
  for (const Case& c : cases)
    EXPECT_NEAR(FrameDelay(c.Pts, c.PreviousPts, c.PreviousDelay), c.Expected, 1e-9)
        << c.Pts << " after " << c.PreviousPts;
}

TEST(PlayerMath, SyncDelayCatchesUpOrWaitsAndGivesUpBeyondTenSeconds) {
  EXPECT_DOUBLE_EQ(SyncDelay(0.04, 0.0), 0.04);
  EXPECT_DOUBLE_EQ(SyncDelay(0.04, -0.05), 0.0);   // late: show now
  EXPECT_DOUBLE_EQ(SyncDelay(0.04, 0.05), 0.08);   // early: wait twice as long
  EXPECT_DOUBLE_EQ(SyncDelay(0.04, -0.03), 0.04);  // inside the threshold
  EXPECT_DOUBLE_EQ(SyncDelay(0.005, -0.01), 0.0);  // threshold at least 10 ms
  EXPECT_DOUBLE_EQ(SyncDelay(0.04, -12.0), 0.04);  // too far apart to correct
  EXPECT_EQ(RefreshDelayMs(10.0, 10.0), 10);       // at least 10 ms
  EXPECT_EQ(RefreshDelayMs(10.04, 10.0), 40);
  EXPECT_EQ(RefreshDelayMs(9.0, 10.0), 10);
}

TEST(PlayerMath, APictureLateByMoreThanAFramePeriodIsSkippedWhileTheScreenMoves) {
  struct Case {
    double Lag, SinceLastShown;
    bool Skipped;
  };
  const Case cases[] = {
      {0.0, 0.04, false},    // on time
      {0.04, 0.04, false},   // late by the frame period itself
      {0.05, 0.04, true},    // late by more
      {-0.05, 0.04, false},  // early
      {0.05, 0.49, true},
      {0.05, 0.5, false},    // the screen has stood long enough: shown late
      {3.0, 1.0, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SkipLatePicture(c.Lag, 0.04, c.SinceLastShown), c.Skipped)
        << "lag " << c.Lag << ", " << c.SinceLastShown << " s since the last picture";
}

TEST(PlayerMath, PositionStopsAtTheDuration) {
  EXPECT_EQ(PlayPosition(1.5, 0, 5000000), 1500000);
  EXPECT_EQ(PlayPosition(1.5, 500000, 5000000), 1000000);
  EXPECT_EQ(PlayPosition(6.0, 0, 5000000), 5000000);
  EXPECT_EQ(PlayPosition(6.0, 0, -1), 6000000);  // unknown duration
  EXPECT_EQ(PlayPosition(0.1, 500000, 5000000), 0);
}

TEST(PlayerMath, WaveformStartsAtAFallingZeroCrossing) {
  // A sine of period 100 samples, mono: the start lands where the samples
  // four and five further change sign, falling.
  std::vector<std::int16_t> ring(1000);
  for (int i = 0; i < 1000; ++i)
    ring[static_cast<std::size_t>(i)] =
        static_cast<std::int16_t>(std::lround(10000 * std::sin(2 * M_PI * i / 100.0)));
  const int start = WaveformStart(ring.data(), 1000, 900, 1);
  const int a = ring[static_cast<std::size_t>((start + 4) % 1000)];
  const int b = ring[static_cast<std::size_t>((start + 5) % 1000)];
  EXPECT_TRUE((a >= 0) != (b >= 0)) << start;
  EXPECT_GT(a, b) << start;
  // Silence has no crossing: the computed start stays.
  std::vector<std::int16_t> silence(1000, 0);
  EXPECT_EQ(WaveformStart(silence.data(), 1000, 900, 2), 900);
}

}  // namespace
}  // namespace trovenix::playermath
