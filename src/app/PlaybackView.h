// The widget side of the playback controls: what the controller shows and
// asks of the window. Called on the UI thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "player/FFPlayer.h"

namespace trovenix {

class IPlaybackView {
 public:
  virtual ~IPlaybackView() = default;
  virtual bool Converting() const = 0;
  virtual std::string OutputFolderText() const = 0;
  // The Browse For Folder button's action.
  virtual void OpenFolderBrowser() = 0;
  // The native window the picture is drawn into and its size.
  virtual TNativeWindow PlayWindow() = 0;
  virtual int PlayWidth() const = 0;
  virtual int PlayHeight() const = 0;
  // The still picture is shown whenever nothing plays.
  virtual void ShowStill(bool show) = 0;
  // "spkfull", "spkhalf" or "spkmute".
  virtual void SetVolumeGlyph(const std::string& name) = 0;
  // Position and duration in microseconds (duration <= 0: unknown).
  virtual void ShowPosition(std::int64_t positionUs, std::int64_t durationUs) = 0;
  // Queues the call to the UI thread and returns at once; any thread.
  virtual void PostToUi(std::function<void()> call) = 0;
};

// The "Snap" sound of a snapshot, played to its end.
class ISnapSound {
 public:
  virtual ~ISnapSound() = default;
  virtual void PlayAndWait() = 0;
};

}  // namespace trovenix
