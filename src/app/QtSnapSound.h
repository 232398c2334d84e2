// The "Snap" sound of a snapshot: the WAV resource played through the
// player's audio device.
#pragma once

#include "app/PlaybackView.h"

namespace trovenix {

class TQtSnapSound final : public ISnapSound {
 public:
  void PlayAndWait() override;
};

}  // namespace trovenix
