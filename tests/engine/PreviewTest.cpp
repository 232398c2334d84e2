// Previews of the pictures being encoded: captions, the rate limit, the two
// modes, a window the user closes, and the preview lock while the user
// interface works.
#include <chrono>
#include <future>
#include <limits>
#include <optional>

#include "FakePreviewWindow.h"
#include "HookTaskFixture.h"
#include "media/AVUtilStubs.h"

namespace trovenix {
namespace {

TEST(PreviewCaption, TimesReadAsHoursMinutesSecondsAndMilliseconds) {
  const std::pair<std::int64_t, const char*> cases[] = {
      {0, "00:00:00.000"},
      {3723004005LL, "01:02:03.004"},
      {90000000000LL, "25:00:00.000"},
      {359999999999LL, "99:59:59.999"},
      {-1500000, "-00:00:01.500"},
      {std::numeric_limits<std::int64_t>::min(), "N/A"},
  };
  for (const auto& [pts, text] : cases) EXPECT_EQ(PreviewCaption(pts), text) << pts;
}

std::string GrayClip() {
  return test::MakeClip("gray-160x120-25fps-1s.avi",
                        "-f lavfi -i color=gray:size=160x120:rate=25 -t 1 -c:v mpeg4 -q:v 2");
}

class Preview : public test::HookTaskTest {
 protected:
  void TearDown() override { SetPreviewWindowFactory(nullptr); }
};

TEST_F(Preview, BitmapsComeAtMostEveryTenthOfASecond) {
  std::vector<std::int64_t> times, frames, pts;
  int width = 0, height = 0;
  // Read at the input's own pace: a picture every 40 ms.
  Convert(GrayClip(), "bitmaps.avi", {{"re", ""}, {"vcodec", "mpeg4"}, {"s", "80x60"}}, [&] {
    task.SetPreviewFlags(2);
    task.PreviewBitmapCallback = [&](const TBitmap& bitmap, std::int64_t ptsUs,
                                     std::int64_t frameNumber) {
      times.push_back(ff::av_gettime());
      frames.push_back(frameNumber);
      pts.push_back(ptsUs);
      width = bitmap.Width();
      height = bitmap.Height();
    };
  });
  ASSERT_FALSE(task.Failed) << task.ErrorMessage;
  ASSERT_GE(times.size(), 5u);
  EXPECT_LE(times.size(), 11u);
  EXPECT_EQ(frames.front(), 1);  // the first picture goes out at once
  EXPECT_EQ(pts.front(), 0);
  for (std::size_t i = 1; i < times.size(); ++i) {
    EXPECT_GT(times[i] - times[i - 1], 100000) << i;
    EXPECT_GT(frames[i], frames[i - 1]) << i;
    EXPECT_EQ(pts[i], (frames[i] - 1) * 40000) << i;
  }
  // The picture as encoded, not as decoded.
  EXPECT_EQ(width, 80);
  EXPECT_EQ(height, 60);
}

TEST_F(Preview, AClosedWindowNeverReopens) {
  struct Case {
    const char* name;
    bool factory;
    int closeAfter;
    int made, shown, refused;
  };
  const Case cases[] = {
      {"closed after three pictures", true, 3, 1, 3, 1},
      {"no window can be made", false, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    test::TPreviewRecord record;
    record.CloseAfter = c.closeAfter;
    std::optional<test::TFakePreviewFactory> factory;
    if (c.factory) factory.emplace(record);
    const std::string output =
        Convert(GrayClip(), "closed-preview.avi", {{"vcodec", "mpeg4"}}, [&] {
          task.PreviewInterval = 0;  // every picture
          task.SetPreviewFlags(1);
        });
    ASSERT_FALSE(task.Failed) << c.name << ": " << task.ErrorMessage;
    EXPECT_EQ(record.Made, c.made) << c.name;
    EXPECT_EQ(record.Destroyed, c.made) << c.name;
    EXPECT_EQ(record.Shown, c.shown) << c.name;
    EXPECT_EQ(record.Refused, c.refused) << c.name;
    EXPECT_EQ(task.PreviewFlags, 0) << c.name;
    // The conversion itself goes on to the end.
    EXPECT_EQ(test::OutputPictures(output, "gray", 160 * 120).size(), 25u) << c.name;
    if (c.factory) {
      EXPECT_EQ(record.Captions,
                (std::vector<std::string>{"00:00:00.000", "00:00:00.040", "00:00:00.080"}));
      EXPECT_EQ(record.FrameNumbers, (std::vector<std::int64_t>{1, 2, 3}));
      EXPECT_EQ(record.Width, 160);
    }
  }
}

// While a picture is shown, the user interface changes the preview switches,
// which takes the preview lock; the task must not hold it meanwhile.
TEST_F(Preview, TheLockIsFreeWhileTheUserInterfaceShowsAPicture) {
  struct Case {
    const char* name;
    std::uint8_t flags;
    std::uint8_t switchedTo;  // what the user interface sets at the second picture
    int previews;
  };
  const Case cases[] = {
      {"bitmap event", 2, 2, 25},
      {"window", 1, 1, 25},
      {"window switched off meanwhile", 1, 0, 2},
  };
  for (const Case& c : cases) {
    test::TPreviewRecord record;
    test::TFakePreviewFactory factory(record);
    int previews = 0, blocked = 0;
    const auto userInterface = [&] {
      ++previews;
      const std::uint8_t flags = previews >= 2 ? c.switchedTo : c.flags;
      auto changed = std::async(std::launch::async, [&] { task.SetPreviewFlags(flags); });
      if (changed.wait_for(std::chrono::seconds(2)) != std::future_status::ready) ++blocked;
    };
    record.DuringShow = userInterface;
    Convert(GrayClip(), "preview-lock.avi", {{"vcodec", "mpeg4"}}, [&] {
      task.PreviewInterval = 0;
      task.SetPreviewFlags(c.flags);
      task.PreviewBitmapCallback = [&](const TBitmap&, std::int64_t, std::int64_t) {
        userInterface();
      };
    });
    ASSERT_FALSE(task.Failed) << c.name << ": " << task.ErrorMessage;
    EXPECT_EQ(blocked, 0) << c.name;
    EXPECT_EQ(previews, c.previews) << c.name;
    if (c.flags == 1) {
      EXPECT_EQ(record.Made, 1) << c.name;
      EXPECT_EQ(record.Destroyed, 1) << c.name;
    }
  }
}

}  // namespace
}  // namespace trovenix
