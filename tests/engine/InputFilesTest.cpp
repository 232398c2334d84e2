// Opening sources: options that reach the demuxer, properties copied back
// into the option state, codec look-up and failures.
#include <cerrno>
#include <cmath>

#include "TaskFixture.h"
#include "media/AVCodecStubs.h"
#include "media/AVFormatStubs.h"
#include "media/ProbeTexts.h"

namespace trovenix {
namespace {

std::string PalClip() {
  return test::MakeClip(
      "pal-sar16x15.mp4",
      "-f lavfi -i testsrc=size=720x576:rate=25 -t 0.4 -vf setsar=16/15 -c:v mpeg4");
}

std::string ToneClip() {
  return test::MakeClip("tone-mono-22k.m4a",
                        "-f lavfi -i sine=frequency=440:sample_rate=22050 -ac 1 -t 0.3 -c:a aac");
}

// Two seconds with a key frame every five frames, so a seek lands near its target.
std::string SeekableClip() {
  return test::MakeClip("seekable-2s.mp4",
                        "-f lavfi -i testsrc=size=160x120:rate=25 -t 2 -g 5 -c:v mpeg4");
}

// Timestamp of the first packet read, in seconds.
double FirstPacketSeconds(AVFormatContext* file) {
  PacketPtr packet(ff::av_packet_alloc());
  if (ff::av_read_frame(file, packet.get()) < 0) return -1.0;
  const AVStream* stream = file->streams[packet->stream_index];
  const std::int64_t ts = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
  return static_cast<double>(ts) * stream->time_base.num / stream->time_base.den;
}

using InputFiles = test::TaskTest;

TEST_F(InputFiles, PictureSizeAspectAndRateReachTheOptions) {
  ASSERT_TRUE(task.OpenInputFile(PalClip())) << task.LastError;
  EXPECT_EQ(task.FrameWidth, 720);
  EXPECT_EQ(task.FrameHeight, 576);
  EXPECT_FLOAT_EQ(task.FrameAspectRatio, 1.3333334f);
  EXPECT_EQ(task.FramePixFmt, AV_PIX_FMT_YUV420P);
  EXPECT_EQ(task.FrameRate.num, 25);
  EXPECT_EQ(task.FrameRate.den, 1);
  EXPECT_EQ(task.TotalDurationMs, 400);
  ASSERT_EQ(task.InputFiles.size(), 1u);
  EXPECT_EQ(task.InputTsOffsets, std::vector<std::int64_t>{0});
  EXPECT_EQ(task.InputCodecs, std::vector<const AVCodec*>{nullptr});
}

TEST_F(InputFiles, PictureWithoutSampleAspectKeepsItsShape) {
  const std::string clip = test::MakeClip("pal-sar0.nut",
                                          "-f lavfi -i testsrc=size=720x576:rate=25 -frames:v 2 "
                                          "-vf setsar=0 -pix_fmt yuv420p -c:v rawvideo");
  ASSERT_TRUE(task.OpenInputFile(clip)) << task.LastError;
  EXPECT_FLOAT_EQ(task.FrameAspectRatio, 1.25f);
}

TEST_F(InputFiles, SoundOnlySourceLeavesPictureOptionsAlone) {
  task.FrameWidth = 352;
  task.FrameHeight = 288;
  task.FrameRate = {30000, 1001};
  ASSERT_TRUE(task.OpenInputFile(ToneClip())) << task.LastError;
  EXPECT_EQ(task.FrameWidth, 352);
  EXPECT_EQ(task.FrameHeight, 288);
  EXPECT_EQ(task.FrameRate.num, 30000);
  EXPECT_EQ(task.FrameRate.den, 1001);
  EXPECT_EQ(task.AudioChannels, 1);
  EXPECT_EQ(task.AudioSampleRate, 22050);
  EXPECT_EQ(task.AudioSampleFmt, AV_SAMPLE_FMT_FLTP);
  EXPECT_EQ(task.ChannelLayout, static_cast<std::int64_t>(AV_CH_LAYOUT_MONO));
}

TEST_F(InputFiles, StartPositionSeeksInTheFirstInputOnly) {
  task.StartTime = 1000000;
  ASSERT_TRUE(task.OpenInputFile(SeekableClip())) << task.LastError;
  EXPECT_EQ(task.StartTime, 0);
  ASSERT_TRUE(task.OpenInputFile(SeekableClip())) << task.LastError;
  ASSERT_EQ(task.InputFiles.size(), 2u);
  EXPECT_EQ(task.InputTsOffsets, (std::vector<std::int64_t>{-1000000, 0}));
  const double first = FirstPacketSeconds(task.InputFiles[0].get());
  EXPECT_GE(first, 0.75);
  EXPECT_LE(first, 1.0);
  EXPECT_EQ(FirstPacketSeconds(task.InputFiles[1].get()), 0.0);
}

TEST_F(InputFiles, CopiedTimestampsKeepTheGivenOffset) {
  task.CopyTs = true;
  task.StartTime = 1000000;
  task.InputTsOffset = 250000;
  ASSERT_TRUE(task.OpenInputFile(SeekableClip())) << task.LastError;
  EXPECT_EQ(task.InputTsOffsets, std::vector<std::int64_t>{250000});
}

TEST_F(InputFiles, DisabledKindsAreDiscardedAndForcedDecodersRecorded) {
  const std::string clip = test::MakeClip(
      "pal-with-tone.mkv",
      "-f lavfi -i testsrc=size=320x240:rate=25 -f lavfi -i sine=sample_rate=48000 -t 0.4 "
      "-c:v mpeg4 -c:a pcm_s16le");
  task.VideoCodecName = "mpeg4";
  task.AudioDisable = true;
  ASSERT_TRUE(task.OpenInputFile(clip)) << task.LastError;
  AVFormatContext* file = task.InputFiles[0].get();
  ASSERT_EQ(file->nb_streams, 2u);
  ASSERT_EQ(task.InputCodecs.size(), 2u);
  EXPECT_EQ(task.InputCodecs[0], ff::avcodec_find_decoder_by_name("mpeg4"));
  EXPECT_EQ(task.InputCodecs[1], nullptr);
  EXPECT_EQ(file->streams[0]->discard, AVDISCARD_DEFAULT);
  EXPECT_EQ(file->streams[1]->discard, AVDISCARD_ALL);
}

TEST_F(InputFiles, EveryAttemptEndsThePerInputOptions) {
  struct Case {
    const char* video;
    const char* audio;
    bool opens;
    const char* error;
  };
  const Case cases[] = {
      {"mpeg4", "", true, ""},
      {"nosuch", "", false, "Unknown decoder 'nosuch'"},
      {"", "h264", false, "Invalid decoder type 'h264'"},
  };
  for (const Case& c : cases) {
    task.VideoCodecName = c.video;
    task.AudioCodecName = c.audio;
    task.SubtitleCodecName = "";
    task.VideoChannel = 3;
    task.InputFormat = ff::av_find_input_format("mov");
    task.OutputFormat = ff::av_guess_format("mp4", nullptr, nullptr);
    task.LastError.clear();
    EXPECT_EQ(task.OpenInputFile(PalClip()), c.opens) << c.video << c.audio;
    EXPECT_EQ(task.LastError, c.error);
    EXPECT_EQ(task.InputFormat, nullptr);
    EXPECT_EQ(task.OutputFormat, nullptr);
    EXPECT_EQ(task.VideoChannel, 0);
    EXPECT_TRUE(task.VideoCodecName.empty());
    EXPECT_TRUE(task.AudioCodecName.empty());
  }
  EXPECT_EQ(task.InputFiles.size(), 1u);
}

TEST_F(InputFiles, UnreadableSourcesGiveTheOpenErrorText) {
  const std::string missing = test::FixturePath("no-such-source.mp4");
  EXPECT_FALSE(task.OpenInputFile(missing));
  EXPECT_EQ(task.LastError, OpenErrorText(missing, AVERROR(ENOENT)));

  const std::string text = test::WriteFixture("notes.xyz", "These are notes, not a movie.\n");
  EXPECT_FALSE(task.OpenInputFile(text));
  EXPECT_EQ(task.LastError, OpenErrorText(text, UnknownFormatError()));
  EXPECT_TRUE(task.InputFiles.empty());
  EXPECT_TRUE(task.InputTsOffsets.empty());
  EXPECT_TRUE(task.InputCodecs.empty());
}

TEST_F(InputFiles, CodecLookUpMapsOldNamesAndChecksTheKind) {
  struct Case {
    std::string name;
    int type;
    bool encoder;
    bool found;
    int id;
    std::string error;
  };
  const Case cases[] = {
      {"", AVMEDIA_TYPE_VIDEO, true, true, AV_CODEC_ID_NONE, ""},
      {"mpeg4", AVMEDIA_TYPE_VIDEO, true, true, AV_CODEC_ID_MPEG4, ""},
      {"libfaac", AVMEDIA_TYPE_AUDIO, true, true, AV_CODEC_ID_AAC, ""},
      {"mpeg4aac", AVMEDIA_TYPE_AUDIO, true, true, AV_CODEC_ID_AAC, ""},
      {"nosuch", AVMEDIA_TYPE_VIDEO, true, false, 0, "Unknown encoder 'nosuch'"},
      {"mpeg4", AVMEDIA_TYPE_AUDIO, true, false, 0, "Invalid encoder type 'mpeg4'"},
      {"aac", AVMEDIA_TYPE_SUBTITLE, false, false, 0, "Invalid decoder type 'aac'"},
  };
  for (const Case& c : cases) {
    task.LastError.clear();
    int id = -1;
    EXPECT_EQ(task.FindCodec(c.name, c.type, c.encoder, id), c.found) << c.name;
    EXPECT_EQ(task.LastError, c.error) << c.name;
    if (c.found) {
      EXPECT_EQ(id, c.id) << c.name;
    }
  }
  EXPECT_TRUE(log.empty());
}

TEST_F(InputFiles, AmrNbFallsBackToAacWithAWarning) {
  int id = 0;
  ASSERT_TRUE(task.FindCodec("libamr_nb", AVMEDIA_TYPE_AUDIO, true, id)) << task.LastError;
  if (ff::avcodec_find_encoder_by_name("libopencore_amrnb")) {
    EXPECT_EQ(id, AV_CODEC_ID_AMR_NB);
    EXPECT_TRUE(log.empty());
  } else {
    EXPECT_EQ(id, AV_CODEC_ID_AAC);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].first, 0);
    EXPECT_EQ(log[0].second, "AMR-NB encoder libopencore_amrnb not available, using aac");
  }
}

TEST_F(InputFiles, StreamKindsOfAllInputs) {
  bool video = true, audio = false, subtitle = true;
  task.CheckInputStreamTypes(video, audio, subtitle);
  EXPECT_FALSE(video || audio || subtitle);
  ASSERT_TRUE(task.OpenInputFile(ToneClip())) << task.LastError;
  ASSERT_TRUE(task.OpenInputFile(PalClip())) << task.LastError;
  task.CheckInputStreamTypes(video, audio, subtitle);
  EXPECT_TRUE(video);
  EXPECT_TRUE(audio);
  EXPECT_FALSE(subtitle);
}

}  // namespace
}  // namespace trovenix
