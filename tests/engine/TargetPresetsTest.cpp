#include <string>

#include "HandlerExpect.h"
#include "TaskFixture.h"
#include "media/AVFormatStubs.h"
#include "media/AVUtilStubs.h"

namespace trovenix {
namespace {

using TargetPresets = test::TaskTest;
using test::ExpectFailure;

std::int64_t LibraryOption(void* context, const char* name) {
  std::int64_t value = -1;
  EXPECT_GE(ff::av_opt_get_int(context, name, 0, &value), 0) << name;
  return value;
}

TEST_F(TargetPresets, PalDvd) {
  task.SetAudioCodec("mp2");
  task.AudioChannels = 1;
  task.SetTarget(" pal-dvd ");
  EXPECT_EQ(task.VideoCodecName, "mpeg2video");
  EXPECT_EQ(task.AudioCodecName, "ac3");
  ASSERT_NE(task.OutputFormat, nullptr);
  EXPECT_STREQ(task.OutputFormat->name, "dvd");
  EXPECT_EQ(task.FrameWidth, 720);
  EXPECT_EQ(task.FrameHeight, 576);
  EXPECT_EQ(task.FrameRate.num, 25);
  EXPECT_EQ(task.FrameRate.den, 1);
  EXPECT_EQ(task.AudioSampleRate, 48000);
  EXPECT_EQ(task.AudioChannels, 2);
  EXPECT_FLOAT_EQ(task.FrameAspectRatio, 16.0f / 9.0f);
  EXPECT_TRUE(Logged("Assuming 16:9 for aspect ratio"));
  EXPECT_FALSE(Logged("Assuming PAL for target."));  // the norm was named
  AVCodecContext* video = task.OptionContexts.CodecOpts[mkVideo].get();
  EXPECT_EQ(LibraryOption(video, "g"), 15);
  EXPECT_EQ(LibraryOption(video, "b"), 6000000);
  EXPECT_EQ(LibraryOption(video, "maxrate"), 9000000);
  EXPECT_EQ(LibraryOption(task.OptionContexts.CodecOpts[mkAudio].get(), "b"), 448000);
  EXPECT_EQ(LibraryOption(task.OptionContexts.FormatOpts.get(), "packetsize"), 2048);
}

TEST_F(TargetPresets, NormFromTheFrameRateOrTheDefault) {
  const struct {
    AVRational rate;
    const char* defaultNorm;
    int height;
    AVRational presetRate;
    const char* logLine;
  } cases[] = {
      {{25, 1}, "ntsc", 288, {25, 1}, "Assuming PAL for target."},
      {{30000, 1001}, "pal", 240, {30000, 1001}, "Assuming NTSC for target."},
      {{24000, 1001}, "pal", 240, {30000, 1001}, "Assuming NTSC for target."},
      {{10, 1}, "ntsc", 240, {30000, 1001}, "Assuming NTSC for target."},
      {{10, 1}, "film", 240, {24000, 1001}, "Assuming NTSC for target."},
      {{10, 1}, "pal", 288, {25, 1}, "Assuming PAL for target."},
      {{10, 1}, "other", 288, {25, 1}, "Assuming PAL for target."},
  };
  for (const auto& c : cases) {
    task.ResetOptions();
    log.clear();
    task.FrameRate = c.rate;
    task.SetTargetPreset("vcd", "auto", c.defaultNorm);
    const std::string context =
        std::to_string(c.rate.num) + "/" + std::to_string(c.rate.den) + " default " + c.defaultNorm;
    EXPECT_EQ(task.FrameWidth, 352) << context;
    EXPECT_EQ(task.FrameHeight, c.height) << context;
    EXPECT_EQ(task.FrameRate.num, c.presetRate.num) << context;
    EXPECT_EQ(task.FrameRate.den, c.presetRate.den) << context;
    EXPECT_TRUE(Logged(c.logLine)) << context;
    EXPECT_TRUE(Logged("Assuming 4:3 for aspect ratio")) << context;
  }
}

TEST_F(TargetPresets, VcdWithoutAFrameRateIsRejected) {
  ExpectFailure<FFmpegException>([&] { task.SetTarget("vcd"); }, "frame_rate is invalid.");
  EXPECT_EQ(task.VideoCodecName, "");
  task.SetTarget("ntsc-vcd");  // a named norm needs no rate
  EXPECT_EQ(task.FrameHeight, 240);
}

TEST_F(TargetPresets, QuietTasksDoNotTellTheNorm) {
  task.Verbose = 0;
  task.FrameRate = {25, 1};
  task.FrameAspectRatio = 1.25f;
  task.SetTarget("vcd");
  EXPECT_TRUE(log.empty());
  EXPECT_FLOAT_EQ(task.FrameAspectRatio, 1.25f);  // an aspect already given stays
  EXPECT_FLOAT_EQ(task.MuxPreload, 0.44f);
  EXPECT_EQ(task.AudioSampleRate, 44100);
}

TEST_F(TargetPresets, AudioChannelsBySvcdAndVcd) {
  const struct {
    const char* target;
    int channels, expected;
  } cases[] = {
      {"pal-svcd", 6, 6},
      {"pal-svcd", 1, 2},
      {"pal-vcd", 6, 2},
      {"pal-dvd", 6, 6},
  };
  for (const auto& c : cases) {
    task.ResetOptions();
    task.AudioChannels = c.channels;
    task.SetTarget(c.target);
    EXPECT_EQ(task.AudioChannels, c.expected) << c.target << " " << c.channels;
  }
  EXPECT_EQ(task.FrameWidth, 720);
}

TEST_F(TargetPresets, DvPixelFormats) {
  const struct {
    const char* target;
    int height;
    AVPixelFormat format;
  } cases[] = {
      {"pal-dv", 576, AV_PIX_FMT_YUV420P},
      {"ntsc-dv", 480, AV_PIX_FMT_YUV411P},
      {"film-dv50", 480, AV_PIX_FMT_YUV422P},
  };
  for (const auto& c : cases) {
    task.ResetOptions();
    task.AudioChannels = 1;
    task.SetTarget(c.target);
    ASSERT_NE(task.OutputFormat, nullptr);
    EXPECT_STREQ(task.OutputFormat->name, "dv") << c.target;
    EXPECT_EQ(task.FrameHeight, c.height) << c.target;
    EXPECT_EQ(task.FramePixFmt, c.format) << c.target;
    EXPECT_EQ(task.AudioSampleRate, 48000) << c.target;
    EXPECT_EQ(task.AudioChannels, 2) << c.target;
    EXPECT_EQ(task.FrameAspectRatio, 0.0f) << c.target;
  }
}

TEST_F(TargetPresets, UnknownTypes) {
  task.FrameRate = {25, 1};
  for (const char* target : {"pal-foo", "foo", "", "dvd-pal"})
    ExpectFailure<FFmpegException>([&] { task.SetTarget(target); }, "Unknown target type", target);
}

// Opens a clip the way the task holds its inputs.
InputContextPtr OpenClip(const std::string& path) {
  AVFormatContext* context = nullptr;
  EXPECT_EQ(ff::avformat_open_input(&context, path.c_str(), nullptr, nullptr), 0) << path;
  InputContextPtr input(context);
  if (input) {
    EXPECT_GE(ff::avformat_find_stream_info(input.get(), nullptr), 0);
  }
  return input;
}

TEST_F(TargetPresets, NormFromTheOpenedInputsVideo) {
  const std::string audio = test::MakeClip(
      "sine-1s.wav", "-f lavfi -i sine=frequency=440:sample_rate=8000 -t 1 -c:a pcm_s16le");
  const std::string ntsc = test::MakeClip(
      "ntsc-rate.mkv", "-f lavfi -i testsrc=size=64x48:rate=30000/1001 -t 0.5 -c:v mpeg4");
  const std::string pal =
      test::MakeClip("pal-rate.mkv", "-f lavfi -i testsrc=size=64x48:rate=25 -t 0.5 -c:v mpeg4");
  const struct {
    std::vector<std::string> inputs;
    int height;
  } cases[] = {
      {{audio, ntsc, pal}, 240},  // the first deciding video stream wins
      {{audio, pal, ntsc}, 288},
      {{audio}, 240},  // nothing decides: the default, NTSC
  };
  for (const auto& c : cases) {
    task.ResetOptions();
    task.InputFiles.clear();
    for (const std::string& path : c.inputs) task.InputFiles.push_back(OpenClip(path));
    ASSERT_TRUE(task.InputFiles.back());
    task.FrameRate = {12, 1};
    task.SetTarget("vcd");
    EXPECT_EQ(task.FrameHeight, c.height) << c.inputs.size();
  }
  task.InputFiles.clear();
}

}  // namespace
}  // namespace trovenix
