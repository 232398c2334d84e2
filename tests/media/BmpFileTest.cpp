#include "media/BmpFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

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

TEST(BmpFile, UnwritableNameAndForeignFilesFail) {
  EXPECT_FALSE(SaveBitmapToBmp(TBitmap(2, 2), "/nonexistent-folder/x.bmp"));
  const auto file = TempName("foreign.bmp");
  std::ofstream(file, std::ios::binary) << "BM not really a bitmap";
  EXPECT_EQ(LoadBitmapFromBmp(file.string()), nullptr);
  std::filesystem::remove(file);
}

}  // namespace
}  // namespace trovenix
