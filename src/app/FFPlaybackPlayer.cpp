#include "app/FFPlaybackPlayer.h"

namespace trovenix {

TFFPlaybackPlayer::~TFFPlaybackPlayer() {
  // The handlers point into the window, which goes before the player thread
  // has necessarily finished.
  player_.OnFileOpen = nullptr;
  player_.OnState = nullptr;
  player_.OnPosition = nullptr;
  player_.Close(true);
}

void TFFPlaybackPlayer::SetEvents(TPlaybackEvents events) {
  player_.OnFileOpen = [open = std::move(events.FileOpen)](TCustomPlayer&, std::int64_t durationUs,
                                                           int, int, int& screenWidth,
                                                           int& screenHeight) {
    if (open) open(durationUs, screenWidth, screenHeight);
  };
  player_.OnState = [state = std::move(events.State)](TCustomPlayer&, TPlayState s) {
    if (state) state(s);
  };
  player_.OnPosition = [position = std::move(events.Position)](TCustomPlayer&,
                                                               std::int64_t positionUs) {
    if (position) position(positionUs);
  };
}

}  // namespace trovenix
