#include "profiles/ChoiceLists.h"

#include <utility>

namespace trovenix {

TListAction TListAction::Replaced(std::vector<std::string> items, std::string selected) {
  TListAction action;
  action.Kind = akReplaced;
  action.Items = std::move(items);
  action.Selected = std::move(selected);
  return action;
}

TListAction TListAction::Only(std::string item) {
  return Replaced({item}, item);
}

TListAction TListAction::Emptied() {
  TListAction action;
  action.Kind = akEmptied;
  return action;
}

TListAction TListAction::Kept(int position) {
  TListAction action;
  action.Kind = akKept;
  action.Position = position;
  return action;
}

TListAction TListAction::Select(std::string item) {
  TListAction action;
  action.Kind = akSelected;
  action.Selected = std::move(item);
  return action;
}

namespace {

using Items = std::vector<std::string>;
using A = TListAction;

const Items& StandardSizes() {
  static const Items items = {
      "Original Video Size", "128 x 96 (SQCIF)", "160 x 120 (QVGA)", "176 x 120",
      "176 x 144 (QCIF)",    "192 x 144",        "208 x 176",        "220 x 176",
      "240 x 180",           "320 x 200",        "320 x 240 (VGA)",  "352 x 240",
      "352 x 288 (CIF)",     "480 x 272",        "480 x 360",        "480 x 480",
      "480 x 576",           "624 x 352",        "640 x 352",        "640 x 480",
      "704 x 576 (4CIF)",    "720 x 480",        "720 x 576"};
  return items;
}

const Items& StandardVideoRates() {
  static const Items items = {"192 Kbps",  "200 Kbps",  "216 Kbps",  "384 Kbps",  "512 Kbps",
                              "640 Kbps",  "768 Kbps",  "1000 Kbps", "1200 Kbps", "1500 Kbps",
                              "1600 Kbps", "2000 Kbps", "2500 Kbps"};
  return items;
}

const Items& AviVideoRates() {
  static const Items items = {"192 Kbps",  "200 Kbps",  "216 Kbps", "384 Kbps",
                              "512 Kbps",  "640 Kbps",  "768 Kbps", "1000 Kbps",
                              "1200 Kbps", "1500 Kbps", "2500 Kbps"};
  return items;
}

const Items& DeviceVideoRates() {
  static const Items items = {"512 Kbps", "800 Kbps", "1200 Kbps", "1500 Kbps", "2500 Kbps"};
  return items;
}

const Items& StandardFrameRates() {
  static const Items items = {"Auto",     "14.985 fps", "15.0 fps", "23.975 fps",
                              "25.0 fps", "29.97 fps",  "30.0 fps"};
  return items;
}

const Items& StandardAudioRates() {
  static const Items items = {"32 Kbps",  "40 Kbps",  "48 Kbps",  "64 Kbps",  "80 Kbps",
                              "96 Kbps",  "112 Kbps", "128 Kbps", "160 Kbps", "192 Kbps",
                              "224 Kbps", "256 Kbps", "320 Kbps"};
  return items;
}

const Items& StandardSampling() {
  static const Items items = {"8000 Hz",  "16000 Hz", "22050 Hz", "32000 Hz",
                              "44100 Hz", "48000 Hz", "54000 Hz", "96000 Hz"};
  return items;
}

// The standard sampling list with two blanks in its first item.
const Items& StandardSamplingB() {
  static const Items items = {"8000  Hz", "16000 Hz", "22050 Hz", "32000 Hz",
                              "44100 Hz", "48000 Hz", "54000 Hz", "96000 Hz"};
  return items;
}

const Items& ZuneSizes() {
  static const Items items = {"320 x 240 ", "640 x 480"};
  return items;
}

const Items& ZuneVideoRates() {
  static const Items items = {"256 Kbps",  "512 Kbps",  "768 Kbps",
                              "1200 Kbps", "1500 Kbps", "2000 Kbps"};
  return items;
}

const Items& Ps3VideoRates() {
  static const Items items = {"1200 Kbps", "1500 Kbps", "2000 Kbps", "2500 Kbps", "3000 Kbps"};
  return items;
}

TChoiceListPlan AudioOnlyVideoSide() {
  TChoiceListPlan plan;
  plan.VideoCodec = plan.VideoSize = plan.VideoBitrate = plan.VideoFramerate = A::Emptied();
  return plan;
}

void StereoOriginal(TChoiceListPlan& plan) {
  plan.AudioChannels = A::Select("Stereo");
  plan.AspectRatio = A::Select("Original");
}

// iPod and iPod Touch share everything but the size, the video rate and, for
// the Touch's wide screen, the audio rate and the channel and aspect choices.
TChoiceListPlan AppleDeviceLists(const std::string& size, const std::string& videoRate,
                                 const std::string& audioRate) {
  TChoiceListPlan plan;
  plan.VideoCodec = A::Replaced({"MPEG4", "H264"}, "MPEG4");
  plan.VideoSize = A::Only(size);
  plan.VideoBitrate = A::Replaced(DeviceVideoRates(), videoRate);
  plan.VideoFramerate = A::Replaced(StandardFrameRates(), "Auto");
  plan.AudioCodec = A::Only("mpeg4aac");
  plan.AudioBitrate = A::Replaced(StandardAudioRates(), audioRate);
  plan.SamplingRate = A::Replaced(StandardSampling(), "44100 Hz");
  return plan;
}

TChoiceListPlan IPodLists(bool extra) {
  return extra ? AppleDeviceLists("640 x 480", "1500 Kbps", "64 Kbps")
               : AppleDeviceLists("320 x 240", "512 Kbps", "64 Kbps");
}

TChoiceListPlan IPodTouchLists(int variant) {
  switch (variant) {
    case 0:
      return AppleDeviceLists("480 x 320", "1200 Kbps", "80 Kbps");
    case 1:
      return AppleDeviceLists("640 x 480", "1500 Kbps", "80 Kbps");
    default: {
      TChoiceListPlan plan = AppleDeviceLists("720 x 406", "1500 Kbps", "128 Kbps");
      StereoOriginal(plan);
      return plan;
    }
  }
}

TChoiceListPlan IPhoneLists(const std::string& size) {
  const bool normal = size == "480 x 320";
  TChoiceListPlan plan =
      AppleDeviceLists(size, normal ? "1200 Kbps" : "1500 Kbps", normal ? "80 Kbps" : "128 Kbps");
  StereoOriginal(plan);
  return plan;
}

TChoiceListPlan ZuneLists(bool wmv) {
  TChoiceListPlan plan;
  plan.VideoCodec = wmv ? A::Only("WMV2") : A::Replaced({"MPEG4", "H264"}, "MPEG4");
  plan.VideoSize = A::Replaced(ZuneSizes(), "320 x 240 ");
  plan.VideoBitrate = A::Replaced(ZuneVideoRates(), wmv ? "1200 Kbps" : "1500 Kbps");
  // The MPEG-4 list offers 29.97 fps without selecting it; the WMV routine
  // selects the first item of whatever list the previous entry left.
  plan.VideoFramerate = wmv ? A::Kept(0) : A::Replaced({"29.97 fps"}, "");
  plan.AudioCodec = A::Only(wmv ? "wmav2" : "mpeg4aac");
  plan.AudioBitrate = A::Replaced(StandardAudioRates(), "128 Kbps");
  plan.SamplingRate = A::Replaced(StandardSamplingB(), wmv ? "48000 Hz" : "44100 Hz");
  StereoOriginal(plan);
  return plan;
}

TChoiceListPlan PspLists() {
  TChoiceListPlan plan;
  plan.VideoCodec = A::Replaced({"MPEG4", "H264", "XVID"}, "MPEG4");
  plan.VideoSize = A::Replaced({"160 x 112", "320 x 240", "368 x 208", "480 x 272"}, "368 x 208");
  plan.VideoBitrate = A::Only("768 Kbps");
  plan.VideoFramerate = A::Replaced({"14.985 fps", "29.97 fps"}, "29.97 fps");
  plan.AudioCodec = A::Only("mpeg4aac");
  plan.AudioBitrate =
      A::Replaced({"32 Kbps", "48 Kbps", "64 Kbps", "96 Kbps", "128 Kbps", "160 Kbps"}, "64 Kbps");
  plan.SamplingRate = A::Only("24000 Hz");
  StereoOriginal(plan);
  return plan;
}

TChoiceListPlan Ps3Lists(TListAction size, const std::string& videoRate) {
  TChoiceListPlan plan;
  plan.VideoCodec = A::Only("H264");
  plan.VideoSize = std::move(size);
  plan.VideoBitrate = A::Replaced(Ps3VideoRates(), videoRate);
  plan.VideoFramerate = A::Only("29.97 fps");
  plan.AudioCodec = A::Only("mpeg4aac");
  plan.AudioBitrate = A::Replaced(StandardAudioRates(), "96 Kbps");
  plan.SamplingRate = A::Replaced(StandardSamplingB(), "44100 Hz");
  StereoOriginal(plan);
  return plan;
}

TChoiceListPlan MobileLists() {
  TChoiceListPlan plan;
  plan.VideoCodec = A::Replaced({"MPEG4", "H263", "H264"}, "MPEG4");
  plan.VideoSize = A::Replaced({"128 x 96 (SQCIF)", "160 x 120 (QVGA)", "176 x 144 (QCIF)",
                                "208 x 176", "220 x 176", "320 x 240 (VGA)", "352 x 288 (CIF)"},
                               "176 x 144 (QCIF)");
  plan.VideoBitrate = A::Replaced(
      {"48 Kbps", "64 Kbps", "96 Kbps", "128 Kbps", "256 Kbps", "512 Kbps"}, "128 Kbps");
  plan.VideoFramerate = A::Replaced({"Auto", "11 fps", "14.985 fps", "15 fps"}, "Auto");
  plan.AudioCodec = A::Replaced({"amr_nb", "mpeg4aac"}, "amr_nb");
  plan.AudioBitrate = A::Replaced({"4750 bps", "5150 bps", "5900 bps", "6700 bps", "7400 bps",
                                   "7950 bps", "10200 bps", "12200 bps"},
                                  "7400 bps");
  plan.SamplingRate = A::Replaced({"8000  bps", "16000 bps"}, "8000  bps");
  plan.AudioChannels = A::Select("Mono");
  return plan;
}

TChoiceListPlan AacLists() {
  TChoiceListPlan plan = AudioOnlyVideoSide();
  plan.AudioCodec = A::Only("aac");
  plan.AudioBitrate = A::Kept(7);
  plan.SamplingRate = A::Kept(5);
  StereoOriginal(plan);
  return plan;
}

// The container and audio-only formats: their own audio codecs and rates on
// the standard lists.
TChoiceListPlan ContainerAudio(TChoiceListPlan plan, TListAction codec,
                               const std::string& audioRate, const Items& sampling,
                               const std::string& samplingRate) {
  plan.AudioCodec = std::move(codec);
  plan.AudioBitrate = A::Replaced(StandardAudioRates(), audioRate);
  plan.SamplingRate = A::Replaced(sampling, samplingRate);
  StereoOriginal(plan);
  return plan;
}

TChoiceListPlan ContainerVideo(TListAction codec, const std::string& size, const Items& rates,
                               const std::string& rate, const std::string& frameRate) {
  TChoiceListPlan plan;
  plan.VideoCodec = std::move(codec);
  plan.VideoSize = A::Replaced(StandardSizes(), size);
  plan.VideoBitrate = A::Replaced(rates, rate);
  plan.VideoFramerate = A::Replaced(StandardFrameRates(), frameRate);
  return plan;
}

TChoiceListPlan AviLists(bool divx) {
  TChoiceListPlan video =
      ContainerVideo(divx ? A::Only("MPEG4") : A::Replaced({"MPEG4", "H264"}, "MPEG4"),
                     "Original Video Size", AviVideoRates(), "1200 Kbps", "Auto");
  return ContainerAudio(
      std::move(video),
      divx ? A::Only("mp3") : A::Replaced({"pcm_s16le", "mp3", "mp2", "ac3"}, "pcm_s16le"),
      "128 Kbps", StandardSampling(), "48000 Hz");
}

TChoiceListPlan MpegLists(bool mpeg2) {
  TChoiceListPlan video =
      ContainerVideo(A::Only(mpeg2 ? "MPEG2VIDEO" : "MPEG1VIDEO"), "320 x 240 (VGA)",
                     StandardVideoRates(), mpeg2 ? "2000 Kbps" : "1600 Kbps", "25.0 fps");
  return ContainerAudio(std::move(video),
                        mpeg2 ? A::Replaced({"mp2", "ac3"}, "mp2") : A::Only("mp2"), "192 Kbps",
                        StandardSampling(), "44100 Hz");
}

}  // namespace

std::optional<TChoiceListPlan> ChoiceListPlan(int profileCode) {
  switch (profileCode) {
    case 3:
      return IPodLists(false);
    case 4:
    case 6:
      return IPodLists(true);
    case 13:
    case 14:
    case 15:
      return IPodTouchLists(profileCode - 13);
    case 18:
      return IPhoneLists("480 x 320");
    case 19:
      return IPhoneLists("640 x 480");
    case 20:
      return IPhoneLists("720 x 480");
    case 49:
      return ZuneLists(false);
    case 50:
      return ZuneLists(true);
    case 53:
      return PspLists();
    case 58:
    case 59:
      return Ps3Lists(A::Replaced({"640 x 480", "720 x 480", "720 x 576"}, "720 x 480"),
                      "1200 Kbps");
    case 60:
      return Ps3Lists(A::Only("1280 x 720"), "2000 Kbps");
    case 61:
      return Ps3Lists(A::Only("1920 x 1072"), "2000 Kbps");
    case 0:
    case 1:
      return MobileLists();
    case 37:
      return AacLists();
    case 22:
    case 23:
      return AviLists(profileCode == 23);
    case 41:
      return ContainerAudio(AudioOnlyVideoSide(), A::Only("mp3"), "192 Kbps", StandardSampling(),
                            "48000 Hz");
    case 27:
      return ContainerAudio(
          ContainerVideo(A::Replaced({"MPEG4", "H264", "XVid"}, "MPEG4"), "Original Video Size",
                         StandardVideoRates(), "1200 Kbps", "Auto"),
          A::Only("mpeg4aac"), "128 Kbps", StandardSampling(), "44100 Hz");
    case 28:
    case 29:
      return MpegLists(profileCode == 29);
    case 26:
      return ContainerAudio(ContainerVideo(A::Only("MPEG4"), "Original Video Size",
                                           StandardVideoRates(), "1200 Kbps", "Auto"),
                            A::Only("mpeg4aac"), "128 Kbps", StandardSampling(), "44100 Hz");
    case 45:
      return ContainerAudio(AudioOnlyVideoSide(), A::Only("wmav2"), "128 Kbps", StandardSamplingB(),
                            "48000 Hz");
    case 31:
      return ContainerAudio(ContainerVideo(A::Only("WMV2"), "320 x 240 (VGA)", StandardVideoRates(),
                                           "1200 Kbps", "Auto"),
                            A::Only("wmav2"), "128 Kbps", StandardSampling(), "48000 Hz");
    default:
      return std::nullopt;
  }
}

namespace {

void Apply(const TListAction& action, TChoiceControl& control) {
  switch (action.Kind) {
    case TListAction::akUnchanged:
      break;
    case TListAction::akReplaced:
      control.Replace(action.Items, action.Selected);
      break;
    case TListAction::akEmptied:
      control.Clear();
      break;
    case TListAction::akKept:
      control.SelectIndex(action.Position);
      break;
    case TListAction::akSelected:
      control.SelectItem(action.Selected);
      break;
  }
}

}  // namespace

void ApplyChoiceListPlan(const TChoiceListPlan& plan, TProfileState& state) {
  Apply(plan.VideoCodec, state.ComboVideoCodec);
  Apply(plan.VideoSize, state.ComboVideoSize);
  Apply(plan.VideoBitrate, state.ComboVideoBitrate);
  Apply(plan.VideoFramerate, state.ComboVideoFramerate);
  Apply(plan.AudioCodec, state.ComboAudioCodec);
  Apply(plan.AudioBitrate, state.ComboAudioBitrate);
  Apply(plan.SamplingRate, state.ComboSamplingRate);
  Apply(plan.AudioChannels, state.ComboAudioChannels);
  Apply(plan.AspectRatio, state.ComboAspectRatio);
}

}  // namespace trovenix
