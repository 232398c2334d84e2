// Option building: the engine's output options from the selected choices.
#include <gtest/gtest.h>

#include "profiles/FormatCatalogue.h"
#include "profiles/OptionBuilders.h"
#include "profiles/VolumeControl.h"

namespace trovenix {
namespace {

TProfileState WithFormat(int position) {
  TProfileState state = MakeStartUpState();
  ComboOutputFormatChange(state);
  SelectFormat(state, position);
  return state;
}

// What the batch driver asks of the profiles for one file.
TOutputOptions Built(const TProfileState& state) {
  TOutputOptions options;
  BuildOutputOptions(state, options);
  options.FrameRate = SelectedFrameRate(state);
  return options;
}

void Choose(TProfileState& state, const std::string& control, const std::string& item) {
  std::string error;
  ASSERT_TRUE(ChooseItem(state, control, item, error)) << error;
}

struct Expected {
  std::string videoCodec, audioCodec, frameSize;
  int videoBitrate, audioBitrate, sampleRate, channels;
  bool disableVideo;
  std::string frameRate;
};

void ExpectOptions(const TOutputOptions& o, const Expected& e, const std::string& what) {
  EXPECT_EQ(o.VideoCodec, e.videoCodec) << what;
  EXPECT_EQ(o.AudioCodec, e.audioCodec) << what;
  EXPECT_EQ(o.FrameSize, e.frameSize) << what;
  EXPECT_EQ(o.VideoBitrate, e.videoBitrate) << what;
  EXPECT_EQ(o.AudioBitrate, e.audioBitrate) << what;
  EXPECT_EQ(o.AudioSampleRate, e.sampleRate) << what;
  EXPECT_EQ(o.AudioChannels, e.channels) << what;
  EXPECT_EQ(o.DisableVideo, e.disableVideo) << what;
  EXPECT_EQ(o.FrameRate, e.frameRate) << what;
  // Nothing else is written.
  const TOutputOptions d;
  EXPECT_EQ(o.Volume, d.Volume) << what;
  EXPECT_EQ(o.AspectRatio, d.AspectRatio) << what;
  EXPECT_EQ(o.RecordingTime, d.RecordingTime) << what;
  EXPECT_EQ(o.FileFormat, d.FileFormat) << what;
  EXPECT_EQ(o.PadTop, d.PadTop) << what;
  EXPECT_FALSE(o.DisableAudio) << what;
}

TEST(OptionBuilders, DefaultChoicesOfEntries) {
  const struct {
    int position;
    Expected expected;
  } cases[] = {
      {0, {"mpeg4", "libfaac", "320x240", 512000, 64000, 44100, -1, false, "25"}},
      {6, {"mpeg4", "libfaac", "720x406", 1500000, 128000, 44100, -1, false, "25"}},
      {8, {"mpeg4", "libfaac", "480x320", 1200000, 80000, 44100, 2, false, "25"}},
      {12, {"mpeg4", "libfaac", "320x240", 1500000, 128000, 44100, 2, false, ""}},
      {13, {"wmv2", "wmav2", "320x240", 1200000, 128000, 48000, 2, false, "25"}},
      {15, {"mpeg4", "libfaac", "368x208", 768000, 64000, 24000, 2, false, "29.97"}},
      {19, {"libx264", "libfaac", "1920x1072", 2000000, 96000, 44100, 2, false, "29.97"}},
      {21, {"mpeg4", "libamr_nb", "176x144", 128000, 7400, 8000, 1, false, "25"}},
      {22, {"mpeg4", "libamr_nb", "176x144", 128000, 7400, 8000, 1, false, "25"}},
      {23, {"", "libfaac", "", 0, 128000, 48000, 2, true, ""}},
      {24, {"mpeg4", "pcm_s16le", "", 1200000, 128000, 48000, 2, false, "25"}},
      {25, {"mpeg4", "libmp3lame", "", 1200000, 128000, 48000, 2, false, "25"}},
      {26, {"", "libmp3lame", "", 0, 192000, 48000, 2, true, ""}},
      {28, {"mpeg1video", "mp2", "320x240", 1600000, 192000, 44100, 2, false, "25.0"}},
      {29, {"mpeg2video", "mp2", "320x240", 2000000, 192000, 44100, 2, false, "25.0"}},
      {31, {"", "wmav2", "", 0, 128000, 48000, 2, true, ""}},
      {32, {"wmv2", "wmav2", "320x240", 1200000, 128000, 48000, 2, false, "25"}},
  };
  for (const auto& c : cases) {
    const TProfileState state = WithFormat(c.position);
    ExpectOptions(Built(state), c.expected, state.ComboOutputFormat.Text());
  }
}

TEST(OptionBuilders, UserChoicesAreMapped) {
  TProfileState ipod = WithFormat(0);
  Choose(ipod, "ComboVideoCodec", "H264");
  Choose(ipod, "ComboAudioBitrate", "320 Kbps");
  EXPECT_EQ(Built(ipod).VideoCodec, "libx264");
  EXPECT_EQ(Built(ipod).AudioBitrate, 320000);

  TProfileState mp4 = WithFormat(27);
  Choose(mp4, "ComboVideoCodec", "XVid");
  Choose(mp4, "ComboVideoSize", "704 x 576 (4CIF)");
  Choose(mp4, "ComboVideoFramerate", "23.975 fps");
  Choose(mp4, "ComboAudioChannels", "Mono");
  const TOutputOptions o = Built(mp4);
  EXPECT_EQ(o.VideoCodec, "libxvid");
  EXPECT_EQ(o.FrameSize, "704x576");
  EXPECT_EQ(o.FrameRate, "23.975");
  EXPECT_EQ(o.AudioChannels, 1);

  TProfileState mobile = WithFormat(21);
  Choose(mobile, "ComboVideoCodec", "H263");
  Choose(mobile, "ComboAudioCodec", "mpeg4aac");
  Choose(mobile, "ComboAudioChannels", "Stereo");
  Choose(mobile, "ComboSamplingRate", "16000 bps");
  const TOutputOptions m = Built(mobile);
  EXPECT_EQ(m.VideoCodec, "h263");
  EXPECT_EQ(m.AudioCodec, "libamr_nb");
  EXPECT_EQ(m.AudioChannels, 1);
  EXPECT_EQ(m.AudioSampleRate, 16000);

  TProfileState avi = WithFormat(24);
  Choose(avi, "ComboAudioCodec", "ac3");
  EXPECT_EQ(Built(avi).AudioCodec, "ac3");
}

TEST(OptionBuilders, EmptyRateSelectionIsAConversionError) {
  // An empty sampling rate fails every builder, an empty audio bit rate those
  // that do not append "000" to it; an empty video bit rate is 0.
  for (const int position : {0, 21, 27}) {
    TProfileState state = WithFormat(position);
    state.ComboAudioBitrate.ItemIndex = -1;
    TOutputOptions options;
    if (position == 0) {
      EXPECT_EQ(Built(state).AudioBitrate, 0);
    } else {
      EXPECT_THROW(BuildOutputOptions(state, options), TConvertError) << position;
    }
    state = WithFormat(position);
    state.ComboSamplingRate.ItemIndex = -1;
    EXPECT_THROW(BuildOutputOptions(state, options), TConvertError) << position;
    state = WithFormat(position);
    state.ComboVideoBitrate.ItemIndex = -1;
    EXPECT_EQ(Built(state).VideoBitrate, 0) << position;
  }
  // AAC after a 3GP entry keeps "12200 bps" (no "Kbps": 12200) and finds no
  // sampling rate at position 5.
  TProfileState aac = WithFormat(21);
  SelectFormat(aac, 23);
  TOutputOptions options;
  try {
    BuildOutputOptions(aac, options);
    ADD_FAILURE() << "no conversion error";
  } catch (const TConvertError& e) {
    EXPECT_STREQ(e.what(), "The sampling rate \"\" is not a number");
  }
  EXPECT_EQ(options.AudioBitrate, 12200);
}

TEST(OptionBuilders, ParseFrameSizeAndLeadingNumber) {
  const std::pair<std::string, std::string> sizes[] = {
      {"320 x 240 (VGA)", "320x240"},
      {"176 x 144 (QCIF)", "176x144"},
      {"1920 x 1072", "1920x1072"},
      {"320 x 240 ", "320x240"},
      {"", ""},
      {"(x)", ""},
      {"Original Video Size", "OriginalVideoSize"}};
  for (const auto& [text, size] : sizes) EXPECT_EQ(ParseFrameSize(text), size) << text;
  const std::pair<std::string, std::string> numbers[] = {
      {"1200 Kbps", "1200"}, {"8000  Hz", "8000"}, {"7400 bps", "7400"}, {"Auto", ""}, {"", ""},
      {" 48 Kbps", ""}};
  for (const auto& [text, number] : numbers) EXPECT_EQ(LeadingNumber(text), number) << text;
}

TEST(OptionBuilders, SelectedFrameRate) {
  const std::pair<std::string, std::string> cases[] = {
      {" Auto", "25"},      {"Auto", "25"},   {"AUTO  ", "25"}, {"29.97 fps", "29.97"},
      {"25.0 fps", "25.0"}, {"11 fps", "11"}, {"", ""},         {"23.976 fps", "23.976"}};
  for (const auto& [text, rate] : cases) {
    TProfileState state;
    state.ComboVideoFramerate.Replace({text}, text);
    EXPECT_EQ(SelectedFrameRate(state), rate) << '"' << text << '"';
  }
  TProfileState none;
  none.ComboVideoFramerate.Replace({"29.97 fps"}, "");
  EXPECT_EQ(SelectedFrameRate(none), "");
}

TEST(OptionBuilders, VolumeTrackBar) {
  const struct {
    int position;
    std::string label;
    int value;
  } cases[] = {{0, "0%", 1},     {1, "20%", 50},   {2, "40%", 100},  {3, "60%", 150},
               {4, "80%", 200},  {5, "100%", 255}, {6, "120%", 300}, {7, "140%", 350},
               {8, "160%", 400}, {9, "180%", 450}, {10, "200%", 600}};
  TProfileState state = MakeStartUpState();
  EXPECT_EQ(state.VolumeValue, 255);
  for (const auto& c : cases) {
    state.TrackBar1Position = c.position;
    TrackBar1Change(state);
    EXPECT_EQ(state.LabelVolume, c.label);
    EXPECT_EQ(state.VolumeValue, c.value);
  }
  SetVolumePosition(state, 14);
  EXPECT_EQ(state.TrackBar1Position, 10);
  EXPECT_EQ(state.VolumeValue, 600);
}

}  // namespace
}  // namespace trovenix
