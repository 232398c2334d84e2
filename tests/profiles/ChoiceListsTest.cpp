// Choice lists per catalogue entry: every control's items and selection after
// start-up and one pick, the lists some entries keep from the previous entry,
// separators and the video controls' enabled state.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "profiles/FormatCatalogue.h"
#include "profiles/ProfileState.h"

namespace trovenix {
namespace {

using Items = std::vector<std::string>;

struct Shown {
  Items items;
  std::string selected;  // empty: nothing selected
};

Shown Only(const std::string& item) {
  return {{item}, item};
}
const Shown Empty{{}, ""};

const Items StandardSizes = {
    "Original Video Size", "128 x 96 (SQCIF)", "160 x 120 (QVGA)", "176 x 120", "176 x 144 (QCIF)",
    "192 x 144",           "208 x 176",        "220 x 176",        "240 x 180", "320 x 200",
    "320 x 240 (VGA)",     "352 x 240",        "352 x 288 (CIF)",  "480 x 272", "480 x 360",
    "480 x 480",           "480 x 576",        "624 x 352",        "640 x 352", "640 x 480",
    "704 x 576 (4CIF)",    "720 x 480",        "720 x 576"};
const Items StandardVideoRates = {"192 Kbps",  "200 Kbps",  "216 Kbps",  "384 Kbps",  "512 Kbps",
                                  "640 Kbps",  "768 Kbps",  "1000 Kbps", "1200 Kbps", "1500 Kbps",
                                  "1600 Kbps", "2000 Kbps", "2500 Kbps"};
const Items AviVideoRates = {"192 Kbps",  "200 Kbps",  "216 Kbps", "384 Kbps",
                             "512 Kbps",  "640 Kbps",  "768 Kbps", "1000 Kbps",
                             "1200 Kbps", "1500 Kbps", "2500 Kbps"};
const Items DeviceVideoRates = {"512 Kbps", "800 Kbps", "1200 Kbps", "1500 Kbps", "2500 Kbps"};
const Items StandardFrameRates = {"Auto",     "14.985 fps", "15.0 fps", "23.975 fps",
                                  "25.0 fps", "29.97 fps",  "30.0 fps"};
const Items StandardAudioRates = {"32 Kbps",  "40 Kbps",  "48 Kbps",  "64 Kbps",  "80 Kbps",
                                  "96 Kbps",  "112 Kbps", "128 Kbps", "160 Kbps", "192 Kbps",
                                  "224 Kbps", "256 Kbps", "320 Kbps"};
const Items StandardSampling = {"8000 Hz",  "16000 Hz", "22050 Hz", "32000 Hz",
                                "44100 Hz", "48000 Hz", "54000 Hz", "96000 Hz"};
const Items SamplingB = {"8000  Hz", "16000 Hz", "22050 Hz", "32000 Hz",
                         "44100 Hz", "48000 Hz", "54000 Hz", "96000 Hz"};
const Items MpegH264 = {"MPEG4", "H264"};
const Items ZuneSizes = {"320 x 240 ", "640 x 480"};
const Items ZuneRates = {"256 Kbps", "512 Kbps", "768 Kbps", "1200 Kbps", "1500 Kbps", "2000 Kbps"};
const Items Ps3Rates = {"1200 Kbps", "1500 Kbps", "2000 Kbps", "2500 Kbps", "3000 Kbps"};
const Items MobileSizes = {"128 x 96 (SQCIF)", "160 x 120 (QVGA)", "176 x 144 (QCIF)", "208 x 176",
                           "220 x 176",        "320 x 240 (VGA)",  "352 x 288 (CIF)"};
const Items MobileAudioRates = {"4750 bps", "5150 bps", "5900 bps",  "6700 bps",
                                "7400 bps", "7950 bps", "10200 bps", "12200 bps"};

// The channel and aspect choices are set to "Mono" and "16:9 (Wide Screen)"
// before each pick, so that "unchanged" is told apart from a selection.
const std::string Kept = "(unchanged)";

struct EntryCase {
  int position;
  std::string tag;
  Shown videoCodec, videoSize, videoBitrate, videoFramerate;
  Shown audioCodec, audioBitrate, samplingRate;
  std::string channels, aspect;
};

// clang-format off
std::vector<EntryCase> EntryCases() {
  const Shown aacRate = {StandardAudioRates, "128 Kbps"};
  const Shown frAuto = {StandardFrameRates, "Auto"};
  const Shown mpeg4aac = Only("mpeg4aac");
  const Shown mobileVideo[] = {{{"MPEG4", "H263", "H264"}, "MPEG4"},
                               {MobileSizes, "176 x 144 (QCIF)"},
                               {{"48 Kbps", "64 Kbps", "96 Kbps", "128 Kbps", "256 Kbps", "512 Kbps"},
                                "128 Kbps"},
                               {{"Auto", "11 fps", "14.985 fps", "15 fps"}, "Auto"}};
  const Shown amr = {{"amr_nb", "mpeg4aac"}, "amr_nb"};
  const Shown amrRate = {MobileAudioRates, "7400 bps"};
  const Shown amrSampling = {{"8000  bps", "16000 bps"}, "8000  bps"};
  const Shown ps3Sizes = {{"640 x 480", "720 x 480", "720 x 576"}, "720 x 480"};
  return {
      {0, "MP4", {MpegH264, "MPEG4"}, Only("320 x 240"), {DeviceVideoRates, "512 Kbps"}, frAuto,
       mpeg4aac, {StandardAudioRates, "64 Kbps"}, {StandardSampling, "44100 Hz"}, Kept, Kept},
      {1, "MP4", {MpegH264, "MPEG4"}, Only("640 x 480"), {DeviceVideoRates, "1500 Kbps"}, frAuto,
       mpeg4aac, {StandardAudioRates, "64 Kbps"}, {StandardSampling, "44100 Hz"}, Kept, Kept},
      {2, "MP4", {MpegH264, "MPEG4"}, Only("640 x 480"), {DeviceVideoRates, "1500 Kbps"}, frAuto,
       mpeg4aac, {StandardAudioRates, "64 Kbps"}, {StandardSampling, "44100 Hz"}, Kept, Kept},
      {4, "MP4", {MpegH264, "MPEG4"}, Only("480 x 320"), {DeviceVideoRates, "1200 Kbps"}, frAuto,
       mpeg4aac, {StandardAudioRates, "80 Kbps"}, {StandardSampling, "44100 Hz"}, Kept, Kept},
      {5, "MP4", {MpegH264, "MPEG4"}, Only("640 x 480"), {DeviceVideoRates, "1500 Kbps"}, frAuto,
       mpeg4aac, {StandardAudioRates, "80 Kbps"}, {StandardSampling, "44100 Hz"}, Kept, Kept},
      {6, "MP4", {MpegH264, "MPEG4"}, Only("720 x 406"), {DeviceVideoRates, "1500 Kbps"}, frAuto,
       mpeg4aac, aacRate, {StandardSampling, "44100 Hz"}, "Stereo", "Original"},
      {8, "MP4", {MpegH264, "MPEG4"}, Only("480 x 320"), {DeviceVideoRates, "1200 Kbps"}, frAuto,
       mpeg4aac, {StandardAudioRates, "80 Kbps"}, {StandardSampling, "44100 Hz"}, "Stereo",
       "Original"},
      {9, "MP4", {MpegH264, "MPEG4"}, Only("640 x 480"), {DeviceVideoRates, "1500 Kbps"}, frAuto,
       mpeg4aac, aacRate, {StandardSampling, "44100 Hz"}, "Stereo", "Original"},
      {10, "MP4", {MpegH264, "MPEG4"}, Only("720 x 480"), {DeviceVideoRates, "1500 Kbps"}, frAuto,
       mpeg4aac, aacRate, {StandardSampling, "44100 Hz"}, "Stereo", "Original"},
      {12, "MP4", {MpegH264, "MPEG4"}, {ZuneSizes, "320 x 240 "}, {ZuneRates, "1500 Kbps"},
       {{"29.97 fps"}, ""}, mpeg4aac, aacRate, {SamplingB, "44100 Hz"}, "Stereo", "Original"},
      // The frame-rate list is the one the previous entry (iPod, loaded at
      // start-up) left, with its first item selected.
      {13, "WMV", Only("WMV2"), {ZuneSizes, "320 x 240 "}, {ZuneRates, "1200 Kbps"}, frAuto,
       Only("wmav2"), aacRate, {SamplingB, "48000 Hz"}, "Stereo", "Original"},
      {15, "MP4", {{"MPEG4", "H264", "XVID"}, "MPEG4"},
       {{"160 x 112", "320 x 240", "368 x 208", "480 x 272"}, "368 x 208"}, Only("768 Kbps"),
       {{"14.985 fps", "29.97 fps"}, "29.97 fps"}, mpeg4aac,
       {{"32 Kbps", "48 Kbps", "64 Kbps", "96 Kbps", "128 Kbps", "160 Kbps"}, "64 Kbps"},
       Only("24000 Hz"), "Stereo", "Original"},
      {16, "MP4", Only("H264"), ps3Sizes, {Ps3Rates, "1200 Kbps"}, Only("29.97 fps"), mpeg4aac,
       {StandardAudioRates, "96 Kbps"}, {SamplingB, "44100 Hz"}, "Stereo", "Original"},
      {17, "MP4", Only("H264"), ps3Sizes, {Ps3Rates, "1200 Kbps"}, Only("29.97 fps"), mpeg4aac,
       {StandardAudioRates, "96 Kbps"}, {SamplingB, "44100 Hz"}, "Stereo", "Original"},
      {18, "MP4", Only("H264"), Only("1280 x 720"), {Ps3Rates, "2000 Kbps"}, Only("29.97 fps"),
       mpeg4aac, {StandardAudioRates, "96 Kbps"}, {SamplingB, "44100 Hz"}, "Stereo", "Original"},
      {19, "MP4", Only("H264"), Only("1920 x 1072"), {Ps3Rates, "2000 Kbps"}, Only("29.97 fps"),
       mpeg4aac, {StandardAudioRates, "96 Kbps"}, {SamplingB, "44100 Hz"}, "Stereo", "Original"},
      {21, "3GP", mobileVideo[0], mobileVideo[1], mobileVideo[2], mobileVideo[3], amr, amrRate,
       amrSampling, "Mono", Kept},
      {22, "3G2", mobileVideo[0], mobileVideo[1], mobileVideo[2], mobileVideo[3], amr, amrRate,
       amrSampling, "Mono", Kept},
      // Positions 7 and 5 of the lists the iPod entry left.
      {23, "AAC", Empty, Empty, Empty, Empty, Only("aac"), aacRate, {StandardSampling, "48000 Hz"},
       "Stereo", "Original"},
      {24, "AVI", {MpegH264, "MPEG4"}, {StandardSizes, "Original Video Size"},
       {AviVideoRates, "1200 Kbps"}, frAuto, {{"pcm_s16le", "mp3", "mp2", "ac3"}, "pcm_s16le"},
       aacRate, {StandardSampling, "48000 Hz"}, "Stereo", "Original"},
      {25, "AVI", Only("MPEG4"), {StandardSizes, "Original Video Size"},
       {AviVideoRates, "1200 Kbps"}, frAuto, Only("mp3"), aacRate, {StandardSampling, "48000 Hz"},
       "Stereo", "Original"},
      {26, "MP3", Empty, Empty, Empty, Empty, Only("mp3"), {StandardAudioRates, "192 Kbps"},
       {StandardSampling, "48000 Hz"}, "Stereo", "Original"},
      {27, "MP4", {{"MPEG4", "H264", "XVid"}, "MPEG4"}, {StandardSizes, "Original Video Size"},
       {StandardVideoRates, "1200 Kbps"}, frAuto, mpeg4aac, aacRate,
       {StandardSampling, "44100 Hz"}, "Stereo", "Original"},
      {28, "MPG", Only("MPEG1VIDEO"), {StandardSizes, "320 x 240 (VGA)"},
       {StandardVideoRates, "1600 Kbps"}, {StandardFrameRates, "25.0 fps"}, Only("mp2"),
       {StandardAudioRates, "192 Kbps"}, {StandardSampling, "44100 Hz"}, "Stereo", "Original"},
      {29, "MPG", Only("MPEG2VIDEO"), {StandardSizes, "320 x 240 (VGA)"},
       {StandardVideoRates, "2000 Kbps"}, {StandardFrameRates, "25.0 fps"},
       {{"mp2", "ac3"}, "mp2"}, {StandardAudioRates, "192 Kbps"}, {StandardSampling, "44100 Hz"},
       "Stereo", "Original"},
      {30, "MOV", Only("MPEG4"), {StandardSizes, "Original Video Size"},
       {StandardVideoRates, "1200 Kbps"}, frAuto, mpeg4aac, aacRate,
       {StandardSampling, "44100 Hz"}, "Stereo", "Original"},
      {31, "WMA", Empty, Empty, Empty, Empty, Only("wmav2"), aacRate, {SamplingB, "48000 Hz"},
       "Stereo", "Original"},
      {32, "WMV", Only("WMV2"), {StandardSizes, "320 x 240 (VGA)"},
       {StandardVideoRates, "1200 Kbps"}, frAuto, Only("wmav2"), aacRate,
       {StandardSampling, "48000 Hz"}, "Stereo", "Original"},
  };
}
// clang-format on

void ExpectShown(const TChoiceControl& control, const Shown& shown, const std::string& what) {
  EXPECT_EQ(control.Items, shown.items) << what;
  EXPECT_EQ(control.Text(), shown.selected) << what;
  if (shown.selected.empty()) {
    EXPECT_EQ(control.ItemIndex, -1) << what;
  }
}

void ExpectSelected(const TChoiceControl& control, const std::string& selected,
                    const std::string& unchanged, const std::string& what) {
  EXPECT_EQ(control.Text(), selected == Kept ? unchanged : selected) << what;
}

// Start-up as the window runs it: created, then shown.
TProfileState StartedUp() {
  TProfileState state = MakeStartUpState();
  ComboOutputFormatChange(state);
  return state;
}

TEST(ChoiceLists, EveryEntryAfterStartUp) {
  const auto cases = EntryCases();
  ASSERT_EQ(cases.size(), 28u);
  for (const EntryCase& c : cases) {
    TProfileState state = StartedUp();
    std::string error;
    ASSERT_TRUE(ChooseItem(state, "ComboAudioChannels", "Mono", error));
    ASSERT_TRUE(ChooseItem(state, "ComboAspectRatio", "16:9 (Wide Screen)", error));
    SelectFormat(state, c.position);
    const std::string what =
        "position " + std::to_string(c.position) + " " + state.ComboOutputFormat.Text();
    EXPECT_EQ(state.ComboOutputFormat.ItemIndex, c.position) << what;
    EXPECT_EQ(state.LastFormatIndex, c.position) << what;
    EXPECT_EQ(state.OutputExtension, c.tag) << what;
    ExpectShown(state.ComboVideoCodec, c.videoCodec, what + " video codec");
    ExpectShown(state.ComboVideoSize, c.videoSize, what + " video size");
    ExpectShown(state.ComboVideoBitrate, c.videoBitrate, what + " video bit rate");
    ExpectShown(state.ComboVideoFramerate, c.videoFramerate, what + " frame rate");
    ExpectShown(state.ComboAudioCodec, c.audioCodec, what + " audio codec");
    ExpectShown(state.ComboAudioBitrate, c.audioBitrate, what + " audio bit rate");
    ExpectShown(state.ComboSamplingRate, c.samplingRate, what + " sampling rate");
    ExpectSelected(state.ComboAudioChannels, c.channels, "Mono", what + " channels");
    ExpectSelected(state.ComboAspectRatio, c.aspect, "16:9 (Wide Screen)", what + " aspect");
    EXPECT_EQ(state.ComboAudioChannels.Items, (Items{"Stereo", "Mono"})) << what;
    EXPECT_EQ(state.ComboAspectRatio.Items,
              (Items{"Original", "4:3 (Standard", "16:9 (Wide Screen)"}))
        << what;
  }
}

TEST(ChoiceLists, StartUpLoadsTheFirstEntry) {
  const TProfileState state = StartedUp();
  EXPECT_EQ(state.ComboOutputFormat.ItemIndex, 0);
  EXPECT_EQ(state.OutputExtension, "MP4");
  EXPECT_EQ(state.ComboVideoSize.Items, Items{"320 x 240"});
  EXPECT_EQ(state.ComboAudioBitrate.Text(), "64 Kbps");
  EXPECT_EQ(state.ComboLetterBox.Text(), "None");
  EXPECT_EQ(state.VolumeValue, 255);
  EXPECT_EQ(state.LabelVolume, "100%");
}

// Kept lists: AAC selects positions 7 and 5, Zune WMV position 0, of what the
// previous entry (or the window's initial lists) left.
TEST(ChoiceLists, KeptListsDependOnThePreviousEntry) {
  const struct {
    int before;  // -1: right after start-up; -2: as the first routine to run
    int entry;
    std::string audioBitrate, samplingRate, frameRate;
  } cases[] = {
      {-1, 23, "128 Kbps", "48000 Hz", ""},
      {26, 23, "128 Kbps", "48000 Hz", ""},
      {21, 23, "12200 bps", "", ""},
      {22, 23, "12200 bps", "", ""},
      {16, 13, "", "", "29.97 fps"},
      {0, 13, "", "", "Auto"},
      {-2, 13, "", "", " Auto"},
  };
  for (const auto& c : cases) {
    TProfileState state = MakeStartUpState();
    if (c.before == -2) {
      state.ComboOutputFormat.SelectIndex(c.entry);  // restored from the settings
      ComboOutputFormatChange(state);
    } else {
      ComboOutputFormatChange(state);
      if (c.before >= 0) SelectFormat(state, c.before);
      SelectFormat(state, c.entry);
    }
    const std::string what = std::to_string(c.before) + " then " + std::to_string(c.entry);
    if (c.entry == 23) {
      EXPECT_EQ(state.ComboAudioBitrate.Text(), c.audioBitrate) << what;
      EXPECT_EQ(state.ComboSamplingRate.Text(), c.samplingRate) << what;
      if (c.samplingRate.empty()) {
        EXPECT_EQ(state.ComboSamplingRate.ItemIndex, -1) << what;
      }
    } else {
      EXPECT_EQ(state.ComboVideoFramerate.Text(), c.frameRate) << what;
    }
  }
}

TEST(ChoiceLists, SeparatorReselectsThePreviousEntryAndChangesNothing) {
  for (const int separator : {3, 7, 11, 14, 20}) {
    TProfileState state = StartedUp();
    SelectFormat(state, 26);
    const TProfileState before = state;
    int columnWrites = 0;
    TFormatChangeHooks hooks;
    hooks.WriteOutputColumn = [&](const std::string&) { ++columnWrites; };
    hooks.ReadDropDownItems = [] { return std::optional<int>(40); };
    SelectFormat(state, separator, hooks);
    EXPECT_EQ(state.ComboOutputFormat.ItemIndex, 26) << separator;
    EXPECT_EQ(columnWrites, 0) << separator;
    EXPECT_EQ(state.OutputExtension, "MP3");
    EXPECT_EQ(state.ComboOutputFormat.DropDownCount, before.ComboOutputFormat.DropDownCount);
    for (const std::string& name : ChoiceControlNames()) {
      EXPECT_EQ(ControlByFormName(state, name)->Items, ControlByFormName(before, name)->Items);
      EXPECT_EQ(ControlByFormName(state, name)->ItemIndex,
                ControlByFormName(before, name)->ItemIndex);
      EXPECT_EQ(ControlByFormName(state, name)->Enabled, ControlByFormName(before, name)->Enabled);
    }
  }
}

TEST(ChoiceLists, OnlyMp3DisablesTheVideoControls) {
  TProfileState state = StartedUp();
  const auto videoControls = [&] {
    return std::vector<bool>{state.ComboVideoSize.Enabled, state.ComboVideoBitrate.Enabled,
                             state.ComboVideoFramerate.Enabled, state.ComboVideoCodec.Enabled,
                             state.ComboLetterBox.Enabled};
  };
  const std::vector<bool> on(5, true), off(5, false);
  SelectFormat(state, 26);
  EXPECT_EQ(videoControls(), off);
  EXPECT_TRUE(state.ComboAudioCodec.Enabled);
  for (const int entry : {23, 31, 0}) {
    SelectFormat(state, 26);
    SelectFormat(state, entry);
    EXPECT_EQ(videoControls(), on) << entry;
  }
  UpdateVideoControls(state, "Mp3");
  EXPECT_EQ(videoControls(), off);
}

TEST(ChoiceLists, FormatChangeWritesTheOutputColumnAndDropDownCount) {
  const struct {
    int entry;
    std::string tag;
  } cases[] = {{28, "MPG"}, {29, "MPG"}, {13, "WMV"}, {21, "3GP"}, {0, "MP4"}};
  for (const auto& c : cases) {
    TProfileState state = StartedUp();
    std::vector<std::string> written;
    TFormatChangeHooks hooks;
    hooks.WriteOutputColumn = [&](const std::string& tag) { written.push_back(tag); };
    hooks.ReadDropDownItems = [] { return std::optional<int>(42); };
    SelectFormat(state, c.entry, hooks);
    EXPECT_EQ(written, Items{c.tag});
    EXPECT_EQ(state.ComboOutputFormat.DropDownCount, 42);
  }
  TProfileState state = StartedUp();
  TFormatChangeHooks unreadable;
  unreadable.ReadDropDownItems = [] { return std::optional<int>(); };
  state.ComboOutputFormat.DropDownCount = 7;
  ComboOutputFormatDropDown(state, unreadable);
  EXPECT_EQ(state.ComboOutputFormat.DropDownCount, 25);
}

TEST(ChoiceLists, TextWithoutRowChangesNoListButStillUpdates) {
  TProfileState state = StartedUp();
  SelectFormat(state, 26);
  const TProfileState before = state;
  std::vector<std::string> written;
  TFormatChangeHooks hooks;
  hooks.WriteOutputColumn = [&](const std::string& tag) { written.push_back(tag); };
  SelectFormat(state, 40, hooks);  // a saved position beyond the list
  EXPECT_EQ(state.ComboOutputFormat.Text(), "");
  EXPECT_EQ(state.OutputExtension, "MP3");
  EXPECT_EQ(written, Items{"MP3"});
  EXPECT_EQ(state.ComboAudioBitrate.Items, before.ComboAudioBitrate.Items);
  EXPECT_EQ(state.ComboAudioBitrate.ItemIndex, before.ComboAudioBitrate.ItemIndex);
  EXPECT_EQ(state.LastFormatIndex, -1);
}

TEST(ChoiceLists, ChooseItemNamesTheControlsAndItems) {
  TProfileState state = StartedUp();
  std::string error;
  EXPECT_TRUE(ChooseItem(state, "ComboVideoCodec", "H264", error));
  EXPECT_EQ(state.ComboVideoCodec.Text(), "H264");
  EXPECT_FALSE(ChooseItem(state, "ComboVideoCodec", "h264", error));
  EXPECT_EQ(error, "ComboVideoCodec holds no item \"h264\"; its items are \"MPEG4\", \"H264\"");
  EXPECT_EQ(state.ComboVideoCodec.Text(), "H264");
  EXPECT_FALSE(ChooseItem(state, "ComboLetterBox", "None", error));
  EXPECT_NE(error.find("\"ComboSamplingRate\""), std::string::npos);

  EXPECT_TRUE(ChooseAssignment(state, "ComboVideoFramerate=29.97 fps", error));
  EXPECT_EQ(state.ComboVideoFramerate.Text(), "29.97 fps");
  EXPECT_FALSE(ChooseAssignment(state, "ComboVideoFramerate", error));
  EXPECT_EQ(error, "\"ComboVideoFramerate\" is not CONTROL=ITEM");
  SelectFormat(state, 26);
  EXPECT_FALSE(ChooseAssignment(state, "ComboVideoCodec=MPEG4", error));
  EXPECT_EQ(error, "ComboVideoCodec holds no items for this format, so \"MPEG4\" cannot be chosen");
}

}  // namespace
}  // namespace trovenix
