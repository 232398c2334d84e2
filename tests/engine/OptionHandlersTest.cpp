// Formats, two-pass and statistics, and the guarded setters.
#include <filesystem>
#include <functional>
#include <regex>

#include "HandlerExpect.h"
#include "TaskFixture.h"
#include "media/AVFormatStubs.h"

namespace trovenix {
namespace {

using OptionHandlers = test::TaskTest;
using test::ExpectFailure;

TEST_F(OptionHandlers, FormatsAreLookedUpByName) {
  task.SetInputFormat("wav");
  task.SetOutputFormat("matroska");
  ASSERT_NE(task.InputFormat, nullptr);
  ASSERT_NE(task.OutputFormat, nullptr);
  EXPECT_STREQ(task.InputFormat->name, "wav");
  EXPECT_STREQ(task.OutputFormat->name, "matroska");

  task.SetFormat("");  // ignored
  EXPECT_STREQ(task.InputFormat->name, "wav");
  task.SetFormat("mp3");  // both sides know it
  EXPECT_STREQ(task.InputFormat->name, "mp3");
  EXPECT_STREQ(task.OutputFormat->name, "mp3");
  task.SetFormat("ipod");  // an output format only
  EXPECT_EQ(task.InputFormat, nullptr);
  EXPECT_STREQ(task.OutputFormat->name, "ipod");
  EXPECT_TRUE(log.empty());

  ExpectFailure<FFmpegException>([&] { task.SetInputFormat("x"); }, "Unknown input format: x");
  ExpectFailure<FFmpegException>([&] { task.SetOutputFormat("nosuch"); },
                                 "Unknown output format: nosuch");
  ExpectFailure<FFmpegException>([&] { task.SetFormat("nosuch"); },
                                 "Unknown input or output format: nosuch");
  EXPECT_STREQ(task.OutputFormat->name, "ipod");
}

TEST_F(OptionHandlers, PgmyuvBecomesImage2) {
  const std::string notice = "pgmyuv format is deprecated, use image2";
  const std::vector<std::function<void()>> setters{
      [&] { task.SetInputFormat("pgmyuv"); },
      [&] { task.SetOutputFormat("pgmyuv"); },
      [&] { task.SetFormat("pgmyuv"); },
  };
  for (const auto& set : setters) {
    task.ResetOptions();
    log.clear();
    set();
    EXPECT_EQ(task.PgmyuvCompat, 1);
    EXPECT_TRUE(Logged(notice));
    if (task.InputFormat) {
      EXPECT_STREQ(task.InputFormat->name, "image2");
    }
    if (task.OutputFormat) {
      EXPECT_STREQ(task.OutputFormat->name, "image2");
    }
    EXPECT_TRUE(task.InputFormat || task.OutputFormat);
  }
}

TEST_F(OptionHandlers, PassNumber) {
  task.SetPass(2);
  EXPECT_EQ(task.PassNumber, 2);
  for (int bad : {0, 3, -1})
    ExpectFailure<FFmpegException>([&] { task.SetPass(bad); }, "pass number can be only 1 or 2");
  EXPECT_EQ(task.PassNumber, 2);
}

TEST_F(OptionHandlers, VstatsFileBesideTheProgram) {
  task.SetVstats(true);
  const std::filesystem::path file(task.VstatsFileName);
  EXPECT_EQ(file.parent_path(), std::filesystem::read_symlink("/proc/self/exe").parent_path());
  EXPECT_TRUE(std::regex_match(file.filename().string(),
                               std::regex(R"(vstats_([01][0-9]|2[0-3])[0-5][0-9][0-5][0-9]\.log)")))
      << task.VstatsFileName;
  task.SetVstats(false);
  EXPECT_EQ(task.VstatsFileName, "");
  task.SetVstatsFile("/tmp/stats.log");
  EXPECT_EQ(task.VstatsFileName, "/tmp/stats.log");
}

TEST_F(OptionHandlers, GuardedSettersKeepOutOfRangeValuesOut) {
  const struct {
    std::function<void(TCustomFFmpeg&, int)> set;
    std::function<int(const TCustomFFmpeg&)> get;
    int refused;  // left alone
    int lowestTaken;
  } cases[] = {
      {&TCustomFFmpeg::SetAudioRate, [](auto& t) { return t.AudioSampleRate; }, 0, 1},
      {&TCustomFFmpeg::SetAudioChannels, [](auto& t) { return t.AudioChannels; }, 0, 1},
      {&TCustomFFmpeg::SetAudioVolume, [](auto& t) { return t.AudioVolume; }, -1, 0},
      {&TCustomFFmpeg::SetProgramId, [](auto& t) { return t.ProgramId; }, -1, 0},
      {[](auto& t, int v) { t.SetMuxMaxDelay(v / 10.0f); },
       [](auto& t) { return static_cast<int>(t.MuxMaxDelay * 10.0f + 0.5f); }, 0, 1},
      {[](auto& t, int v) { t.SetMuxPreload(v / 10.0f); },
       [](auto& t) { return static_cast<int>(t.MuxPreload * 10.0f + 0.5f); }, 0, 1},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const auto& c = cases[i];
    task.ResetOptions();
    const int before = c.get(task);
    c.set(task, c.refused);
    EXPECT_EQ(c.get(task), before) << "case " << i;
    c.set(task, c.lowestTaken);
    EXPECT_EQ(c.get(task), c.lowestTaken) << "case " << i;
  }
  task.SetAudioSyncMethod(-5);
  task.SetVideoSyncMethod(-7);
  EXPECT_EQ(task.AudioSyncMethod, -5);
  EXPECT_EQ(task.VideoSyncMethod, -7);
  task.SetVideoFilters("hflip");
  EXPECT_EQ(task.VideoFilters, "hflip");
}

}  // namespace
}  // namespace trovenix
