// Creating outputs: stream choice, codec settings made from the options,
// failures, and the temporary file that becomes the output on commit.
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "TaskFixture.h"
#include "media/AVCodecStubs.h"
#include "media/AVFormatStubs.h"
#include "media/AVUtilStubs.h"
#include "media/ProbeTexts.h"

namespace fs = std::filesystem;

namespace trovenix {
namespace {

constexpr const char* PadConflictText =
    "Cannot enable pad options and the filters which resize frame at the same time. "
    "(crop, rotate, scale, transpose, etc.)";

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class OutputFiles : public test::TaskTest {
 protected:
  // This test's own folder for outputs, emptied when first asked for.
  std::string Folder() {
    if (folder_.empty()) {
      const fs::path dir = fs::path(test::FixturePath("outputs")) /
                           ::testing::UnitTest::GetInstance()->current_test_info()->name();
      fs::remove_all(dir);
      fs::create_directories(dir);
      folder_ = dir.string();
    }
    return folder_;
  }
  std::string Output(const std::string& name) { return (fs::path(Folder()) / name).string(); }

  // Opens an output that must succeed and returns its record.
  TOutputFile& Open(const std::string& name) {
    const int count = task.OpenOutputFile(name);
    EXPECT_EQ(count, static_cast<int>(task.OutputFiles.size())) << task.LastError;
    if (task.OutputFiles.empty()) throw std::runtime_error(task.LastError);
    return *task.OutputFiles.back();
  }

  static std::vector<AVMediaType> Kinds(const TOutputFile& output) {
    std::vector<AVMediaType> kinds;
    for (const auto& stream : output.Streams) kinds.push_back(stream.Codec->codec_type);
    return kinds;
  }

  std::string folder_;

  std::string ToneClip() {
    return test::MakeClip(
        "tone-mono-22k.wav",
        "-f lavfi -i sine=frequency=440:sample_rate=22050 -ac 1 -t 0.3 -c:a pcm_s16le");
  }
};

TEST(FilterConflict, NamesOfResizingFiltersAreFound) {
  const std::pair<const char*, bool> cases[] = {
      {"", true},
      {"hflip", true},
      {"hflip,vflip", true},
      {"scale=320:240", false},
      {"Crop=100:100:0:0", false},
      {"hflip,transpose=1", false},
      {"hflip, rotate=PI/2", false},
      {"scale2ref", true},
  };
  for (const auto& [chain, passes] : cases)
    EXPECT_EQ(TCustomFFmpeg::CheckFilterConflict(chain), passes) << chain;
}

TEST_F(OutputFiles, OptionConflictsAndUnknownFormatsLeaveNoOutput) {
  struct Case {
    std::string filters;
    int crop;
    int pad;
    std::string name;
    std::string error;
  };
  const std::string folder = Folder();
  const std::string unknown = folder + "/clip.nosuchext";
  const Case cases[] = {
      {"scale=320:240", 0, 8, folder + "/a.mp4", PadConflictText},
      {"CROP=10:10", 0, 8, folder + "/a.mp4", PadConflictText},
      {"hflip", 4, 0, folder + "/a.mp4",
       "Cannot enable crop options and filters at the same time."},
      {"", 0, 0, unknown, "Unable to find a suitable output format for '" + unknown + "'"},
  };
  for (const Case& c : cases) {
    task.VideoFilters = c.filters;
    task.CropTop = c.crop;
    task.PadTop = c.pad;
    task.OutputFormat = nullptr;
    task.InputFormat = ff::av_find_input_format("mov");
    EXPECT_EQ(task.OpenOutputFile(c.name), -1) << c.filters;
    EXPECT_EQ(task.LastError, c.error);
    EXPECT_TRUE(task.OutputFiles.empty());
    EXPECT_EQ(task.InputFormat, nullptr);
  }
  EXPECT_TRUE(fs::is_empty(folder));
}

TEST_F(OutputFiles, MirroringFilterWithPadsPasses) {
  task.VideoFilters = "hflip";
  task.PadTop = task.PadBottom = 8;
  task.FrameWidth = 320;
  task.FrameHeight = 224;
  const TOutputFile& output = Open(Output("padded.mp4"));
  EXPECT_TRUE(task.UseVideoFilters);
  ASSERT_FALSE(output.Streams.empty());
  EXPECT_EQ(output.Streams[0].Codec->height, 240);
}

TEST_F(OutputFiles, StreamKindsFollowFormatInputsAndSwitches) {
  // No inputs: the format's defaults, less what is switched off.
  task.VideoDisable = true;
  EXPECT_EQ(Kinds(Open(Output("novideo.mp4"))), std::vector<AVMediaType>{AVMEDIA_TYPE_AUDIO});
  // Only sound opened: no picture stream although the format has a default.
  task.VideoDisable = false;
  ASSERT_TRUE(task.OpenInputFile(ToneClip())) << task.LastError;
  EXPECT_EQ(Kinds(Open(Output("tone.mp4"))), std::vector<AVMediaType>{AVMEDIA_TYPE_AUDIO});
}

TEST_F(OutputFiles, SubtitlesGetTheFormatsOwnCodec) {
  const std::string srt =
      test::WriteFixture("line.srt", "1\n00:00:00,000 --> 00:00:01,000\nHello\n\n");
  const std::string clip =
      test::MakeClip("subtitle-only.mkv", "-i " + test::ShellQuote(srt) + " -c:s ass");
  ASSERT_TRUE(task.OpenInputFile(clip)) << task.LastError;
  task.SubtitleLanguage = "eng";
  const TOutputFile& output = Open(Output("subs.mkv"));
  ASSERT_EQ(Kinds(output), std::vector<AVMediaType>{AVMEDIA_TYPE_SUBTITLE});
  EXPECT_EQ(output.Streams[0].Codec->codec_id, AV_CODEC_ID_ASS);
  EXPECT_EQ(MetadataValue(output.Streams[0].Stream->metadata, "language"), "eng");
  EXPECT_TRUE(task.SubtitleLanguage.empty());
}

TEST_F(OutputFiles, FurtherStreamsNeedAnOutput) {
  EXPECT_THROW(
      {
        try {
          task.AddAudioStream();
        } catch (const FFmpegException& e) {
          EXPECT_STREQ(e.what(), NoOutputFileText);
          throw;
        }
      },
      FFmpegException);
  EXPECT_THROW(task.AddVideoStream(), FFmpegException);
  EXPECT_THROW(task.AddSubtitleStream(), FFmpegException);

  TOutputFile& output = Open(Output("two-tracks.mp4"));
  ASSERT_EQ(output.Streams.size(), 2u);
  task.AudioLanguage = "fre";
  task.AddAudioStream();
  ASSERT_EQ(output.Streams.size(), 3u);
  EXPECT_EQ(output.Context->nb_streams, 3u);
  EXPECT_EQ(output.Streams[2].Stream, output.Context->streams[2]);
  EXPECT_EQ(output.Streams[2].Codec->codec_type, AVMEDIA_TYPE_AUDIO);
  EXPECT_EQ(MetadataValue(output.Streams[2].Stream->metadata, "language"), "fre");

  // A stream that cannot be made leaves the output as it was.
  task.VideoCodecName = "nosuch";
  EXPECT_THROW(task.AddVideoStream(), FFmpegException);
  EXPECT_EQ(output.Context->nb_streams, 3u);
  EXPECT_EQ(output.Streams.size(), 3u);
  EXPECT_TRUE(task.VideoCodecName.empty());
}

TEST_F(OutputFiles, FailuresAfterTheFormatIsChosen) {
  const std::string folder = Folder();
  const std::string unwritable = folder + "/missing-folder/out.mp4";
  const std::string chunks = folder + "/chunk.webm";
  struct Case {
    std::string name;
    const char* format;
    std::string rcOverride;
    std::string error;
  };
  const Case cases[] = {
      {unwritable, nullptr, "", "Could not open '" + unwritable + "'"},
      {chunks, "webm_chunk", "", OpenErrorText(chunks, AVERROR(EDOM))},
      {folder + "/rc.mp4", nullptr, "0,10", "new_video_stream fail: error parsing rc_override"},
      {folder + "/rc.mp4", nullptr, "x,1,2", "new_video_stream fail: error parsing rc_override"},
  };
  for (const Case& c : cases) {
    task.OutputFormat = c.format ? ff::av_guess_format(c.format, nullptr, nullptr) : nullptr;
    task.RcOverride = c.rcOverride;
    task.Metadata = {{"title", "kept"}};
    EXPECT_EQ(task.OpenOutputFile(c.name), -1) << c.name;
    EXPECT_EQ(task.LastError, c.error);
    EXPECT_TRUE(task.OutputFiles.empty());
  }
  EXPECT_EQ(task.OutputFormat, nullptr);
  EXPECT_TRUE(fs::is_empty(folder));
}

TEST_F(OutputFiles, VideoEncoderSettingsFromTheOptions) {
  task.VideoCodecName = "mpeg1video";
  task.FrameWidth = 352;
  task.FrameHeight = 288;
  task.FrameAspectRatio = 4.0f / 3.0f;
  task.FramePixFmt = AV_PIX_FMT_RGB24;  // not one mpeg1video takes
  task.VideoQScale = 3;
  task.IntraOnly = true;
  task.Psnr = true;
  task.PassNumber = 1;
  task.IntraDcPrecision = 9;
  task.RcOverride = "0,10,5/ 11,20,-150/";
  task.VideoBitstreamFilters = {"dump_extra"};
  const TOutputFile& output = Open(Output("settings.mpg"));
  ASSERT_EQ(Kinds(output).front(), AVMEDIA_TYPE_VIDEO);
  const TOutputStreamConfig& video = output.Streams[0];
  const AVCodecContext* c = video.Codec.get();
  EXPECT_EQ(video.Encoder, ff::avcodec_find_encoder_by_name("mpeg1video"));
  EXPECT_EQ(c->codec_id, AV_CODEC_ID_MPEG1VIDEO);
  EXPECT_EQ(c->width, 352);
  EXPECT_EQ(c->height, 288);
  EXPECT_EQ(c->pix_fmt, AV_PIX_FMT_YUV420P);
  EXPECT_EQ(c->sample_aspect_ratio.num, 12);
  EXPECT_EQ(c->sample_aspect_ratio.den, 11);
  EXPECT_EQ(video.Stream->sample_aspect_ratio.num, 12);
  EXPECT_EQ(c->gop_size, 0);
  EXPECT_FLOAT_EQ(video.Quality, 354.0f);
  EXPECT_EQ(c->global_quality, 354);
  const int flags = AV_CODEC_FLAG_QSCALE | AV_CODEC_FLAG_PSNR | AV_CODEC_FLAG_PASS1;
  EXPECT_EQ(c->flags & flags, flags);
  EXPECT_EQ(c->intra_dc_precision, 1);
  ASSERT_EQ(c->rc_override_count, 2);
  EXPECT_EQ(c->rc_override[0].start_frame, 0);
  EXPECT_EQ(c->rc_override[0].end_frame, 10);
  EXPECT_EQ(c->rc_override[0].qscale, 5);
  EXPECT_FLOAT_EQ(c->rc_override[0].quality_factor, 1.0f);
  EXPECT_EQ(c->rc_override[1].start_frame, 11);
  EXPECT_EQ(c->rc_override[1].qscale, 0);
  EXPECT_FLOAT_EQ(c->rc_override[1].quality_factor, 1.5f);
  EXPECT_EQ(video.BitstreamFilters, std::vector<std::string>{"dump_extra"});
  EXPECT_TRUE(task.VideoBitstreamFilters.empty());
  EXPECT_TRUE(task.VideoCodecName.empty());
}

TEST_F(OutputFiles, ListedFrameRatesWinUnlessForced) {
  struct Case {
    AVRational asked;
    bool force;
    AVRational timeBase;
  };
  const Case cases[] = {
      {{25, 1}, false, {1, 25}},
      {{20, 1}, false, {1001, 24000}},
      {{20, 1}, true, {1, 20}},
      {{0, 0}, false, {1, 25}},
  };
  const std::string folder = Folder();
  for (const Case& c : cases) {
    task.VideoCodecName = "mpeg1video";
    task.FrameRate = c.asked;
    task.ForceFps = c.force;
    const TOutputFile& output =
        Open(folder + "/rate" + std::to_string(task.OutputFiles.size()) + ".mpg");
    const AVRational tb = output.Streams[0].Codec->time_base;
    EXPECT_EQ(tb.num, c.timeBase.num) << c.asked.num << "/" << c.asked.den;
    EXPECT_EQ(tb.den, c.timeBase.den) << c.asked.num << "/" << c.asked.den;
  }
}

TEST_F(OutputFiles, CopiedPictureGetsItsShapeFromTheAspectRatio) {
  struct Case {
    int width, height;
    float aspect;
    AVRational sar;
  };
  const Case cases[] = {
      {0, 0, 16.0f / 9.0f, {4, 3}},
      {720, 576, 16.0f / 9.0f, {64, 45}},
      {0, 0, 0.0f, {0, 1}},
  };
  const std::string folder = Folder();
  for (const Case& c : cases) {
    task.VideoStreamCopy = 1;
    task.FrameWidth = c.width;
    task.FrameHeight = c.height;
    task.FrameAspectRatio = c.aspect;
    const TOutputFile& output =
        Open(folder + "/copy" + std::to_string(task.OutputFiles.size()) + ".mov");
    const TOutputStreamConfig& video = output.Streams[0];
    EXPECT_TRUE(video.StreamCopy);
    EXPECT_EQ(video.Codec->codec_type, AVMEDIA_TYPE_VIDEO);
    EXPECT_EQ(video.Stream->sample_aspect_ratio.num, c.sar.num) << c.width << " " << c.aspect;
    EXPECT_EQ(video.Stream->sample_aspect_ratio.den, c.sar.den) << c.width << " " << c.aspect;
    EXPECT_EQ(task.VideoStreamCopy, 0);
  }
}

TEST_F(OutputFiles, SoundEncoderSettingsFromTheOptions) {
  task.AudioCodecName = "libfaac";
  task.AudioChannels = 6;
  task.ChannelLayout = AV_CH_LAYOUT_STEREO;  // of an earlier source, with fewer channels
  task.AudioSampleRate = 48000;
  task.AudioSampleFmt = AV_SAMPLE_FMT_S16;
  task.AudioStreamCopy = 0;
  task.VideoDisable = true;
  task.AudioLanguage = "ger";
  const TOutputFile& output = Open(Output("sound.m4a"));
  ASSERT_EQ(Kinds(output), std::vector<AVMediaType>{AVMEDIA_TYPE_AUDIO});
  const TOutputStreamConfig& audio = output.Streams[0];
  const AVCodecContext* c = audio.Codec.get();
  EXPECT_EQ(audio.Encoder, ff::avcodec_find_encoder_by_name("aac"));
  EXPECT_EQ(c->codec_id, AV_CODEC_ID_AAC);
  EXPECT_EQ(c->ch_layout.nb_channels, 6);
  EXPECT_EQ(c->ch_layout.u.mask, AV_CH_LAYOUT_5POINT1_BACK);
  EXPECT_EQ(c->sample_fmt, AV_SAMPLE_FMT_FLTP);
  EXPECT_EQ(c->sample_rate, 48000);
  EXPECT_EQ(c->time_base.den, 48000);
  EXPECT_NE(c->flags & AV_CODEC_FLAG_GLOBAL_HEADER, 0);
  EXPECT_EQ(MetadataValue(audio.Stream->metadata, "language"), "ger");
  EXPECT_TRUE(task.AudioLanguage.empty());
  EXPECT_TRUE(task.AudioCodecName.empty());

  // The source's own layout is kept when the channel count matches.
  task.AudioChannels = 2;
  task.ChannelLayout = AV_CH_LAYOUT_STEREO_DOWNMIX;
  task.VideoDisable = true;
  const TOutputFile& second = Open(Output("downmix.m4a"));
  EXPECT_EQ(second.Streams[0].Codec->ch_layout.u.mask, AV_CH_LAYOUT_STEREO_DOWNMIX);
}

TEST_F(OutputFiles, MetadataAndMuxerSettings) {
  task.Metadata = {{"title", "First"}, {"artist", "Someone"}, {"title", "Second"}};
  task.RecTimestamp = 86400;
  task.LoopOutput = 3;
  const TOutputFile& output = Open(Output("tagged.mpg"));
  const AVFormatContext* context = output.Context.get();
  EXPECT_EQ(MetadataValue(context->metadata, "title"), "First");
  EXPECT_EQ(MetadataValue(context->metadata, "artist"), "Someone");
  EXPECT_EQ(MetadataValue(context->metadata, "creation_time"), "1970-01-02T00:00:00.000000Z");
  EXPECT_TRUE(task.Metadata.empty());
  EXPECT_EQ(context->max_delay, 699999);
  std::int64_t preload = 0;
  ASSERT_GE(ff::av_opt_get_int(output.Context.get(), "preload", AV_OPT_SEARCH_CHILDREN, &preload),
            0);
  EXPECT_EQ(preload, 500000);
}

TEST_F(OutputFiles, OutputIsWrittenAsideUntilCommitted) {
  const std::string name = Output("result.mp4");
  TOutputFile& output = Open(name);
  EXPECT_TRUE(output.UsesTempFile);
  EXPECT_FALSE(fs::exists(name));
  const fs::path temp(output.WritePath);
  ASSERT_TRUE(fs::exists(temp));
  EXPECT_EQ(temp.parent_path(), fs::path(name).parent_path());
  EXPECT_EQ(temp.filename().string().rfind(".result.mp4.", 0), 0u) << temp;

  std::ofstream(temp, std::ios::binary | std::ios::app) << "payload";
  ASSERT_TRUE(output.Commit());
  EXPECT_EQ(ReadAll(name), "payload");
  EXPECT_FALSE(fs::exists(temp));
  task.TidyUp();
  EXPECT_EQ(ReadAll(name), "payload");
}

TEST_F(OutputFiles, EmptyCommittedOutputIsRemoved) {
  const std::string name = Output("empty.mp4");
  TOutputFile& output = Open(name);
  ASSERT_TRUE(output.Commit());
  EXPECT_FALSE(fs::exists(name));
  EXPECT_TRUE(fs::is_empty(fs::path(name).parent_path()));
}

TEST_F(OutputFiles, UncommittedOutputLeavesTheOldFileUntouched) {
  const std::string folder = Folder();
  const std::string name = folder + "/existing.mp4";
  const std::string before = std::string("old contents\0\x01\x02", 15);
  std::ofstream(name, std::ios::binary) << before;
  {
    TOutputFile& output = Open(name);
    std::ofstream(output.WritePath, std::ios::binary | std::ios::app) << "new";
    output.Discard();
    EXPECT_EQ(ReadAll(name), before);
    EXPECT_EQ(fs::directory_iterator(folder)->path(), fs::path(name));
  }
  {
    TCustomFFmpeg other;
    other.ResetOptions();
    ASSERT_GT(other.OpenOutputFile(name), 0) << other.LastError;
    std::ofstream(other.OutputFiles[0]->WritePath, std::ios::binary | std::ios::app) << "new";
  }
  EXPECT_EQ(ReadAll(name), before);
  std::size_t entries = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder)) ++entries;
  EXPECT_EQ(entries, 1u);
}

TEST_F(OutputFiles, DevicesAreWrittenDirectly) {
  task.OutputFormat = ff::av_guess_format("mp4", nullptr, nullptr);
  TOutputFile& output = Open("/dev/null");
  EXPECT_FALSE(output.UsesTempFile);
  EXPECT_EQ(output.WritePath, "/dev/null");
  EXPECT_EQ(output.Position(), 0);
  EXPECT_TRUE(output.Commit());
  struct stat info {};
  ASSERT_EQ(stat("/dev/null", &info), 0);
  EXPECT_TRUE(S_ISCHR(info.st_mode));
}

}  // namespace
}  // namespace trovenix
