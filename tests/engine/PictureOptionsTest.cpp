#include <functional>

#include "CommaLocale.h"
#include "HandlerExpect.h"
#include "TaskFixture.h"
#include "media/AVUtilStubs.h"

namespace trovenix {
namespace {

using PictureOptions = test::TaskTest;
using test::ExpectFailure;

const char* const VerticalRange =
    "Vertical crop dimensions are outside the range of the original image.\n"
    "Remember to crop first and scale second.";
const char* const HorizontalRange =
    "Horizontal crop dimensions are outside the range of the original image.\n"
    "Remember to crop first and scale second.";

TEST_F(PictureOptions, FrameSizeAcceptsEvenSizesOnly) {
  const struct {
    const char* text;
    int width, height;
    const char* error;
  } cases[] = {
      {"640x480", 640, 480, nullptr},
      {"vga", 640, 480, nullptr},  // the library's abbreviations
      {"", 320, 240, nullptr},     // ignored
      {"641x480", 320, 240, "Frame size must be a multiple of 2"},
      {"640x481", 320, 240, "Frame size must be a multiple of 2"},
      {"big", 320, 240, "Incorrect frame size"},
      {"0x0", 320, 240, "Incorrect frame size"},
  };
  for (const auto& c : cases) {
    task.FrameWidth = 320;
    task.FrameHeight = 240;
    if (c.error)
      ExpectFailure<FFmpegException>([&] { task.SetFrameSize(c.text); }, c.error, c.text);
    else
      task.SetFrameSize(c.text);
    EXPECT_EQ(task.FrameWidth, c.width) << c.text;
    EXPECT_EQ(task.FrameHeight, c.height) << c.text;
  }
}

TEST_F(PictureOptions, FrameRate) {
  task.SetFrameRate("25");
  EXPECT_EQ(task.FrameRate.num, 25);
  EXPECT_EQ(task.FrameRate.den, 1);
  task.SetFrameRate("ntsc");
  EXPECT_EQ(task.FrameRate.num, 30000);
  EXPECT_EQ(task.FrameRate.den, 1001);
  task.SetFrameRate("");
  EXPECT_EQ(task.FrameRate.num, 30000);
  ExpectFailure<FFmpegException>([&] { task.SetFrameRate("fast"); }, "Incorrect frame rate");
  EXPECT_EQ(task.FrameRate.num, 30000);
}

// Each step acts on the state the earlier steps left.
TEST_F(PictureOptions, CropShrinksTheKnownSizeEachTime) {
  using Setter = void (TCustomFFmpeg::*)(int);
  const struct {
    Setter set;
    int value;
    int crop;   // the side's crop field afterwards
    int width;  // frame size afterwards
    int height;
    const char* error;
  } steps[] = {
      {&TCustomFFmpeg::SetCropTop, 10, 10, 640, 470, nullptr},
      {&TCustomFFmpeg::SetCropTop, 10, 10, 640, 460, nullptr},
      {&TCustomFFmpeg::SetCropTop, -1, 10, 640, 460, nullptr},
      {&TCustomFFmpeg::SetCropTop, 460, 10, 640, 460, VerticalRange},
      {&TCustomFFmpeg::SetCropTop, 3, 10, 640, 460, "Top crop size must be a multiple of 2"},
      {&TCustomFFmpeg::SetCropBottom, 20, 20, 640, 440, nullptr},
      {&TCustomFFmpeg::SetCropBottom, 5, 20, 640, 440, "Bottom crop size must be a multiple of 2"},
      {&TCustomFFmpeg::SetCropBottom, 440, 20, 640, 440, VerticalRange},
      {&TCustomFFmpeg::SetCropLeft, 32, 32, 608, 440, nullptr},
      {&TCustomFFmpeg::SetCropLeft, 7, 32, 608, 440, "Left crop size must be a multiple of 2"},
      {&TCustomFFmpeg::SetCropRight, 8, 8, 600, 440, nullptr},
      {&TCustomFFmpeg::SetCropRight, 9, 8, 600, 440, "Right crop size must be a multiple of 2"},
      {&TCustomFFmpeg::SetCropRight, 600, 8, 600, 440, HorizontalRange},
      {&TCustomFFmpeg::SetCropLeft, 602, 32, 600, 440, HorizontalRange},
  };
  task.FrameWidth = 640;
  task.FrameHeight = 480;
  for (std::size_t i = 0; i < std::size(steps); ++i) {
    const auto& s = steps[i];
    const std::string context = "step " + std::to_string(i);
    if (s.error)
      ExpectFailure<FFmpegException>([&] { (task.*s.set)(s.value); }, s.error, context);
    else
      (task.*s.set)(s.value);
    const int crop = s.set == &TCustomFFmpeg::SetCropTop      ? task.CropTop
                     : s.set == &TCustomFFmpeg::SetCropBottom ? task.CropBottom
                     : s.set == &TCustomFFmpeg::SetCropLeft   ? task.CropLeft
                                                              : task.CropRight;
    EXPECT_EQ(crop, s.crop) << context;
    EXPECT_EQ(task.FrameWidth, s.width) << context;
    EXPECT_EQ(task.FrameHeight, s.height) << context;
  }
}

TEST_F(PictureOptions, CropWithoutAKnownSizeIsOutOfRange) {
  ExpectFailure<FFmpegException>([&] { task.SetCropTop(0); }, VerticalRange);
  ExpectFailure<FFmpegException>([&] { task.SetCropRight(0); }, HorizontalRange);
  EXPECT_EQ(task.CropTop, 0);
  EXPECT_EQ(task.FrameHeight, 0);
}

TEST_F(PictureOptions, PadsMustBeEvenAndLeaveTheFrameSize) {
  using Setter = void (TCustomFFmpeg::*)(int);
  const struct {
    Setter set;
    int TOptionState::*field;
    const char* oddText;
  } sides[] = {
      {&TCustomFFmpeg::SetPadTop, &TOptionState::PadTop, "Top pad size must be a multiple of 2"},
      {&TCustomFFmpeg::SetPadBottom, &TOptionState::PadBottom,
       "Bottom pad size must be a multiple of 2"},
      {&TCustomFFmpeg::SetPadLeft, &TOptionState::PadLeft, "Left pad size must be a multiple of 2"},
      {&TCustomFFmpeg::SetPadRight, &TOptionState::PadRight,
       "Right pad size must be a multiple of 2"},
  };
  task.FrameWidth = 640;
  task.FrameHeight = 480;
  for (const auto& side : sides) {
    (task.*side.set)(16);
    EXPECT_EQ(task.*side.field, 16) << side.oddText;
    (task.*side.set)(-1);
    EXPECT_EQ(task.*side.field, 16) << side.oddText;
    ExpectFailure<FFmpegException>([&] { (task.*side.set)(15); }, side.oddText);
    EXPECT_EQ(task.*side.field, 16) << side.oddText;
  }
  EXPECT_EQ(task.FrameWidth, 640);
  EXPECT_EQ(task.FrameHeight, 480);
}

TEST_F(PictureOptions, PadColorIsConvertedToYuv) {
  const struct {
    int color;  // red in the lowest byte
    std::array<int, 3> yuv;
  } cases[] = {
      {255, {76, 85, 255}},         // red
      {0x00FF00, {150, 43, 21}},    // green
      {0xFF0000, {29, 255, 107}},   // blue
      {16777215, {255, 128, 128}},  // white
      {0, {0, 128, 128}},           // black
  };
  for (const auto& c : cases) {
    task.SetPadColor(c.color);
    EXPECT_EQ(task.PadColor, c.yuv) << c.color;
  }
}

TEST_F(PictureOptions, AspectRatio) {
  const struct {
    const char* text;
    float ratio;  // 0: rejected
  } cases[] = {
      {"16:9", 1.7777778f},
      {"4:3", 4.0f / 3.0f},
      {"1.5", 1.5f},
      {"-2:1", -2.0f},
      {"4:0", 0},
      {"4:-3", 0},
      {"x", 0},
      {"x:3", 0},
      {"0", 0},
      {"nan", 0},
  };
  for (const auto& c : cases) {
    task.FrameAspectRatio = 0.5f;
    if (c.ratio == 0) {
      ExpectFailure<FFmpegException>([&] { task.SetFrameAspectRatio(c.text); },
                                     "Incorrect aspect ratio specification.", c.text);
      EXPECT_EQ(task.FrameAspectRatio, 0.5f) << c.text;
    } else {
      task.SetFrameAspectRatio(c.text);
      EXPECT_FLOAT_EQ(task.FrameAspectRatio, c.ratio) << c.text;
    }
  }
  task.SetFrameAspectRatio("");
  EXPECT_EQ(task.FrameAspectRatio, 0.5f);
}

TEST_F(PictureOptions, DecimalAspectReadsAFullStopWhateverTheLocale) {
  if (!test::UseCommaLocale()) GTEST_SKIP() << "no locale with a decimal comma is available";
  task.SetFrameAspectRatio("1.5");
  test::RestoreCLocale();
  EXPECT_EQ(task.FrameAspectRatio, 1.5f);
}

TEST_F(PictureOptions, PixelAndSampleFormats) {
  task.SetFramePixFmt("yuv422p");
  EXPECT_EQ(task.FramePixFmt, AV_PIX_FMT_YUV422P);
  task.SetFramePixFmt("nosuch");
  EXPECT_EQ(task.FramePixFmt, -1);
  task.SetAudioSampleFmt("s16");
  EXPECT_EQ(task.AudioSampleFmt, AV_SAMPLE_FMT_S16);
  task.SetAudioSampleFmt("nosuch");
  EXPECT_EQ(task.AudioSampleFmt, -1);
  EXPECT_TRUE(log.empty());
}

TEST_F(PictureOptions, ListLogsTheLibrarysFormatsAndStoresNothing) {
  task.FramePixFmt = 3;
  task.SetFramePixFmt("list");
  EXPECT_EQ(task.FramePixFmt, 3);
  ASSERT_GT(log.size(), 100u);
  EXPECT_EQ(log[0].second.rfind("name", 0), 0u) << log[0].second;  // the heading
  EXPECT_EQ(log[1].second.rfind("yuv420p", 0), 0u) << log[1].second;
  for (const auto& line : log) {
    EXPECT_EQ(line.first, 1);
    EXPECT_FALSE(line.second.empty());
    EXPECT_NE(line.second.back(), ' ');
  }

  log.clear();
  task.SetAudioSampleFmt("list");
  EXPECT_EQ(task.AudioSampleFmt, -1);
  ASSERT_EQ(log.size(), static_cast<std::size_t>(AV_SAMPLE_FMT_NB) + 1);
  EXPECT_EQ(log[1].second.rfind("u8", 0), 0u) << log[1].second;

  task.LogCallback = nullptr;
  task.SetFramePixFmt("list");  // nothing to log to
  EXPECT_EQ(task.FramePixFmt, 3);
}

TEST_F(PictureOptions, QScaleRange) {
  for (float bad : {0.0f, -1.0f, 255.5f, 256.0f}) {
    ExpectFailure<FFmpegException>([&] { task.SetQScale(bad); }, "qscale must be > 0.0 and <= 255",
                                   std::to_string(bad));
  }
  EXPECT_EQ(task.VideoQScale, 0.0f);
  task.SetQScale(255.0f);
  EXPECT_EQ(task.VideoQScale, 255.0f);
  task.SetQScale(0.5f);
  EXPECT_EQ(task.VideoQScale, 0.5f);
}

}  // namespace
}  // namespace trovenix
