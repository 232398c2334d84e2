#include <string>

#include "HandlerExpect.h"
#include "TaskFixture.h"

namespace trovenix {
namespace {

using CodecOptions = test::TaskTest;
using test::ExpectFailure;

TEST_F(CodecOptions, CopyStaysWhenACodecIsNamedLater) {
  task.SetAudioCodec("copy");
  EXPECT_EQ(task.AudioStreamCopy, 1);
  EXPECT_EQ(task.AudioCodecName, "");
  task.SetAudioCodec("mp2");
  EXPECT_EQ(task.AudioStreamCopy, 1);
  EXPECT_EQ(task.AudioCodecName, "mp2");
  task.SetAudioCodec("");
  EXPECT_EQ(task.AudioCodecName, "mp2");
  task.SetAudioCodec("copy");  // replaces the name
  EXPECT_EQ(task.AudioCodecName, "");

  task.SetVideoCodec("mpeg4");
  task.SetSubtitleCodec("copy");
  EXPECT_EQ(task.VideoCodecName, "mpeg4");
  EXPECT_EQ(task.VideoStreamCopy, 0);
  EXPECT_EQ(task.SubtitleStreamCopy, 1);
  EXPECT_EQ(task.SubtitleCodecName, "");
  task.SetVideoCodec("nosuchcodec");  // checked when the stream is made
  EXPECT_EQ(task.VideoCodecName, "nosuchcodec");
}

TEST_F(CodecOptions, TagsAreFourCharactersFirstLowest) {
  task.SetAudioTag("mp4a");
  EXPECT_EQ(task.AudioCodecTag, 1630826605);
  task.SetVideoTag("XVID");
  EXPECT_EQ(task.VideoCodecTag, 0x44495658);
  task.SetVideoTag("\xff\xff\xff\xff");
  EXPECT_EQ(task.VideoCodecTag, -1);
  task.SetVideoTag("");
  EXPECT_EQ(task.VideoCodecTag, -1);

  for (const char* bad : {"mp4", "mp4av"}) {
    ExpectFailure<EAssertionFailed>([&] { task.SetAudioTag(bad); },
                                    "audio tag parameter must be 4 chars", bad);
    ExpectFailure<EAssertionFailed>([&] { task.SetVideoTag(bad); },
                                    "video tag parameter must be 4 chars", bad);
  }
  EXPECT_EQ(task.AudioCodecTag, 1630826605);
}

TEST_F(CodecOptions, LowBitRatesAreWarnedAbout) {
  const std::string warning =
      "WARNING: The bitrate parameter is set too low. It takes bits/s as argument, not kbits/s";
  const struct {
    const char* name;
    const char* value;
    bool set;
    bool warned;
  } cases[] = {
      {"b", "64", true, true},  {"b", "64000", true, false},   {"vb", "999", true, true},
      {"ab", "64", true, true}, {"ab", "128000", true, false}, {"b", "", false, false},
      {"", "64", false, false}, {"b", "fast", false, false},
  };
  for (const auto& c : cases) {
    task.ResetOptions();
    log.clear();
    EXPECT_EQ(task.SetBitRate(c.name, c.value), c.set) << c.name << "=" << c.value;
    EXPECT_EQ(Logged(warning), c.warned) << c.name << "=" << c.value;
  }
  // The audio rate is checked on the audio defaults: a low video rate set
  // earlier does not make a good audio rate look low.
  task.ResetOptions();
  task.SetBitRate("b", "64");
  log.clear();
  task.SetBitRate("ab", "128000");
  EXPECT_FALSE(Logged(warning));
}

TEST_F(CodecOptions, BitstreamFiltersJoinTheChainOfTheirType) {
  task.AddBitstreamFilter("vbsf", "h264_mp4toannexb");
  task.AddBitstreamFilter("vbsf", "dump_extra=k");  // arguments are not kept
  task.AddBitstreamFilter("absf", "aac_adtstoasc");
  task.AddBitstreamFilter("sbsf", "null");
  task.AddBitstreamFilter("xbsf", "noise");  // anything else: subtitles
  task.AddBitstreamFilter("vbsf", "");
  task.AddBitstreamFilter("vbsf", "=h264_mp4toannexb");
  task.AddBitstreamFilter("", "null");
  EXPECT_EQ(task.VideoBitstreamFilters,
            (std::vector<std::string>{"h264_mp4toannexb", "dump_extra"}));
  EXPECT_EQ(task.AudioBitstreamFilters, std::vector<std::string>{"aac_adtstoasc"});
  EXPECT_EQ(task.SubtitleBitstreamFilters, (std::vector<std::string>{"null", "noise"}));

  ExpectFailure<FFmpegException>([&] { task.AddBitstreamFilter("vbsf", "x"); },
                                 "Unknown bitstream filter x");
  ExpectFailure<FFmpegException>([&] { task.AddBitstreamFilter("absf", " nosuch=1 "); },
                                 "Unknown bitstream filter nosuch=1");
  EXPECT_EQ(task.VideoBitstreamFilters.size(), 2u);
  EXPECT_EQ(task.AudioBitstreamFilters.size(), 1u);
}

std::string Coefficients(int count, int first = 1) {
  std::string text;
  // Appended in place: GCC 12 at -O3 warns (-Wrestrict) about "," + to_string(...).
  for (int i = 0; i < count; ++i) text.append(i ? "," : "").append(std::to_string(first + i));
  return text;
}

TEST_F(CodecOptions, MatricesTakeSixtyFourCoefficients) {
  task.SetInterMatrix(Coefficients(64));
  ASSERT_TRUE(task.InterMatrix.has_value());
  for (int i = 0; i < 64; ++i) EXPECT_EQ((*task.InterMatrix)[i], i + 1) << i;
  EXPECT_FALSE(task.IntraMatrix.has_value());

  // Spaces before a number are skipped, anything after it up to the comma is
  // not read, and what follows the 64th entry is ignored.
  task.SetIntraMatrix(" 8, 9x," + Coefficients(62, 10) + ",99,100");
  ASSERT_TRUE(task.IntraMatrix.has_value());
  EXPECT_EQ((*task.IntraMatrix)[0], 8);
  EXPECT_EQ((*task.IntraMatrix)[1], 9);
  EXPECT_EQ((*task.IntraMatrix)[63], 71);

  const std::string ten = Coefficients(10, 50);
  ExpectFailure<FFmpegException>([&] { task.SetInterMatrix(ten); },
                                 "Syntax error in matrix \"" + ten + "\" at coeff 9");
  EXPECT_EQ((*task.InterMatrix)[0], 1);  // the earlier matrix stands
  ExpectFailure<FFmpegException>([&] { task.SetIntraMatrix(""); },
                                 "Syntax error in matrix \"\" at coeff 0");
}

}  // namespace
}  // namespace trovenix
