#include <functional>

#include "TaskFixture.h"
#include "media/AVCodecStubs.h"
#include "media/AVUtilStubs.h"
#include "media/FFmpegLoader.h"

namespace trovenix {
namespace {

using Option = test::TaskTest;

TEST_F(Option, ValueFormsWriteTheirFields) {
  const struct {
    const char* name;
    const char* value;
    std::function<bool(const TCustomFFmpeg&)> holds;
  } cases[] = {
      // flag: set unless exactly "0"
      {"vn", "", [](auto& t) { return t.VideoDisable; }},
      {"dump", "1", [](auto& t) { return t.PktDump; }},
      {"shortest", "yes", [](auto& t) { return t.Shortest; }},
      // set: whatever the value
      {"copyts", "0", [](auto& t) { return t.CopyTs; }},
      {"xerror", "0", [](auto& t) { return t.ExitOnError; }},
      // int, int64, real
      {"vframes", "25", [](auto& t) { return t.MaxFrames[mkVideo] == 25; }},
      {"aframes", "7", [](auto& t) { return t.MaxFrames[mkAudio] == 7; }},
      {"dframes", "3", [](auto& t) { return t.MaxFrames[mkData] == 3; }},
      {"vsync", "-1", [](auto& t) { return t.VideoSyncMethod == -1; }},
      {"vol", "-10", [](auto& t) { return t.AudioVolume == -10; }},  // no guard in the table
      {"fs", "5000000000", [](auto& t) { return t.LimitFilesize == 5000000000LL; }},
      {"adrift_threshold", "0.25", [](auto& t) { return t.AudioDriftThreshold == 0.25f; }},
      {"muxpreload", "-1.5", [](auto& t) { return t.MuxPreload == -1.5f; }},
      // text and C text
      {"alang", "eng", [](auto& t) { return t.AudioLanguage == "eng"; }},
      {"passlogfile", "pass-log", [](auto& t) { return t.PassLogFilePrefix == "pass-log"; }},
      {"rc_override", "0,10,2", [](auto& t) { return t.RcOverride == "0,10,2"; }},
      {"tvstd", "pal", [](auto& t) { return t.VideoStandard == "pal"; }},
      // none
      {"vstats", "ignored", [](auto& t) { return !t.VstatsFileName.empty(); }},
      // times
      {"t", "1.5", [](auto& t) { return t.RecordingTime == 1500000 && t.TotalDurationMs == 1500; }},
      {"ss", "00:01:00", [](auto& t) { return t.StartTime == 60000000; }},
      {"itsoffset", "-2", [](auto& t) { return t.InputTsOffset == -2000000; }},
      {"timestamp", "2000-01-01T00:00:00.6Z", [](auto& t) { return t.RecTimestamp == 946684801; }},
  };
  for (const auto& c : cases) {
    task.ResetOptions();
    task.ParseOption(c.name, c.value);
    EXPECT_TRUE(c.holds(task)) << c.name << "=" << c.value;
  }
  task.ParseOption("vn", "1");
  task.ParseOption("vn", "0");
  EXPECT_FALSE(task.VideoDisable);
  EXPECT_TRUE(log.empty());
}

TEST_F(Option, NumbersThatAreNotNumbersRaiseConversionErrors) {
  for (const char* name : {"vframes", "fs", "adrift_threshold", "croptop", "vol"})
    EXPECT_THROW(task.ParseOption(name, "abc"), EConvertError) << name;
  try {
    task.ParseOption("loop_output", "abc");
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "\"abc\" is not a valid integer value");
  }
  EXPECT_EQ(task.LoopOutput, -1);
}

TEST_F(Option, DoNothingRowsOnlyReport) {
  for (const char* name : {"L", "h", "version", "formats", "i", "y", "benchmark", "apre", "vpre", "spre"}) {
    log.clear();
    task.ParseOption(name, "x");
    ASSERT_EQ(log.size(), 1u) << name;
    EXPECT_EQ(log[0], std::make_pair(1, "Do nothing: option - " + std::string(name)));
  }
  task.LogCallback = nullptr;
  task.ParseOption("h", "");  // nobody listening: nothing to report to
}

TEST_F(Option, ThreadsIsRefusedBeforeTheLibrarySeesIt) {
  // The library has a "threads" option too: the table's row comes first.
  for (const char* value : {"", "0", "4"}) {
    try {
      task.ParseOption("threads", value);
      ADD_FAILURE() << "accepted " << value;
    } catch (const FFmpegException& e) {
      EXPECT_STREQ(e.what(), "TODO: option - threads");
    }
  }
  EXPECT_TRUE(task.OptionContexts.OptNames.empty());
}

TEST_F(Option, UnknownNamesChangeNothingAndReportNothing) {
  test::LogCapture library;
  task.ParseOption("no_such_option", "1");
  task.ParseOption("Vn", "1");  // names are case-sensitive
  EXPECT_TRUE(log.empty());
  EXPECT_TRUE(library.Lines().empty());
  EXPECT_TRUE(task.OptionContexts.OptNames.empty());
  EXPECT_FALSE(task.VideoDisable);
}

TEST_F(Option, OtherNamesGoToTheLibrary) {
  task.ParseOption("g", "17");
  EXPECT_EQ(task.OptionContexts.CodecOpts[mkVideo]->gop_size, 17);
  EXPECT_EQ(task.OptionContexts.OptNames, std::vector<std::string>{"g"});
}

TEST_F(Option, LowBitRateIsWarnedAbout) {
  const std::string warning =
      "WARNING: The bitrate parameter is set too low. It takes bits/s as argument, not kbits/s";
  task.ParseOption("b", "64");
  EXPECT_TRUE(Logged(warning));
  EXPECT_EQ(task.OptionContexts.CodecOpts[mkVideo]->bit_rate, 64);

  log.clear();
  task.ParseOption("b", "64000");
  EXPECT_FALSE(Logged(warning));
  task.ParseOption("ab", "96");
  EXPECT_TRUE(Logged(warning));
  EXPECT_EQ(task.OptionContexts.CodecOpts[mkAudio]->bit_rate, 96);
  EXPECT_EQ(task.OptionContexts.CodecOpts[mkVideo]->bit_rate, 64000);
}

TEST_F(Option, TimesThatDoNotParse) {
  const struct {
    const char* name;
    const char* text;
  } cases[] = {{"t", "Invalid duration specification for t: soon"},
               {"ss", "Invalid duration specification for ss: soon"},
               {"itsoffset", "Invalid duration specification for itsoffset: soon"},
               {"timestamp", "Invalid date specification for timestamp: soon"}};
  for (const auto& c : cases) {
    try {
      task.ParseOption(c.name, "soon");
      ADD_FAILURE() << c.name;
    } catch (const FFmpegException& e) {
      EXPECT_STREQ(e.what(), c.text);
    }
  }
}

TEST_F(Option, RecordingWindowIgnoresNonPositiveTimes) {
  task.SetRecordingTime(0);
  task.SetRecordingTimeMs(-5);
  task.SetStartTime(-1);
  EXPECT_EQ(task.RecordingTime, INT64_MAX);
  EXPECT_EQ(task.TotalDurationMs, -1);
  EXPECT_EQ(task.StartTime, 0);
  task.SetRecordingTimeMs(2500);
  EXPECT_EQ(task.RecordingTime, 2500000);
  EXPECT_EQ(task.TotalDurationMs, 2500);
  task.SetStartTime(42);
  EXPECT_EQ(task.StartTime, 42);
}

TEST_F(Option, VerbosityReachesTheLibrary) {
  const int before = ff::av_log_get_level();
  task.ParseOption("v", "0");
  EXPECT_EQ(task.Verbose, 0);
  EXPECT_EQ(LibraryLogLevel.load(), 0);
  EXPECT_EQ(ff::av_log_get_level(), 0);
  task.SetVerbose(before);
}

TEST_F(Option, NewStreamsNeedAnOutputFile) {
  for (const char* name : {"newvideo", "newaudio", "newsubtitle"}) {
    try {
      task.ParseOption(name, "");
      ADD_FAILURE() << name;
    } catch (const FFmpegException& e) {
      EXPECT_STREQ(e.what(), "At least one output file must be specified");
    }
  }
}

TEST_F(Option, ResetRestoresDefaults) {
  task.ParseOption("vn", "");
  task.ParseOption("g", "17");
  task.ParseOption("ar", "22050");
  task.ResetOptions();
  EXPECT_FALSE(task.VideoDisable);
  EXPECT_EQ(task.AudioSampleRate, 44100);
  EXPECT_EQ(task.ThreadCount, 0);
  EXPECT_EQ(task.PadColor, (std::array<int, 3>{16, 128, 128}));
  EXPECT_TRUE(task.OptionContexts.OptNames.empty());
  EXPECT_NE(task.OptionContexts.CodecOpts[mkVideo]->gop_size, 17);
}

}  // namespace
}  // namespace trovenix
