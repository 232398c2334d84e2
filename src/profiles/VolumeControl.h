// The volume track bar (positions 0 to 10): its percentage label and the
// engine volume it stands for (256 leaves the sound unchanged).
#pragma once

#include <string>

#include "profiles/ProfileState.h"

namespace trovenix {

constexpr int VolumePositionMin = 0;
constexpr int VolumePositionMax = 10;

// Label ("0%" to "200%") and engine volume of a track-bar position; the
// position is clamped to 0..10.
std::string VolumeLabel(int position);
int VolumeForPosition(int position);

// The track bar moved: LabelVolume and VolumeValue follow TrackBar1Position.
void TrackBar1Change(TProfileState& state);

// Moves the track bar to position (clamped) as the user would.
void SetVolumePosition(TProfileState& state, int position);

}  // namespace trovenix
