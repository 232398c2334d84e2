// A 24-bit picture in memory: BGR pixels, top row first, each row padded to a
// multiple of four bytes. The window shows it without copying.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace trovenix {

class TBitmap {
 public:
  static constexpr int BitsPerPixel = 24;

  TBitmap(int width, int height);

  int Width() const { return width_; }
  int Height() const { return height_; }
  // Bytes from the start of one row to the start of the next.
  int Stride() const { return stride_; }
  std::uint8_t* Row(int row) { return pixels_.data() + static_cast<std::size_t>(row) * stride_; }
  const std::uint8_t* Row(int row) const {
    return pixels_.data() + static_cast<std::size_t>(row) * stride_;
  }
  std::uint8_t* Bits() { return pixels_.data(); }
  const std::uint8_t* Bits() const { return pixels_.data(); }

 private:
  int width_;
  int height_;
  int stride_;
  std::vector<std::uint8_t> pixels_;
};

// The bitmap turned clockwise by 90, 180 or 270 degrees; a copy for 0.
TBitmap TurnedBitmap(const TBitmap& bitmap, int degreesClockwise);

}  // namespace trovenix
