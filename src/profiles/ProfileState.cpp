#include "profiles/ProfileState.h"

#include "profiles/FormatCatalogue.h"
#include "profiles/VolumeControl.h"

namespace trovenix {

TProfileState MakeStartUpState() {
  TProfileState state;
  // Only these three lists can be kept by a format's list routine, so only
  // their initial contents are ever seen.
  state.ComboVideoFramerate.Replace({" Auto", "10.0 fps", "14.985 fps", "15.0 fps", "23.976 fps",
                                     "25.0 fps", "29.97 fps", "30.0 fps"},
                                    " Auto");
  state.ComboAudioBitrate.Replace({"32 Kbps", "48 Kbps", "56 Kbps", "64 Kbps", "80 Kbps", "96 Kbps",
                                   "112 Kbps", "128 Kbps", "160 Kbps", "192 Kbps"},
                                  "128 Kbps");
  state.ComboSamplingRate.Replace(
      {"11025 Hz", "12000 Hz", "16000 Hz", "22050 Hz", "32000 Hz", "44100 Hz", "48000 Hz"},
      "44100 Hz");
  state.ComboAudioChannels.Replace({"Stereo", "Mono"}, "Stereo");

  state.TrackBar1Position = 5;
  TrackBar1Change(state);
  FillFormatCatalogue(state);
  state.ComboOutputFormat.DropDownCount = 25;
  state.ComboAspectRatio.Replace({"Original", "4:3 (Standard", "16:9 (Wide Screen)"}, "Original");
  state.ComboLetterBox.Replace({"None", "LetterBox"}, "None");
  return state;
}

const std::vector<std::string>& ChoiceControlNames() {
  static const std::vector<std::string> names = {
      "ComboVideoCodec",     "ComboVideoSize",     "ComboVideoBitrate",
      "ComboVideoFramerate", "ComboAudioCodec",    "ComboAudioBitrate",
      "ComboSamplingRate",   "ComboAudioChannels", "ComboAspectRatio"};
  return names;
}

TChoiceControl* ControlByFormName(TProfileState& state, const std::string& name) {
  TChoiceControl* const controls[] = {
      &state.ComboVideoCodec,     &state.ComboVideoSize,     &state.ComboVideoBitrate,
      &state.ComboVideoFramerate, &state.ComboAudioCodec,    &state.ComboAudioBitrate,
      &state.ComboSamplingRate,   &state.ComboAudioChannels, &state.ComboAspectRatio};
  const auto& names = ChoiceControlNames();
  for (std::size_t i = 0; i < names.size(); ++i)
    if (names[i] == name) return controls[i];
  return nullptr;
}

const TChoiceControl* ControlByFormName(const TProfileState& state, const std::string& name) {
  return ControlByFormName(const_cast<TProfileState&>(state), name);
}

namespace {

std::string QuotedList(const std::vector<std::string>& items) {
  std::string text;
  for (const std::string& item : items) text += (text.empty() ? "\"" : ", \"") + item + "\"";
  return text;
}

}  // namespace

bool ChooseItem(TProfileState& state, const std::string& controlName, const std::string& item,
                std::string& error) {
  TChoiceControl* control = ControlByFormName(state, controlName);
  if (control == nullptr) {
    error = "unknown control \"" + controlName + "\"; the controls are " +
            QuotedList(ChoiceControlNames());
    return false;
  }
  const int index = control->IndexOf(item);
  if (index < 0) {
    error = control->Items.empty() ? controlName + " holds no items for this format, so \"" + item +
                                         "\" cannot be chosen"
                                   : controlName + " holds no item \"" + item +
                                         "\"; its items are " + QuotedList(control->Items);
    return false;
  }
  control->ItemIndex = index;
  return true;
}

bool ChooseAssignment(TProfileState& state, const std::string& assignment, std::string& error) {
  const std::size_t equals = assignment.find('=');
  if (equals == std::string::npos) {
    error = "\"" + assignment + "\" is not CONTROL=ITEM";
    return false;
  }
  return ChooseItem(state, assignment.substr(0, equals), assignment.substr(equals + 1), error);
}

}  // namespace trovenix
