#include "media/FrameConverter.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "media/AVUtilStubs.h"
#include "support/Fixtures.h"

namespace trovenix {
namespace {

// A picture in caller-owned memory with a chosen line size for plane 0.
struct OwnedPicture {
  OwnedPicture(int width, int height, int lineSize, std::uint8_t fill, std::uint8_t padding) {
    planes[0].assign(static_cast<std::size_t>(lineSize) * height, padding);
    for (int r = 0; r < height; ++r)
      for (int x = 0; x < width * 3; ++x)
        planes[0][static_cast<std::size_t>(r) * lineSize + x] = static_cast<std::uint8_t>(fill + r);
    picture.data[0] = planes[0].data();
    picture.linesize[0] = lineSize;
  }
  // A flat grey YUV 4:2:0 picture.
  static OwnedPicture Yuv420(int width, int height) {
    OwnedPicture p(0, 0, 0, 0, 0);
    const int sizes[3] = {width * height, width * height / 4, width * height / 4};
    for (int i = 0; i < 3; ++i) {
      p.planes[i].assign(static_cast<std::size_t>(sizes[i]), 128);
      p.picture.data[i] = p.planes[i].data();
      p.picture.linesize[i] = i == 0 ? width : width / 2;
    }
    return p;
  }
  std::vector<std::uint8_t> planes[3];
  TPicture picture;
};

class FrameConverterTest : public ::testing::Test {
 protected:
  void SetUp() override { test::LoadLibrariesOrFail(); }
  FrameConverter converter;
};

TEST_F(FrameConverterTest, ResetOfAFreshConverterKeepsDefaults) {
  ResetFrameConverter(converter);
  EXPECT_EQ(converter.TargetFormat, AV_PIX_FMT_BGR24);
  EXPECT_EQ(converter.BitmapFormat, 24);
  EXPECT_EQ(converter.Bitmap, nullptr);
  EXPECT_EQ(converter.Buffer, nullptr);
  EXPECT_EQ(converter.BufferSize, 0);
  EXPECT_EQ(converter.CurrentPicture, nullptr);
  EXPECT_EQ(converter.ToBitmapScaler, nullptr);
}

TEST_F(FrameConverterTest, Bgr24IsCopiedWithoutScaling) {
  OwnedPicture source(5, 3, 15, 10, 0);
  ASSERT_TRUE(PictureToBitmap(converter, source.picture, AV_PIX_FMT_BGR24, 3, 5));
  EXPECT_EQ(converter.CurrentPicture, &source.picture);
  EXPECT_EQ(converter.Buffer, nullptr);
  EXPECT_EQ(converter.BufferSize, 0);
  EXPECT_EQ(converter.ToBitmapScaler, nullptr);
  ASSERT_NE(converter.Bitmap, nullptr);
  EXPECT_EQ(converter.Bitmap->Width(), 5);
  EXPECT_EQ(converter.Bitmap->Height(), 3);
  for (int r = 0; r < 3; ++r)
    for (int x = 0; x < 15; ++x) EXPECT_EQ(converter.Bitmap->Row(r)[x], 10 + r);
}

TEST_F(FrameConverterTest, PaddedLinesNeverWritePastABitmapRow) {
  // The bitmap is taller than the picture, so bytes spilling past a row would
  // land in rows that must stay empty.
  converter.Bitmap = NewBitmap(4, 6);
  OwnedPicture source(4, 2, 64, 20, 0xEE);
  ASSERT_TRUE(PictureToBitmap(converter, source.picture, AV_PIX_FMT_BGR24, 2, 4));
  const TBitmap& bitmap = *converter.Bitmap;
  for (int r = 0; r < 2; ++r)
    for (int x = 0; x < 12; ++x) EXPECT_EQ(bitmap.Row(r)[x], 20 + r);
  for (int r = 2; r < 6; ++r)
    for (int x = 0; x < bitmap.Stride(); ++x) ASSERT_EQ(bitmap.Row(r)[x], 0) << r << "," << x;
}

TEST_F(FrameConverterTest, PictureTallerThanTheBitmapIsClipped) {
  converter.Bitmap = NewBitmap(4, 2);
  OwnedPicture source(4, 5, 12, 1, 0);
  ASSERT_TRUE(PictureToBitmap(converter, source.picture, AV_PIX_FMT_BGR24, 5, 4));
  EXPECT_EQ(converter.Bitmap->Row(1)[0], 2);
}

TEST_F(FrameConverterTest, YuvIsScaledIntoAReusedBuffer) {
  OwnedPicture small = OwnedPicture::Yuv420(64, 48);
  ASSERT_TRUE(PictureToBitmap(converter, small.picture, AV_PIX_FMT_YUV420P, 48, 64));
  EXPECT_EQ(converter.CurrentPicture, &converter.Picture);
  EXPECT_EQ(converter.BufferSize, 64 * 48 * 3);
  ASSERT_NE(converter.ToBitmapScaler, nullptr);
  // Mid grey in, mid grey out.
  const std::uint8_t* row = converter.Bitmap->Row(20);
  for (int x = 0; x < 64 * 3; ++x) EXPECT_NEAR(row[x], 128, 3) << x;

  // After a reset a larger picture gets a larger buffer ...
  ResetFrameConverter(converter);
  OwnedPicture large = OwnedPicture::Yuv420(128, 96);
  ASSERT_TRUE(PictureToBitmap(converter, large.picture, AV_PIX_FMT_YUV420P, 96, 128));
  EXPECT_EQ(converter.BufferSize, 128 * 96 * 3);
  const std::uint8_t* buffer = converter.Buffer.get();
  const SwsContext* scaler = converter.ToBitmapScaler.get();

  // ... the same size again reuses buffer and scaler, and a smaller one keeps
  // the buffer.
  ASSERT_TRUE(PictureToBitmap(converter, large.picture, AV_PIX_FMT_YUV420P, 96, 128));
  EXPECT_EQ(converter.ToBitmapScaler.get(), scaler);
  ASSERT_TRUE(PictureToBitmap(converter, small.picture, AV_PIX_FMT_YUV420P, 48, 64));
  EXPECT_EQ(converter.Buffer.get(), buffer);
  EXPECT_EQ(converter.BufferSize, 128 * 96 * 3);
}

TEST_F(FrameConverterTest, FormatWithoutScalerFailsAndKeepsTheBitmap) {
  OwnedPicture source(4, 2, 12, 7, 0);
  ASSERT_TRUE(PictureToBitmap(converter, source.picture, AV_PIX_FMT_BGR24, 2, 4));
  EXPECT_FALSE(PictureToBitmap(converter, source.picture, AV_PIX_FMT_NONE, 2, 4));
  EXPECT_EQ(converter.Bitmap->Row(0)[0], 7);
}

}  // namespace
}  // namespace trovenix
