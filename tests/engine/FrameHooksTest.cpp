// The picture step before encoding: hook time ranges, the before hook, the
// custom hook's bitmap round trip and deinterlacing.
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "HookTaskFixture.h"
#include "media/AVUtilStubs.h"

namespace trovenix {
namespace {

using test::TCountingHook;

constexpr std::int64_t Second = 1000000;

FramePtr BlackPicture(AVPixelFormat format, int width, int height) {
  FramePtr frame(ff::av_frame_alloc());
  frame->format = format;
  frame->width = width;
  frame->height = height;
  if (ff::av_frame_get_buffer(frame.get(), 0) < 0) return nullptr;
  for (int row = 0; row < height; ++row)
    std::memset(frame->data[0] + static_cast<std::ptrdiff_t>(row) * frame->linesize[0], 0,
                static_cast<std::size_t>(frame->linesize[0]));
  return frame;
}

class FrameHooks : public test::HookTaskTest {};

TEST_F(FrameHooks, HookRangesAreWalkedOnceAndEndForGood) {
  task.ParseOption("vhook", ENGINE_COUNTING_HOOK);
  task.SetHookTimeRanges({{10 * Second, 12 * Second}, {1 * Second, 5 * Second}});
  const struct {
    std::int64_t pts;
    THookAction action;
    bool processed;
    int rangeIndex;
  } pictures[] = {
      {Second / 2, THookAction::haIgnore, false, 0},
      {3 * Second, THookAction::haContinue, true, 0},
      {7 * Second, THookAction::haIgnore, false, 0},
      {11 * Second, THookAction::haContinue, true, 1},
      {12 * Second + Second / 2, THookAction::haStop, false, 1},
      // Past the last range the chain stays off, even back inside a range.
      {11 * Second, THookAction::haStop, false, 1},
  };
  TInputStreamState input;
  int processed = 0;
  for (const auto& p : pictures) {
    FramePtr picture = BlackPicture(AV_PIX_FMT_YUV420P, 16, 16);
    ASSERT_TRUE(picture);
    FramePtr decoded(ff::av_frame_alloc());
    ff::av_frame_ref(decoded.get(), picture.get());  // what the decoder still holds
    input.Pts = p.pts;
    task.PreprocessVideoFrame(input, *picture);
    processed += p.processed;
    EXPECT_EQ(task.HookAction, p.action) << p.pts;
    EXPECT_EQ(task.HookRangeIndex, p.rangeIndex) << p.pts;
    EXPECT_EQ(task.UsingVhook, p.action != THookAction::haStop) << p.pts;
    EXPECT_EQ(*TCountingHook::Get().Calls, processed) << p.pts;
    // A processed picture is a copy; the decoder's own stays untouched.
    EXPECT_EQ(picture->data[0][0], p.processed ? 255 : 0) << p.pts;
    EXPECT_EQ(decoded->data[0][0], 0) << p.pts;
    EXPECT_EQ(picture->data[0] == decoded->data[0], !p.processed) << p.pts;
  }
  EXPECT_EQ(task.HookFrameCount, 6);
}

TEST_F(FrameHooks, PicturesWithoutHooksOrDeinterlacingPassUntouched) {
  struct {
    bool deinterlace;
    AVPixelFormat format;  // one the deinterlacer cannot give back
    const char* logged;
  } cases[] = {
      {false, AV_PIX_FMT_YUV420P, nullptr},
      {true, AV_PIX_FMT_BAYER_RGGB8, "Deinterlacing failed."},
  };
  for (const auto& c : cases) {
    log.clear();
    task.Deinterlace = c.deinterlace;
    FramePtr picture = BlackPicture(c.format, 16, 16);
    ASSERT_TRUE(picture);
    std::uint8_t* const before = picture->data[0];
    TInputStreamState input;
    task.PreprocessVideoFrame(input, *picture);
    EXPECT_EQ(picture->data[0], before) << c.deinterlace;
    EXPECT_EQ(log.empty(), c.logged == nullptr) << c.deinterlace;
    if (c.logged) {
      EXPECT_TRUE(Logged(c.logged));
    }
  }
}

std::string SmallClip() {
  return test::MakeClip("testsrc-32x24-25fps-5s.avi",
                        "-f lavfi -i testsrc=size=32x24:rate=25 -t 5 -c:v mpeg4 -q:v 3");
}

TEST_F(FrameHooks, BeforeHookDecidesPerPictureUntilItStops) {
  struct Case {
    const char* name;
    std::function<void(int call, THookAction& action)> answer;
    int calls, processed;
    const char* logged;
  };
  const Case cases[] = {
      {"stop at the 100th",
       [](int call, THookAction& action) {
         action = call == 100 ? THookAction::haStop : THookAction::haContinue;
       },
       100, 99, nullptr},
      {"raises at the 3rd",
       [](int call, THookAction&) {
         if (call == 3) throw std::runtime_error("boom");
       },
       3, 2, "Error occurs OnBeforeHook: boom"},
      {"every second picture",
       [](int call, THookAction& action) {
         action = call % 2 ? THookAction::haIgnore : THookAction::haContinue;
       },
       125, 62, nullptr},
  };
  for (const Case& c : cases) {
    log.clear();
    *TCountingHook::Get().Calls = 0;
    int calls = 0;
    std::int64_t lastPts = -1;
    bool ordered = true;
    Convert(SmallClip(), "before-hook.avi", {{"vcodec", "mpeg4"}, {"vhook", ENGINE_COUNTING_HOOK}},
            [&] {
              task.BeforeHookCallback = [&](std::int64_t pts, THookAction& action) {
                ordered = ordered && pts > lastPts;
                lastPts = pts;
                c.answer(++calls, action);
              };
            });
    EXPECT_FALSE(task.Failed) << c.name << ": " << task.ErrorMessage;
    EXPECT_EQ(calls, c.calls) << c.name;
    EXPECT_TRUE(ordered) << c.name;
    EXPECT_EQ(*TCountingHook::Get().Calls, c.processed) << c.name;
    if (c.logged) {
      EXPECT_TRUE(Logged(c.logged)) << c.name;
    }
  }
}

TEST_F(FrameHooks, HookRangesChooseThePicturesThatReachTheOutput) {
  const std::string clip =
      test::MakeClip("black-64x48-10fps-3s.avi",
                     "-f lavfi -i color=black:size=64x48:rate=10 -t 3 -c:v mpeg4 -q:v 2");
  const std::string output =
      Convert(clip, "ranges.avi",
              {{"vcodec", "mpeg4"}, {"qscale", "2"}, {"vhook", ENGINE_COUNTING_HOOK}}, [&] {
                task.SetHookTimeRanges({{Second / 2, Second}, {2 * Second, 2 * Second + 400000}});
              });
  ASSERT_FALSE(task.Failed) << task.ErrorMessage;
  const std::vector<std::int64_t> expected{500000,  600000,  700000,  800000,  900000, 1000000,
                                           2000000, 2100000, 2200000, 2300000, 2400000};
  EXPECT_EQ(TCountingHook::Get().TimesSeen(), expected);
  EXPECT_FALSE(task.UsingVhook);

  const auto pictures = test::OutputPictures(output, "gray", 64 * 48);
  ASSERT_EQ(pictures.size(), 30u);
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    const bool painted = (i >= 5 && i <= 10) || (i >= 20 && i <= 24);
    const auto corner = static_cast<unsigned char>(pictures[i][2 * 64 + 2]);
    EXPECT_EQ(corner > 200, painted) << "picture " << i << " corner " << int(corner);
  }
}

// Red in the middle of a 160 x 120 picture, as the custom hook draws it.
constexpr int BoxTop = 30, BoxBottom = 90, BoxLeft = 40, BoxRight = 120;

void DrawRedBox(TBitmap& bitmap) {
  for (int row = BoxTop; row < BoxBottom; ++row)
    for (int column = BoxLeft; column < BoxRight; ++column) {
      std::uint8_t* pixel = bitmap.Row(row) + 3 * column;
      pixel[0] = 0;    // blue
      pixel[1] = 0;    // green
      pixel[2] = 255;  // red
    }
}

bool IsRed(const std::string& rgb, int width, int x, int y) {
  const auto* pixel = reinterpret_cast<const unsigned char*>(rgb.data()) + 3 * (y * width + x);
  return pixel[0] > 180 && pixel[1] < 80 && pixel[2] < 80;
}

TEST_F(FrameHooks, CustomHookDrawsIntoTheEncodedPictures) {
  const std::string clip =
      test::MakeClip("gray-160x120-25fps-1s.avi",
                     "-f lavfi -i color=gray:size=160x120:rate=25 -t 1 -c:v mpeg4 -q:v 2");
  struct Case {
    const char* name;
    int stopAt;   // sets the stop variable at this picture (it is still drawn)
    int raiseAt;  // raises instead of drawing at this picture
    int calls;
  };
  const Case cases[] = {
      {"draws on every picture", 0, 0, 25},
      {"stops itself at the 5th", 5, 0, 5},
      {"raises at the 3rd", 0, 3, 25},
  };
  for (const Case& c : cases) {
    log.clear();
    int calls = 0;
    bool numbered = true, sized = true;
    const std::string output =
        Convert(clip, "custom-hook.avi", {{"vcodec", "mpeg4"}, {"qscale", "2"}}, [&] {
          task.CustomHookCallback = [&](TBitmap& bitmap, std::int64_t frameNumber, std::int64_t,
                                        bool& update, bool& stopHook) {
            ++calls;
            numbered = numbered && frameNumber == calls;
            sized = sized && bitmap.Width() == 160 && bitmap.Height() == 120;
            EXPECT_TRUE(update);
            if (calls == c.raiseAt) throw std::runtime_error("drawing failed");
            DrawRedBox(bitmap);
            if (calls == c.stopAt) stopHook = true;
          };
        });
    ASSERT_FALSE(task.Failed) << c.name << ": " << task.ErrorMessage;
    EXPECT_EQ(calls, c.calls) << c.name;
    EXPECT_TRUE(numbered) << c.name;
    EXPECT_TRUE(sized) << c.name;
    EXPECT_EQ(static_cast<bool>(task.CustomHookCallback), c.stopAt == 0) << c.name;
    EXPECT_EQ(Logged("Error occurs OnCustomHook: drawing failed"), c.raiseAt != 0) << c.name;

    const auto pictures = test::OutputPictures(output, "rgb24", 160 * 120 * 3);
    ASSERT_EQ(pictures.size(), 25u) << c.name;
    for (int i = 0; i < 25; ++i) {
      const int number = i + 1;
      const bool drawn = number != c.raiseAt && (c.stopAt == 0 || number <= c.stopAt);
      EXPECT_EQ(IsRed(pictures[i], 160, 80, 60), drawn) << c.name << ", picture " << number;
      EXPECT_FALSE(IsRed(pictures[i], 160, 10, 10)) << c.name << ", picture " << number;
    }
  }
}

// Mean difference between neighbouring rows of a grey picture.
double Combing(const std::string& gray, int width, int height) {
  const auto* pixels = reinterpret_cast<const unsigned char*>(gray.data());
  double sum = 0;
  for (int row = 0; row + 1 < height; ++row)
    for (int column = 0; column < width; ++column)
      sum += std::abs(pixels[row * width + column] - pixels[(row + 1) * width + column]);
  return sum / ((height - 1) * width);
}

TEST_F(FrameHooks, DeinterlacingRemovesTheCombing) {
  // Lines of the two fields alternate between dark and bright.
  const std::string clip = test::MakeClip(
      "combed-64x48.mkv",
      "-f lavfi -i color=black:size=64x48:rate=5,format=gray,geq=lum='if(mod(Y\\,2)\\,200\\,50)' "
      "-t 1 -pix_fmt yuv420p -c:v ffv1");
  for (const bool deinterlace : {false, true}) {
    log.clear();
    test::TOptionList options{{"vcodec", "ffv1"}};
    if (deinterlace) options.emplace_back("deinterlace", "");
    const std::string output = Convert(clip, "deinterlaced.mkv", options);
    ASSERT_FALSE(task.Failed) << task.ErrorMessage;
    EXPECT_FALSE(Logged("Deinterlacing failed."));
    const auto pictures = test::OutputPictures(output, "gray", 64 * 48);
    ASSERT_EQ(pictures.size(), 5u);
    for (const std::string& picture : pictures) {
      if (deinterlace) {
        EXPECT_LT(Combing(picture, 64, 48), 10.0);
      } else {
        EXPECT_GT(Combing(picture, 64, 48), 140.0);
      }
    }
  }
}

}  // namespace
}  // namespace trovenix
