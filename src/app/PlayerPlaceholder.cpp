// PLACEHOLDER, built only while the player library is absent from the tree
// (see src/app/CMakeLists.txt): the player component's members as a player
// without SDL. Opening fails with "libsdl not loaded.".
#include "player/FFPlayer.h"

namespace trovenix {

struct TCustomPlayer::TImpl {
  std::string lastError;
  TBitmap frame{0, 0};
};

TCustomPlayer::TCustomPlayer(IUiThread*) : impl_(std::make_unique<TImpl>()) {}
TCustomPlayer::~TCustomPlayer() = default;
bool TCustomPlayer::LoadLibraries(const std::string&) {
  return false;
}
bool TCustomPlayer::LibrariesLoaded() const {
  return false;
}
bool TCustomPlayer::Open(const std::string&, TNativeWindow) {
  impl_->lastError = "libsdl not loaded.";
  return false;
}
void TCustomPlayer::Close(bool) {}
void TCustomPlayer::TogglePause() {}
void TCustomPlayer::Seek(std::int64_t) {}
const TBitmap& TCustomPlayer::CurrentFrame() {
  return impl_->frame;
}
bool TCustomPlayer::Playing() const {
  return false;
}
bool TCustomPlayer::Paused() const {
  return false;
}
std::string TCustomPlayer::LastError() const {
  return impl_->lastError;
}

bool PlayWavAndWait(const std::uint8_t*, std::size_t) {
  return false;
}

}  // namespace trovenix
