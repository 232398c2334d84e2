#include <gtest/gtest.h>

#include "engine/FFmpeg.h"
#include "engine/TaskOptions.h"
#include "support/Fixtures.h"

namespace trovenix {
namespace {

TEST(TaskOptions, HookTimeRanges) {
  const struct {
    std::string Text;
    std::vector<THookRange> Ranges;
  } cases[] = {
      {"1000-5000, 20000-30000", {{1000000, 5000000}, {20000000, 30000000}}},
      {" 20000-30000 ,1000-5000 ", {{1000000, 5000000}, {20000000, 30000000}}},
      {"5000-1000", {}},
      {"abc", {}},
      {"", {}},
      {"-5", {{-1000, 5000}}},  // no start reads as -1
      {"x-5000", {{-1000, 5000000}}},  // a start that is no number reads as -1
      {"0-0,7-", {{0, 0}}},
      {"99999999999999999-99999999999999999", {}},  // too large for microseconds
  };
  for (const auto& c : cases) EXPECT_EQ(ParseHookTimeRanges(c.Text), c.Ranges) << c.Text;
}

TEST(TaskOptions, DateTimeBecomesUnixSeconds) {
  EXPECT_EQ(DateTimeToUnixSeconds(25569.0, 0), 0);
  EXPECT_EQ(DateTimeToUnixSeconds(25569.5, 0), 43200);
  EXPECT_EQ(DateTimeToUnixSeconds(25569.5, -60), 43200 - 3600);  // an hour east of UTC
  EXPECT_EQ(DateTimeToUnixSeconds(46000.25, 300), std::llround((46000.25 - 25569) * 86400) + 18000);
  // Now, read back through the bias, is the system clock's now.
  const auto now = DateTimeToUnixSeconds(LocalNowAsDateTime(), LocalTimeZoneBiasMinutes());
  EXPECT_NEAR(static_cast<double>(now), static_cast<double>(std::time(nullptr)), 3600 + 2);
}

TEST(TaskOptions, ExtraOptionLinesInTwoPasses) {
  test::LoadLibrariesOrFail();
  TCustomFFmpeg task;
  task.ResetOptions();
  const std::string text = "  ar=22050\r\nnewaudio\rac=1\n\nnewsubtitle=x\nmetadata=a=b  ";
  ApplyExtOptions(task, text, 0);
  EXPECT_EQ(task.AudioSampleRate, 22050);
  EXPECT_EQ(task.AudioChannels, 1);
  ASSERT_EQ(task.Metadata.size(), 1u);
  EXPECT_EQ(task.Metadata[0], (std::pair<std::string, std::string>{"a", "b"}));
  // Pass 1 asks for new streams on the last output, which is not there yet.
  EXPECT_THROW(ApplyExtOptions(task, text, 1), FFmpegException);
  // A value that should be a number says so.
  EXPECT_THROW(ApplyExtOptions(task, "ar=fast", 0), std::exception);
}

}  // namespace
}  // namespace trovenix
