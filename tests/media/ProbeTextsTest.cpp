#include "media/ProbeTexts.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "media/AVCodecStubs.h"
#include "media/AVUtilStubs.h"
#include "media/MediaPtr.h"
#include "support/Fixtures.h"

namespace trovenix {
namespace {

class ProbeTextsTest : public ::testing::Test {
 protected:
  void SetUp() override { test::LoadLibrariesOrFail(); }
};

TEST_F(ProbeTextsTest, OpenErrorTextByMeaning) {
  const struct {
    int code;
    std::string text;
  } cases[] = {
      {UnknownFormatError(), "clip.xyz: Unknown format"},
      {AVERROR(EDOM),
       "clip.xyz: Incorrect image filename syntax.\r\nUse '%d' to specify the image number:\r\n"
       "  for img1.jpg, img2.jpg, ..., use 'img%d.jpg';\r\n"
       "  for img001.jpg, img002.jpg, ..., use 'img%03d.jpg'."},
      {AVERROR_INVALIDDATA, "clip.xyz: Error while parsing header"},
      {AVERROR(ENOMEM), "clip.xyz: memory allocation error occurred"},
      {AVERROR(EIO),
       "clip.xyz: I/O error occurred\r\nUsually that means that input file is truncated and/or "
       "corrupted."},
      {AVERROR(ENOENT), "clip.xyz: no such file or directory"},
      {AVERROR(EACCES), "clip.xyz: Error while opening file"},
      {-1, "clip.xyz: Error while opening file"},
  };
  for (const auto& c : cases) EXPECT_EQ(OpenErrorText("clip.xyz", c.code), c.text) << c.code;
  // A per-cent sign in the name is kept as it is.
  EXPECT_EQ(OpenErrorText("100%s.avi", AVERROR(ENOENT)), "100%s.avi: no such file or directory");
}

TEST_F(ProbeTextsTest, CodecDescriptionFallbacks) {
  const auto tag = [](char a, char b, char c, char d) {
    return static_cast<std::uint32_t>(a) | static_cast<std::uint32_t>(b) << 8 |
           static_cast<std::uint32_t>(c) << 16 | static_cast<std::uint32_t>(d) << 24;
  };
  const struct {
    int id;
    std::uint32_t tag;
    bool encoder;
    std::string text;
  } cases[] = {
      {AV_CODEC_ID_H264, 0, false, "h264(H.264 / AVC / MPEG-4 AVC / MPEG-4 part 10)"},
      {AV_CODEC_ID_MPEG4, 0, true, "mpeg4(MPEG-4 part 2)"},
      {AV_CODEC_ID_MPEG2TS, 0, false, "mpeg2ts"},
      {AV_CODEC_ID_NONE, tag('X', 'V', 'I', 'D'), false, "XVID / 0x44495658"},
      {AV_CODEC_ID_NONE, 0x1234, false, "0x1234"},
      {AV_CODEC_ID_NONE, 0x7, false, "0x0007"},
  };
  for (const auto& c : cases) EXPECT_EQ(CodecDescription(c.id, c.tag, c.encoder), c.text) << c.id;
}

TEST_F(ProbeTextsTest, CodecDescriptionOfAContext) {
  CodecContextPtr context(ff::avcodec_alloc_context3(nullptr));
  context->codec_id = AV_CODEC_ID_MP2;
  EXPECT_EQ(CodecDescription(context.get(), false), "mp2(MP2 (MPEG audio layer 2))");
}

TEST_F(ProbeTextsTest, MetadataValueOrDefault) {
  AVDictionary* metadata = nullptr;
  ff::av_dict_set(&metadata, "title", "Clip", 0);
  EXPECT_EQ(MetadataValue(metadata, "title", "x"), "Clip");
  EXPECT_EQ(MetadataValue(metadata, "genre", "none"), "none");
  EXPECT_EQ(MetadataValue(nullptr, "title"), "");
  ff::av_dict_free(&metadata);
}

}  // namespace
}  // namespace trovenix
