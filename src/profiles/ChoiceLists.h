// The choice lists each catalogue entry loads into the nine choice controls.
// A list routine acts on every control in one of a few ways; a plan holds the
// action for each control and applying it is the routine.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "profiles/ProfileState.h"

namespace trovenix {

struct TListAction {
  enum TKind {
    akUnchanged,  // neither the list nor the selection is touched
    akReplaced,   // cleared, Items added, Selected selected (none when empty)
    akEmptied,    // cleared, nothing selected
    akKept,       // list untouched, position Position selected (none if missing)
    akSelected,   // list untouched, the item equal to Selected selected
  };
  TKind Kind = akUnchanged;
  std::vector<std::string> Items;
  std::string Selected;
  int Position = -1;

  static TListAction Replaced(std::vector<std::string> items, std::string selected);
  static TListAction Only(std::string item);
  static TListAction Emptied();
  static TListAction Kept(int position);
  static TListAction Select(std::string item);
};

struct TChoiceListPlan {
  TListAction VideoCodec, VideoSize, VideoBitrate, VideoFramerate;
  TListAction AudioCodec, AudioBitrate, SamplingRate, AudioChannels, AspectRatio;
};

// The list routine of a profile code; none for a code without one.
std::optional<TChoiceListPlan> ChoiceListPlan(int profileCode);

// Runs a list routine on the controls.
void ApplyChoiceListPlan(const TChoiceListPlan& plan, TProfileState& state);

}  // namespace trovenix
