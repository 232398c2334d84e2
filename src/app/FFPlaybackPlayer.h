// The playback controls' player: the player component itself.
#pragma once

#include "app/PlaybackPlayer.h"

namespace trovenix {

class TFFPlaybackPlayer final : public IPlaybackPlayer {
 public:
  explicit TFFPlaybackPlayer(IUiThread* ui) : player_(ui) {}
  ~TFFPlaybackPlayer() override;

  void SetEvents(TPlaybackEvents events) override;
  bool LoadLibraries(const std::string& folder) override { return player_.LoadLibraries(folder); }
  bool LibrariesLoaded() const override { return player_.LibrariesLoaded(); }
  bool Open(const std::string& fileName, TNativeWindow window) override {
    return player_.Open(fileName, window);
  }
  void Close(bool wait) override { player_.Close(wait); }
  void TogglePause() override { player_.TogglePause(); }
  void Seek(std::int64_t positionUs) override { player_.Seek(positionUs); }
  TBitmap CurrentFrame() override { return player_.CurrentFrame(); }
  void SetAudioVolume(int volume) override { player_.AudioVolume = volume; }
  int AudioVolume() const override { return player_.AudioVolume; }

 private:
  TFFPlayer player_;
};

}  // namespace trovenix
