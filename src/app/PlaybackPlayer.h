// What the main window's playback controls use of the player component,
// behind an interface so that tests play with a fake.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "media/Bitmap.h"
#include "player/FFPlayer.h"
#include "player/PlayerTypes.h"

namespace trovenix {

// The player's events as the controls take them. FileOpen runs inside Open on
// the calling thread and may set the picture area; State runs on the thread
// that raises it (psEnd on the player thread); Position on the UI thread.
struct TPlaybackEvents {
  std::function<void(std::int64_t durationUs, int& screenWidth, int& screenHeight)> FileOpen;
  std::function<void(TPlayState state)> State;
  std::function<void(std::int64_t positionUs)> Position;
};

class IPlaybackPlayer {
 public:
  virtual ~IPlaybackPlayer() = default;
  virtual void SetEvents(TPlaybackEvents events) = 0;
  virtual bool LoadLibraries(const std::string& folder) = 0;
  virtual bool LibrariesLoaded() const = 0;
  virtual bool Open(const std::string& fileName, TNativeWindow window) = 0;
  virtual void Close(bool wait) = 0;
  virtual void TogglePause() = 0;
  virtual void Seek(std::int64_t positionUs) = 0;
  // A copy of the picture on screen (0 x 0 without a picture).
  virtual TBitmap CurrentFrame() = 0;
  virtual void SetAudioVolume(int volume) = 0;
  virtual int AudioVolume() const = 0;
};

}  // namespace trovenix
