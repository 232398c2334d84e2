#include <filesystem>
#include <fstream>
#include <sstream>

#include "TaskFixture.h"

namespace fs = std::filesystem;

namespace trovenix {
namespace {

// One stream's facts as ffprobe reads them.
struct TProbed {
  std::string Codec;
  int Width = 0, Height = 0;
  std::string FrameRate;
  int SampleRate = 0, Channels = 0;
  int Packets = 0;
};

std::vector<TProbed> ProbeStreams(const std::string& file) {
  const auto result = test::RunCommand(
      "ffprobe -v error -count_packets -show_entries "
      "stream=codec_name,width,height,r_frame_rate,sample_rate,channels,nb_read_packets "
      "-of default=nw=0 " + test::ShellQuote(file));
  std::vector<TProbed> streams;
  std::istringstream lines(result.Output);
  std::string line;
  while (std::getline(lines, line)) {
    if (line == "[STREAM]") streams.emplace_back();
    const auto eq = line.find('=');
    if (eq == std::string::npos || streams.empty()) continue;
    const std::string key = line.substr(0, eq), value = line.substr(eq + 1);
    TProbed& s = streams.back();
    const auto number = [&] { return value == "N/A" ? 0 : std::stoi(value); };
    if (key == "codec_name") s.Codec = value;
    if (key == "width") s.Width = number();
    if (key == "height") s.Height = number();
    if (key == "r_frame_rate") s.FrameRate = value;
    if (key == "sample_rate") s.SampleRate = number();
    if (key == "channels") s.Channels = number();
    if (key == "nb_read_packets") s.Packets = number();
  }
  return streams;
}

std::string Source() {
  return test::MakeClip("h264-aac48-2s.mp4",
                        "-f lavfi -i testsrc=size=320x240:rate=25 -f lavfi "
                        "-i sine=frequency=440:sample_rate=48000 -ac 2 -t 2 -c:v libx264 "
                        "-preset ultrafast -c:a aac -shortest");
}

class Reencode : public test::TaskTest {
 protected:
  std::string Convert(const std::string& input, const std::string& name,
                      const std::vector<std::pair<std::string, std::string>>& options) {
    return ConvertInto("reencode-out", input, name, options);
  }
};

TEST_F(Reencode, ContainersAndCodecsGetWhatWasAsked) {
  const struct {
    const char* file;
    std::vector<std::pair<std::string, std::string>> options;
    TProbed video, audio;
  } cases[] = {
      {"mpeg4-aac.mp4",
       {{"vcodec", "mpeg4"}, {"acodec", "aac"}, {"s", "320x240"}, {"r", "25"}, {"ar", "44100"}},
       {"mpeg4", 320, 240, "25/1"}, {"aac", 0, 0, "", 44100, 2}},
      {"mpeg1-mp2.mpg",
       {{"vcodec", "mpeg1video"}, {"acodec", "mp2"}, {"s", "176x144"}, {"ar", "44100"}},
       {"mpeg1video", 176, 144, "25/1"}, {"mp2", 0, 0, "", 44100, 2}},
      {"wmv2-wma.asf",
       {{"vcodec", "wmv2"}, {"acodec", "wmav2"}, {"ar", "44100"}, {"b", "400000"}},
       {"wmv2", 320, 240, "25/1"}, {"wmav2", 0, 0, "", 44100, 2}},
      {"x264-aac.mp4", {{"vcodec", "libx264"}, {"acodec", "aac"}, {"ar", "48000"}},
       {"h264", 320, 240, "25/1"}, {"aac", 0, 0, "", 48000, 2}},
  };
  for (const auto& c : cases) {
    const auto streams = ProbeStreams(Convert(Source(), c.file, c.options));
    ASSERT_EQ(streams.size(), 2u) << c.file;
    EXPECT_EQ(streams[0].Codec, c.video.Codec) << c.file;
    EXPECT_EQ(streams[0].Width, c.video.Width) << c.file;
    EXPECT_EQ(streams[0].Height, c.video.Height) << c.file;
    EXPECT_EQ(streams[0].FrameRate, c.video.FrameRate) << c.file;
    EXPECT_NEAR(streams[0].Packets, 50, 1) << c.file;
    EXPECT_EQ(streams[1].Codec, c.audio.Codec) << c.file;
    EXPECT_EQ(streams[1].SampleRate, c.audio.SampleRate) << c.file;
    EXPECT_EQ(streams[1].Channels, c.audio.Channels) << c.file;
  }
}

TEST_F(Reencode, AudioOnlyOutputs) {
  const std::string mono = test::MakeClip("mono-22k.wav", "-f lavfi -i sine=sample_rate=22050 -ac 1 -t 1");
  const struct {
    std::string input;
    const char* file;
    std::vector<std::pair<std::string, std::string>> options;
    TProbed audio;
  } cases[] = {
      {Source(), "lame.mp3", {{"acodec", "libmp3lame"}, {"ar", "48000"}}, {"mp3", 0, 0, "", 48000, 2}},
      {Source(), "adts.aac", {{"acodec", "aac"}, {"ar", "44100"}}, {"aac", 0, 0, "", 44100, 2}},
      {mono, "stereo.wav", {{"ac", "2"}, {"ar", "22050"}}, {"pcm_s16le", 0, 0, "", 22050, 2}},
  };
  for (const auto& c : cases) {
    const auto streams = ProbeStreams(Convert(c.input, c.file, c.options));
    ASSERT_EQ(streams.size(), 1u) << c.file;
    EXPECT_EQ(streams[0].Codec, c.audio.Codec) << c.file;
    EXPECT_EQ(streams[0].SampleRate, c.audio.SampleRate) << c.file;
    EXPECT_EQ(streams[0].Channels, c.audio.Channels) << c.file;
  }
}

TEST_F(Reencode, PcmInAviTakesOnePacketPerDecodedBuffer) {
  // AAC buffers hold 1024 samples, which the AVI reader does not split, so
  // each packet read back is one written.
  const std::string input =
      test::MakeClip("aac-mono-1s.aac", "-f lavfi -i sine=sample_rate=22050 -ac 1 -t 1 -c:a aac");
  const int decoded = ProbeStreams(input).at(0).Packets;
  const auto streams = ProbeStreams(Convert(input, "pcm.avi", {{"acodec", "pcm_s16le"}}));
  ASSERT_EQ(streams.size(), 1u);
  EXPECT_EQ(streams[0].Codec, "pcm_s16le");
  EXPECT_NEAR(streams[0].Packets, decoded, 1);
}

TEST_F(Reencode, FrameRateSyncDropsAndDuplicates) {
  const std::string ntsc = test::MakeClip(
      "ntsc-2s.mp4", "-f lavfi -i testsrc=size=160x120:rate=30000/1001 -t 2 -c:v mpeg4");
  const std::string slow =
      test::MakeClip("15fps-2s.mp4", "-f lavfi -i testsrc=size=160x120:rate=15 -t 2 -c:v mpeg4");
  auto streams = ProbeStreams(Convert(ntsc, "from-ntsc.avi", {{"vcodec", "mpeg4"}, {"r", "25"}}));
  EXPECT_NEAR(streams.at(0).Packets, 50, 1);
  EXPECT_GT(task.FramesDropped, 0);
  // The last input picture, at 29/15 s, is held until 2 s.
  streams = ProbeStreams(Convert(slow, "from-15.avi", {{"vcodec", "mpeg4"}, {"r", "25"}}));
  EXPECT_NEAR(streams.at(0).Packets, 50, 1);
  EXPECT_GT(task.FramesDuplicated, 0);
}

TEST_F(Reencode, CropPadAndScaleGiveTheRequestedSize) {
  const auto streams = ProbeStreams(Convert(
      Source(), "boxed.avi",
      {{"vcodec", "mpeg4"}, {"an", ""}, {"croptop", "20"}, {"cropbottom", "20"}, {"s", "160x100"},
       {"padtop", "10"}, {"padbottom", "10"}, {"padcolor", "255"}}));
  ASSERT_EQ(streams.size(), 1u);
  EXPECT_EQ(streams[0].Width, 160);
  EXPECT_EQ(streams[0].Height, 120);
}

// Each scaled picture has a buffer of its own while the encoder holds it:
// MPEG-4 with B-frames keeps several pictures before it codes them, and the
// buffers the task scales into are reused once it lets them go. A picture
// drawn over while held would show as a picture of another moment.
TEST_F(Reencode, ScaledPicturesHeldByTheEncoderAreNotDrawnOver) {
  const std::string output =
      Convert(Source(), "held.avi",
              {{"vcodec", "mpeg4"}, {"bf", "2"}, {"qscale", "2"}, {"s", "640x480"}, {"an", ""}});
  const std::string stats = output + ".psnr";
  test::RunCommand("ffmpeg -v error -y -i " + test::ShellQuote(output) + " -i " +
                   test::ShellQuote(Source()) + " -lavfi \"[1:v]scale=640:480[r];[0:v][r]psnr=stats_file=" +
                   stats + "\" -f null -");
  std::ifstream lines(stats);
  std::string line;
  int frames = 0, poor = 0;
  while (std::getline(lines, line)) {
    const auto at = line.find("psnr_avg:");
    if (at == std::string::npos) continue;
    ++frames;
    // One picture-to-picture step of the test pattern costs about 7 dB.
    if (std::stod(line.substr(at + 9)) < 40.0) ++poor;
  }
  EXPECT_EQ(frames, 50);
  EXPECT_LE(poor, 2) << "pictures unlike the source's picture of the same moment";
}

TEST_F(Reencode, TwoPassReachesTheTarget) {
  const std::string prefix = (fs::path(test::FixturePath("reencode-out")) / "twopass").string();
  fs::create_directories(fs::path(prefix).parent_path());
  const std::vector<std::pair<std::string, std::string>> common{
      {"vcodec", "mpeg4"}, {"an", ""}, {"b", "200000"}, {"passlogfile", prefix}};
  auto first = common;
  first.emplace_back("pass", "1");
  Convert(Source(), "pass1.avi", first);
  ASSERT_TRUE(fs::exists(prefix + "-0.log"));
  EXPECT_GT(fs::file_size(prefix + "-0.log"), 0u);
  auto second = common;
  second.emplace_back("pass", "2");
  const std::string output = Convert(Source(), "pass2.avi", second);
  // Two seconds are too few to reach the rate; the second pass still spends
  // clearly fewer bits than the first, which had no statistics to go by.
  EXPECT_LT(fs::file_size(output) * 10, fs::file_size(test::FixturePath("reencode-out/pass1.avi")) * 9);
}

}  // namespace
}  // namespace trovenix
