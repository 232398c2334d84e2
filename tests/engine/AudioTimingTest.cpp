// Encoded audio is timed by the samples sent, whatever the decoded chunks'
// own times say; only a real gap in the input moves the count.
#include <filesystem>
#include <sstream>

#include "TaskFixture.h"

namespace fs = std::filesystem;

namespace trovenix {
namespace {

// Vorbis in Matroska: short and long blocks alternate (the clicks force short
// ones), and the 1 ms time base rounds every block's time.
std::string VorbisClip() {
  return test::MakeClip(
      "vorbis-blocks-2s.mkv",
      "-f lavfi -i \"aevalsrc='sin(2*PI*440*t)*if(lt(mod(t,0.35),0.05),1,0.3)+"
      "0.5*if(lt(mod(t,0.35),0.003),random(0)*2-1,0)':s=48000:d=2\" -ac 2 -c:a libvorbis -q:a 3");
}

// Two seconds of sound whose second half is stamped one second late.
std::string GapClip() {
  return test::MakeClip("vorbis-gap-3s.mkv",
                        "-f lavfi -i sine=d=2:sample_rate=48000 -af \"asetpts='PTS+gte(T,1)/TB'\" "
                        "-c:a libvorbis");
}

// Presentation and decoding times of the first audio stream's packets, in seconds.
struct TPacketTime {
  double Pts = 0, Dts = 0;
};
std::vector<TPacketTime> AudioPacketTimes(const std::string& file) {
  const auto result = test::RunCommand(
      "ffprobe -v error -select_streams a:0 -show_entries packet=pts_time,dts_time -of csv=p=0 " +
      test::ShellQuote(file));
  std::vector<TPacketTime> times;
  std::istringstream lines(result.Output);
  std::string line;
  while (std::getline(lines, line)) {
    const auto comma = line.find(',');
    if (comma == std::string::npos) continue;
    const std::string pts = line.substr(0, comma), dts = line.substr(comma + 1);
    times.push_back({pts == "N/A" ? -1.0 : std::stod(pts), dts == "N/A" ? -1.0 : std::stod(dts)});
  }
  return times;
}

class AudioTiming : public test::TaskTest {
 protected:
  // Converts and returns the output's path; the task must succeed.
  std::string Convert(const std::string& input, const std::string& name,
                      const std::vector<std::pair<std::string, std::string>>& options) {
    return ConvertInto("audio-timing", input, name, options);
  }
};

TEST_F(AudioTiming, PacketTimesAdvanceInEveryContainer) {
  const struct {
    const char* file;
    std::vector<std::pair<std::string, std::string>> options;
  } cases[] = {
      {"mp3.avi", {{"acodec", "libmp3lame"}}},  // refused a standing time before
      {"mp3-sync.avi", {{"acodec", "libmp3lame"}, {"async", "1"}}},
      {"mp3-compensated.avi", {{"acodec", "libmp3lame"}, {"async", "100"}}},
      {"mp3.mka", {{"acodec", "libmp3lame"}}},
      {"aac.mp4", {{"acodec", "aac"}}},
      {"aac-44k.mov", {{"acodec", "aac"}, {"ar", "44100"}}},
      {"mp2.ts", {{"acodec", "mp2"}}},
  };
  for (const auto& c : cases) {
    const std::string output = Convert(VorbisClip(), c.file, c.options);
    const auto times = AudioPacketTimes(output);
    ASSERT_GT(times.size(), 20u) << c.file;
    for (std::size_t i = 1; i < times.size(); ++i) {
      ASSERT_GT(times[i].Dts, times[i - 1].Dts) << c.file << ", packet " << i;
      ASSERT_GT(times[i].Pts, times[i - 1].Pts) << c.file << ", packet " << i;
    }
    EXPECT_NEAR(test::ProbeDurationSeconds(output), 2.0, 0.15) << c.file;
  }
}

TEST_F(AudioTiming, ARealGapMovesTheCountOrIsFilled) {
  // Without sync the times jump across the gap; with it, silence fills it.
  const auto times = AudioPacketTimes(Convert(GapClip(), "gap.mka", {{"acodec", "libmp3lame"}}));
  ASSERT_GT(times.size(), 40u);
  double widest = 0;
  for (std::size_t i = 1; i < times.size(); ++i) {
    ASSERT_GT(times[i].Pts, times[i - 1].Pts) << "packet " << i;
    widest = std::max(widest, times[i].Pts - times[i - 1].Pts);
  }
  EXPECT_NEAR(widest, 1.024, 0.05);  // one second and one frame
  EXPECT_NEAR(times.back().Pts, 3.0, 0.1);

  const std::string filled =
      Convert(GapClip(), "filled.mka", {{"acodec", "libmp3lame"}, {"async", "1"}});
  const auto steps = AudioPacketTimes(filled);
  for (std::size_t i = 1; i < steps.size(); ++i)
    ASSERT_NEAR(steps[i].Pts - steps[i - 1].Pts, 0.024, 0.002) << "packet " << i;
  EXPECT_NEAR(test::ProbeDurationSeconds(filled), 3.0, 0.1);
}

}  // namespace
}  // namespace trovenix
