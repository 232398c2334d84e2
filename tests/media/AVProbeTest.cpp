#include "media/AVProbe.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "media/AVCodecStubs.h"
#include "media/AVFormatStubs.h"
#include "support/Fixtures.h"
#include "support/LogCapture.h"

namespace trovenix {
namespace {

using test::MakeClip;

std::string PalClip() {
  return MakeClip("pal-16x15.mp4",
                  "-f lavfi -i testsrc=size=720x576:rate=25 -t 0.4 -vf setsar=16/15 -c:v mpeg4 "
                  "-metadata title=Testcard -metadata artist=Trovenix");
}
std::string UnknownAspectClip() {
  return MakeClip("unknown-sar.nut",
                  "-f lavfi -i testsrc=size=160x120:rate=25 -t 0.2 -vf setsar=0 -c:v rawvideo "
                  "-pix_fmt yuv420p");
}
std::string AudioClip() {
  return MakeClip("tone.mp2", "-f lavfi -i sine=frequency=440:duration=1.5 -c:a mp2");
}

class AVProbeTest : public ::testing::Test {
 protected:
  void SetUp() override { test::LoadLibrariesOrFail(); }
  TAVProbe probe;
};

TEST_F(AVProbeTest, EmptyProbeKnowsNothing) {
  EXPECT_EQ(probe.FormatContext(), nullptr);
  for (int count : {probe.StreamCount(), probe.ProgramCount(), probe.AudioStreamCount(),
                    probe.VideoStreamCount(), probe.SubtitleStreamCount(), probe.FirstAudioStream(),
                    probe.FirstVideoStream(), probe.FirstSubtitleStream()})
    EXPECT_EQ(count, -1);

  test::LogCapture log;
  TFileStreamInfo file;
  file.Duration = 99;
  probe.GetFileStreamInfo(file);
  EXPECT_EQ(file.Duration, -1);
  TVideoStreamInfo video;
  video.Width = 99;
  probe.GetVideoStreamInfo(-1, video);
  EXPECT_EQ(video.Width, -1);
  EXPECT_EQ(video.AspectRatio, -1.0f);
  EXPECT_EQ(log.Lines().size(), 2u);
  EXPECT_TRUE(log.Contains(1, "file not loaded.\n"));
}

TEST_F(AVProbeTest, VideoFileWithSampleAspect) {
  const std::string path = PalClip();
  ASSERT_TRUE(probe.LoadFile(path)) << probe.LastError();
  EXPECT_TRUE(probe.OwnsContext());
  EXPECT_EQ(probe.StreamCount(), 1);
  EXPECT_EQ(probe.VideoStreamCount(), 1);
  EXPECT_EQ(probe.AudioStreamCount(), 0);
  EXPECT_EQ(probe.FirstVideoStream(), 0);
  EXPECT_EQ(probe.FirstAudioStream(), -1);

  TVideoStreamInfo video;
  probe.GetVideoStreamInfo(-1, video);
  EXPECT_EQ(video.Width, 720);
  EXPECT_EQ(video.Height, 576);
  EXPECT_EQ(video.AspectRatio, 1.3333334f);
  EXPECT_EQ(video.FrameRateNum, 25);
  EXPECT_EQ(video.FrameRateDen, 1);
  EXPECT_EQ(video.PixFmt, AV_PIX_FMT_YUV420P);
  EXPECT_EQ(video.CodecName.rfind("mpeg4(", 0), 0u) << video.CodecName;
  EXPECT_EQ(video.StartTimeUs, 0);
  EXPECT_NEAR(static_cast<double>(video.DurationUs), 400000.0, 1000.0);

  TFileStreamInfo file;
  probe.GetFileStreamInfo(file);
  EXPECT_NEAR(static_cast<double>(file.Duration), 400000.0, 1000.0);
  EXPECT_EQ(file.StartTime, 0);
  EXPECT_GT(file.BitRate, 0);
  EXPECT_EQ(file.Title, "Testcard");
  EXPECT_EQ(file.Author, "Trovenix");
  EXPECT_EQ(file.Album, "");
}

TEST_F(AVProbeTest, UnknownSampleAspectGivesZeroAspectRatio) {
  ASSERT_TRUE(probe.LoadFile(UnknownAspectClip())) << probe.LastError();
  TVideoStreamInfo video;
  probe.GetVideoStreamInfo(0, video);
  EXPECT_EQ(video.Width, 160);
  EXPECT_EQ(video.AspectRatio, 0.0f);
}

// A phone's display matrix: the size and aspect are of the picture as seen.
TEST_F(AVProbeTest, DisplayRotationGivesTheSizeAsSeen) {
  const std::string plain =
      MakeClip("landscape-2x1.mp4",
               "-f lavfi -i testsrc=size=160x80:rate=25 -t 0.2 -vf setsar=1 -c:v mpeg4");
  const struct {
    int Rotate;  // the "rotate" tag the muxer turns into a display matrix
    int Degrees, Width, Height;
    float Aspect;
  } cases[] = {
      {0, 0, 160, 80, 2.0f},
      {90, 270, 80, 160, 0.5f},
      {180, 180, 160, 80, 2.0f},
      {270, 90, 80, 160, 0.5f},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Rotate);
    const std::string path =
        MakeClip("rotated-" + std::to_string(c.Rotate) + ".mp4",
                 "-i " + test::ShellQuote(plain) +
                     " -c copy -metadata:s:v:0 rotate=" + std::to_string(c.Rotate));
    ASSERT_TRUE(probe.LoadFile(path)) << probe.LastError();
    TVideoStreamInfo video;
    probe.GetVideoStreamInfo(-1, video);
    EXPECT_EQ(video.Rotation, c.Degrees);
    EXPECT_EQ(video.Width, c.Width);
    EXPECT_EQ(video.Height, c.Height);
    EXPECT_FLOAT_EQ(video.AspectRatio, c.Aspect);
  }
}

TEST_F(AVProbeTest, AudioOnlyFileHasNoVideo) {
  ASSERT_TRUE(probe.LoadFile(AudioClip())) << probe.LastError();
  EXPECT_EQ(probe.VideoStreamCount(), 0);
  EXPECT_EQ(probe.AudioStreamCount(), 1);
  EXPECT_EQ(probe.FirstVideoStream(), -1);
  EXPECT_EQ(probe.FirstAudioStream(), 0);

  test::LogCapture log;
  TVideoStreamInfo video;
  probe.GetVideoStreamInfo(-1, video);
  EXPECT_EQ(video.Width, -1);
  EXPECT_EQ(video.Height, -1);
  EXPECT_TRUE(log.Contains(0, "no video stream.\n"));

  probe.GetVideoStreamInfo(0, video);
  EXPECT_TRUE(log.Contains(0, "stream #0 is not video stream.\n"));
  probe.GetVideoStreamInfo(probe.StreamCount(), video);
  EXPECT_TRUE(log.Contains(0, "stream index #1 is invalid.\n"));
  EXPECT_EQ(video.Width, -1);

  TFileStreamInfo file;
  probe.GetFileStreamInfo(file);
  EXPECT_NEAR(static_cast<double>(file.Duration), 1500000.0, 60000.0);
}

TEST_F(AVProbeTest, CoverArtIsNotCountedAsVideo) {
  const std::string cover = MakeClip("cover.png", "-f lavfi -i testsrc=size=64x64 -frames:v 1");
  const std::string song = MakeClip(
      "with-cover.mp3", "-f lavfi -i sine=duration=0.5 -i " + test::ShellQuote(cover) +
                            " -map 0:a -map 1:v -c:a libmp3lame -c:v copy -disposition:v attached_pic");
  ASSERT_TRUE(probe.LoadFile(song)) << probe.LastError();
  EXPECT_EQ(probe.StreamCount(), 2);
  EXPECT_EQ(probe.AudioStreamCount(), 1);
  EXPECT_EQ(probe.VideoStreamCount(), 0);
  EXPECT_EQ(probe.FirstVideoStream(), -1);
}

TEST_F(AVProbeTest, BadInputGivesTheMatchingText) {
  namespace fs = std::filesystem;
  const std::string full = MakeClip("whole.mp4", "-f lavfi -i testsrc=size=160x120:rate=25 -t 1 -c:v mpeg4");
  std::string head(4000, '\0');
  std::ifstream(full, std::ios::binary).read(head.data(), static_cast<std::streamsize>(head.size()));
  const std::string folder = test::FixturePath("a-folder.mp4");
  fs::create_directories(folder);
  const struct {
    std::string path;
    std::string text;
  } cases[] = {
      {test::FixturePath("missing.avi"), ": no such file or directory"},
      {folder, ": Error while opening file"},
      {test::WriteFixture("empty.mp4", ""), ": Unknown format"},
      {test::WriteFixture("notes.txt", "Shopping list\nmilk\nbread\n"), ": Unknown format"},
      {test::WriteFixture("truncated.mp4", head), ": Error while parsing header"},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(probe.LoadFile(c.path)) << c.path;
    EXPECT_EQ(probe.LastError(), c.path + c.text);
    EXPECT_EQ(probe.StreamCount(), -1);
    EXPECT_EQ(probe.FormatContext(), nullptr);
  }
}

TEST_F(AVProbeTest, ForcedFormat) {
  EXPECT_FALSE(probe.LoadFile(AudioClip(), "no-such-format"));
  EXPECT_EQ(probe.LastError(), "Unknown input format: no-such-format");

  ASSERT_TRUE(probe.LoadFile(AudioClip(), "mp3")) << probe.LastError();
  EXPECT_EQ(probe.FormatName(), "mp3");
  probe.Close();
  EXPECT_EQ(probe.FormatName(), "");
}

TEST_F(AVProbeTest, AttachedContextStaysOpenAfterClose) {
  AVFormatContext* context = nullptr;
  ASSERT_EQ(ff::avformat_open_input(&context, AudioClip().c_str(), nullptr, nullptr), 0);
  InputContextPtr opened(context);
  ASSERT_EQ(ff::avformat_find_stream_info(context, nullptr), 0);

  probe.SetFormatContext(context);
  EXPECT_FALSE(probe.OwnsContext());
  EXPECT_EQ(probe.AudioStreamCount(), 1);
  probe.Close();
  EXPECT_EQ(probe.StreamCount(), -1);

  // Still usable: the probe did not close it.
  PacketPtr packet(ff::av_packet_alloc());
  EXPECT_EQ(ff::av_read_frame(context, packet.get()), 0);
}

TEST(AVProbeLibraries, ProbeRefusesToWorkWithoutLibraries) {
  TFFmpegLoader& loader = FFLoader();
  loader.UnloadLibrarySet(EngineLibraries);
  TAVProbe probe;
  try {
    probe.LoadFile("any.avi");
    ADD_FAILURE() << "no exception";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "LibAVCodec not loaded.");
  }
  loader.SetLibraryPath("");
  ASSERT_TRUE(loader.LoadLibrarySet({liAVCodec, liAVFormat, liAVUtil}));
  EXPECT_THROW(probe.SetFormatContext(nullptr), std::runtime_error);
  try {
    TCustomAVProbe::CheckLibraries();
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "LibSwScale not loaded.");
  }
}

}  // namespace
}  // namespace trovenix
