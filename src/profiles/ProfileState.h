// The choice controls of the main window and the run-time values the output
// profiles keep beside them, without any window: the window binds its combo
// boxes, volume track bar and label to this state, the command line uses it
// as it is.
#pragma once

#include <string>
#include <vector>

#include "profiles/ChoiceControl.h"

namespace trovenix {

struct TProfileState {
  TFormatListControl ComboOutputFormat;
  TChoiceControl ComboVideoCodec;
  TChoiceControl ComboVideoSize;
  TChoiceControl ComboVideoBitrate;
  TChoiceControl ComboVideoFramerate;
  TChoiceControl ComboAudioCodec;
  TChoiceControl ComboAudioBitrate;
  TChoiceControl ComboSamplingRate;
  TChoiceControl ComboAudioChannels;
  TChoiceControl ComboAspectRatio;
  TChoiceControl ComboLetterBox;

  std::string OutputExtension;  // tag of the selected format, upper case; empty at first
  int LastFormatIndex = 0;      // last selected position that was not a separator
  int TrackBar1Position = 5;    // volume track bar, 0 to 10
  std::string LabelVolume;
  int VolumeValue = 0;
};

// The state as the window is created: the initial lists of the frame-rate,
// audio bit-rate and sampling-rate controls, the channel, aspect-ratio and
// letterbox lists, the volume at position 5 (label and value set) and the
// catalogue filled with its first entry selected and a drop-down count of 25.
// The first entry's choice lists are not loaded yet: that happens when the
// window is shown (ComboOutputFormatChange).
TProfileState MakeStartUpState();

// The nine choice controls by their form names, in the window's order:
// ComboVideoCodec, ComboVideoSize, ComboVideoBitrate, ComboVideoFramerate,
// ComboAudioCodec, ComboAudioBitrate, ComboSamplingRate, ComboAudioChannels,
// ComboAspectRatio.
const std::vector<std::string>& ChoiceControlNames();

// One of the nine choice controls by form name, or nullptr.
TChoiceControl* ControlByFormName(TProfileState& state, const std::string& name);
const TChoiceControl* ControlByFormName(const TProfileState& state, const std::string& name);

// Selects item in the control named by its form name, as a user's pick. On an
// unknown control or an item the control does not hold, returns false and
// explains in error (listing the control names or the control's items).
bool ChooseItem(TProfileState& state, const std::string& controlName, const std::string& item,
                std::string& error);

// ChooseItem for a "CONTROL=ITEM" text (split at the first "="), as a command
// line gives it.
bool ChooseAssignment(TProfileState& state, const std::string& assignment, std::string& error);

}  // namespace trovenix
