#include "player/PlayerMath.h"

#include <cmath>
#include <cstdlib>

namespace trovenix::playermath {
namespace {

constexpr double SyncThreshold = 0.01;
constexpr double NoSyncThreshold = 10.0;
constexpr double LongestFrameDelay = 2.0;

int EvenRound(double value) {
  return static_cast<int>(std::nearbyint(value)) & ~1;
}

}  // namespace

TRect FitPicture(double aspect, int areaX, int areaY, int areaW, int areaH) {
  if (!(aspect > 0.0)) aspect = 1.0;
  int height = areaH;
  int width = EvenRound(height * aspect);
  if (width > areaW) {
    width = areaW;
    height = EvenRound(width / aspect);
  }
  return {areaX + (areaW - width) / 2, areaY + (areaH - height) / 2, width, height};
}

TRect TurnedTarget(const TRect& fitted, int degrees) {
  if (degrees != 90 && degrees != 270) return fitted;
  const int centreX2 = 2 * fitted.X + fitted.W, centreY2 = 2 * fitted.Y + fitted.H;
  return {(centreX2 - fitted.H) / 2, (centreY2 - fitted.W) / 2, fitted.H, fitted.W};
}

double DisplayAspect(double sampleAspect, int width, int height) {
  if (!(sampleAspect > 0.0)) sampleAspect = 1.0;
  if (width <= 0 || height <= 0) return sampleAspect;
  return sampleAspect * width / height;
}

double FrameDelay(double pictureTime, double previousPictureTime, double previousDelay) {
  const double delay = pictureTime - previousPictureTime;
  if (delay <= 0.0 || delay >= LongestFrameDelay) return previousDelay;
  return delay;
}

double SyncDelay(double delay, double diff) {
  if (std::fabs(diff) >= NoSyncThreshold) return delay;
  const double threshold = delay > SyncThreshold ? delay : SyncThreshold;
  if (diff <= -threshold) return 0.0;
  if (diff >= threshold) return 2 * delay;
  return delay;
}

bool SkipLatePicture(double lag, double frameDuration, double sinceLastShown) {
  return lag > frameDuration && sinceLastShown < MaxPictureHold;
}

int RefreshDelayMs(double frameTimer, double now) {
  double actual = frameTimer - now;
  if (actual < SyncThreshold) actual = SyncThreshold;
  return static_cast<int>(std::nearbyint(actual * 1000.0 + 0.5));
}

std::int64_t PlayPosition(double clockSeconds, std::int64_t startUs, std::int64_t durationUs) {
  std::int64_t position = std::llround(clockSeconds * 1000000.0) - startUs;
  if (position < 0) position = 0;
  if (durationUs > 0 && position >= durationUs) position = durationUs;
  return position;
}

int WaveformStart(const std::int16_t* ring, int ringSize, int start, int channels) {
  if (channels <= 0 || ringSize <= 0) return start;
  auto at = [&](int index) {
    return static_cast<int>(ring[((index % ringSize) + ringSize) % ringSize]);
  };
  int best = start;
  int bestScore = -1 << 30;
  bool found = false;
  for (int i = 0; i < 1000; i += channels) {
    const int pos = start - i;
    const int a = at(pos + 4 * channels);
    const int b = at(pos + 5 * channels);
    if ((a ^ b) < 0 || (a < 0) != (b < 0)) {
      const int score = at(pos) - at(pos + 9 * channels);
      if (!found || score > bestScore) {
        bestScore = score;
        best = pos;
        found = true;
      }
    }
  }
  return ((best % ringSize) + ringSize) % ringSize;
}

}  // namespace trovenix::playermath
