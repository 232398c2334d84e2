// Crop and pad amounts and the colour of the pad border.
#include "engine/FFmpeg.h"

namespace trovenix {
namespace {

const char* const VerticalCropText =
    "Vertical crop dimensions are outside the range of the original image.\n"
    "Remember to crop first and scale second.";
const char* const HorizontalCropText =
    "Horizontal crop dimensions are outside the range of the original image.\n"
    "Remember to crop first and scale second.";

// A crop is taken from the size known so far, so applying one again shrinks
// the picture again while the crop field holds the last amount. Negative
// amounts mean "not set".
void ApplyCrop(int value, const char* oddText, const char* rangeText, int& crop, int& extent) {
  if (value < 0) return;
  if (value % 2 != 0) throw FFmpegException(oddText);
  if (value >= extent) throw FFmpegException(rangeText);
  crop = value;
  extent -= value;
}

void ApplyPad(int value, const char* oddText, int& pad) {
  if (value < 0) return;
  if (value % 2 != 0) throw FFmpegException(oddText);
  pad = value;
}

}  // namespace

void TCustomFFmpeg::SetCropTop(int value) {
  ApplyCrop(value, "Top crop size must be a multiple of 2", VerticalCropText, CropTop, FrameHeight);
}

void TCustomFFmpeg::SetCropBottom(int value) {
  ApplyCrop(value, "Bottom crop size must be a multiple of 2", VerticalCropText, CropBottom,
            FrameHeight);
}

void TCustomFFmpeg::SetCropLeft(int value) {
  ApplyCrop(value, "Left crop size must be a multiple of 2", HorizontalCropText, CropLeft,
            FrameWidth);
}

void TCustomFFmpeg::SetCropRight(int value) {
  ApplyCrop(value, "Right crop size must be a multiple of 2", HorizontalCropText, CropRight,
            FrameWidth);
}

void TCustomFFmpeg::SetPadTop(int value) {
  ApplyPad(value, "Top pad size must be a multiple of 2", PadTop);
}

void TCustomFFmpeg::SetPadBottom(int value) {
  ApplyPad(value, "Bottom pad size must be a multiple of 2", PadBottom);
}

void TCustomFFmpeg::SetPadLeft(int value) {
  ApplyPad(value, "Left pad size must be a multiple of 2", PadLeft);
}

void TCustomFFmpeg::SetPadRight(int value) {
  ApplyPad(value, "Right pad size must be a multiple of 2", PadRight);
}

// Rec. 601 RGB to YUV in 10-bit fixed point; the shifts round down, also for
// the negative sums of U and V.
void TCustomFFmpeg::SetPadColor(int color) {
  const int r = color & 255;
  const int g = (color >> 8) & 255;
  const int b = (color >> 16) & 255;
  PadColor[0] = (307 * r + 602 * g + 117 * b + 512) >> 10;
  PadColor[1] = ((-173 * r - 340 * g + 512 * b + 511) >> 10) + 128;
  PadColor[2] = ((512 * r - 429 * g - 84 * b + 511) >> 10) + 128;
}

}  // namespace trovenix
