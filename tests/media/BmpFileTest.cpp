#include "media/BmpFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "media/Bitmap.h"

#include <unistd.h>

namespace trovenix {
namespace {

std::filesystem::path TempName(const char* name) {
  return std::filesystem::temp_directory_path() /
         (std::string("trovenix-bmp-") + std::to_string(::getpid()) + "-" + name);
}

TEST(BmpFile, RoundTripKeepsEveryPixelAndWritesBottomRowFirst) {
  // Odd widths make padded rows; 0 x 0 is what a snapshot of a sound file gives.
  for (const auto& [width, height] : {std::pair{5, 3}, std::pair{4, 1}, std::pair{0, 0}}) {
    TBitmap bitmap(width, height);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width * 3; ++x) bitmap.Row(y)[x] = static_cast<std::uint8_t>(y * 40 + x);
    const auto file = TempName("round.bmp");
    ASSERT_TRUE(SaveBitmapToBmp(bitmap, file.string()));
    const auto size = std::filesystem::file_size(file);
    EXPECT_EQ(size, 54u + static_cast<unsigned>(bitmap.Stride() * height));
    if (height > 0) {
      std::ifstream in(file, std::ios::binary);
      in.seekg(54);
      EXPECT_EQ(in.get(), bitmap.Row(height - 1)[0]);
    }
    const auto back = LoadBitmapFromBmp(file.string());
    ASSERT_NE(back, nullptr);
    ASSERT_EQ(back->Width(), width);
    ASSERT_EQ(back->Height(), height);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width * 3; ++x) EXPECT_EQ(back->Row(y)[x], bitmap.Row(y)[x]);
    std::filesystem::remove(file);
  }
}

// A 3x2 bitmap whose pixels are numbered 0..5 row by row, turned each way.
TEST(Bitmap, TurnedBitmapMovesEveryPixelWhereTheTurnTakesIt) {
  TBitmap bitmap(3, 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) std::fill_n(bitmap.Row(y) + 3 * x, 3, y * 3 + x);
  const struct {
    int Degrees, Width, Height;
    std::vector<int> Pixels;  // row by row
  } cases[] = {
      {0, 3, 2, {0, 1, 2, 3, 4, 5}},
      {90, 2, 3, {3, 0, 4, 1, 5, 2}},
      {180, 3, 2, {5, 4, 3, 2, 1, 0}},
      {270, 2, 3, {2, 5, 1, 4, 0, 3}},
  };
  for (const auto& c : cases) {
    const TBitmap turned = TurnedBitmap(bitmap, c.Degrees);
    ASSERT_EQ(turned.Width(), c.Width) << c.Degrees;
    ASSERT_EQ(turned.Height(), c.Height) << c.Degrees;
    std::vector<int> pixels;
    for (int y = 0; y < turned.Height(); ++y)
      for (int x = 0; x < turned.Width(); ++x) pixels.push_back(turned.Row(y)[3 * x]);
    EXPECT_EQ(pixels, c.Pixels) << c.Degrees;
  }
}

TEST(BmpFile, UnwritableNameAndForeignFilesFail) {
  EXPECT_FALSE(SaveBitmapToBmp(TBitmap(2, 2), "/nonexistent-folder/x.bmp"));
  const auto file = TempName("foreign.bmp");
  std::ofstream(file, std::ios::binary) << "BM not really a bitmap";
  EXPECT_EQ(LoadBitmapFromBmp(file.string()), nullptr);
  std::filesystem::remove(file);
}

}  // namespace
}  // namespace trovenix
