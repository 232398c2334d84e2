#include "profiles/VolumeControl.h"

#include <algorithm>

namespace trovenix {
namespace {

int Clamp(int position) {
  return std::clamp(position, VolumePositionMin, VolumePositionMax);
}

}  // namespace

std::string VolumeLabel(int position) {
  return std::to_string(Clamp(position) * 20) + "%";
}

int VolumeForPosition(int position) {
  // Not proportional at the ends: silence is 1, the unchanged level 255 and
  // the loudest 600.
  static const int values[] = {1, 50, 100, 150, 200, 255, 300, 350, 400, 450, 600};
  return values[Clamp(position)];
}

void TrackBar1Change(TProfileState& state) {
  state.LabelVolume = VolumeLabel(state.TrackBar1Position);
  state.VolumeValue = VolumeForPosition(state.TrackBar1Position);
}

void SetVolumePosition(TProfileState& state, int position) {
  state.TrackBar1Position = Clamp(position);
  TrackBar1Change(state);
}

}  // namespace trovenix
