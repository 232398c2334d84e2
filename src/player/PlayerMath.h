// The player's timing and layout rules as pure functions, so that they are
// checked without SDL or a media file.
#pragma once

#include <cstdint>

namespace trovenix::playermath {

struct TRect {
  int X = 0;
  int Y = 0;
  int W = 0;
  int H = 0;
};

// The picture fitted into the area with the given display aspect ratio
// (width / height), even-sized and centred. A ratio of 0 or less counts as 1.
TRect FitPicture(double aspect, int areaX, int areaY, int areaW, int areaH);

// Where to draw a picture that is turned by degrees clockwise (0, 90, 180,
// 270) about the centre of its rectangle so that it covers fitted: a quarter
// turn swaps the rectangle's sides about the same centre.
TRect TurnedTarget(const TRect& fitted, int degrees);

// The display aspect ratio of a picture: the sample aspect ratio (0 or less
// counts as 1) times width / height.
double DisplayAspect(double sampleAspect, int width, int height);

// Frame delay between two pictures: the gap between their times, unless it is
// 0 or less or 2 s or more (a timestamp jump), when the previous delay stays.
double FrameDelay(double pictureTime, double previousPictureTime, double previousDelay);

// The delay corrected against the master clock: a picture late by the
// threshold or more is shown at once, one early by it waits twice as long;
// beyond 10 s apart no correction is tried.
double SyncDelay(double delay, double diff);

// Whether a picture that is lag seconds behind the master clock is skipped
// instead of shown: when it is more than one frame period late, unless no
// picture has been shown for MaxPictureHold seconds (the picture keeps moving
// on a machine too slow to keep up).
inline constexpr double MaxPictureHold = 0.5;
bool SkipLatePicture(double lag, double frameDuration, double sinceLastShown);

// Milliseconds until the next refresh for the frame timer and the time now
// (both in seconds): at least 10 ms, rounded half to even.
int RefreshDelayMs(double frameTimer, double now);

// The position to report (microseconds from the start): the clock minus the
// start time, held at the duration once it reaches it.
std::int64_t PlayPosition(double clockSeconds, std::int64_t startUs, std::int64_t durationUs);

// Start of the waveform in the ring: from `start`, searches back over 1000
// positions in steps of `channels` for the steepest falling zero crossing.
int WaveformStart(const std::int16_t* ring, int ringSize, int start, int channels);

}  // namespace trovenix::playermath
