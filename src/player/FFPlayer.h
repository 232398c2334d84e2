// The player component: plays one media file at a time inside a host window
// (picture through SDL, sound through SDL's audio device, the audio clock as
// master), pauses, seeks, and hands out the picture on screen.
//
// Open, Close, TogglePause, Seek and CurrentFrame are called on the
// user-interface thread. OnPosition and log messages raised during playback
// are delivered there through the IUiThread given at construction (a waiting
// call); without one they are delivered on the thread that raised them.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "engine/UiThread.h"
#include "media/Bitmap.h"
#include "player/PlayerTypes.h"

namespace trovenix {

// A native window the picture is drawn into: an X11 window id (Qt's winId()
// of a native widget on the xcb platform). 0: SDL makes its own window.
using TNativeWindow = std::uintptr_t;

class TCustomPlayer {
 public:
  explicit TCustomPlayer(IUiThread* ui = nullptr);
  virtual ~TCustomPlayer();
  TCustomPlayer(const TCustomPlayer&) = delete;
  TCustomPlayer& operator=(const TCustomPlayer&) = delete;

  // Loads the media libraries the player needs from the folder (then the
  // system's search), then SDL ("libSDL2-2.0.so.0") the same way.
  bool LoadLibraries(const std::string& folder);
  bool LibrariesLoaded() const;

  // Closes any playback, then starts playing the file in the window.
  bool Open(const std::string& fileName, TNativeWindow window);
  // Ends playback; with wait, returns after the player thread has finished.
  void Close(bool wait);
  void TogglePause();
  // Requests a seek to positionUs microseconds from the start.
  void Seek(std::int64_t positionUs);
  // The picture now on screen as a 24-bit bitmap owned by the player (0 x 0
  // for a file without a picture); callers copy it.
  const TBitmap& CurrentFrame();

  bool Playing() const;
  bool Paused() const;
  std::string LastError() const;

  // Clocks of the current playback in seconds (-1 without that stream or
  // playback), whether the waveform is shown, and the pictures shown and
  // shown late (more than one frame period behind the audio clock after the
  // first second) and the late ones skipped; for tests and the benchmark.
  double VideoClockSeconds() const;
  double AudioClockSeconds() const;
  bool WaveformShown() const;
  int PicturesShown() const;
  int PicturesLate() const;
  int PicturesSkipped() const;
  std::string Version() const { return "1.2"; }
  std::string About;

  TFileOpenEvent OnFileOpen;
  THookEvent OnHook;
  TPlayerLogEvent OnLog;
  TPositionEvent OnPosition;
  TPlayStateEvent OnState;

  // Published settings (see TFFPlayer); read by the player's threads.
  std::atomic<int> AudioVolume{MaxAudioVolume};  // 0..128, 128 = unchanged
  std::atomic<bool> Mute{false};
  std::atomic<bool> DisableAudio{false};
  std::atomic<bool> DisableVideo{false};
  std::atomic<bool> DisableDisplay{false};  // nothing drawn; opening sets DisableVideo
  std::atomic<int> FrameWidth{0};
  std::atomic<int> FrameHeight{0};
  std::atomic<int> ScreenWidth{0};  // 0: the video's size decides
  std::atomic<int> ScreenHeight{0};
  std::atomic<bool> Hook{false};

 private:
  struct TImpl;
  std::unique_ptr<TImpl> impl_;
};

class TFFPlayer final : public TCustomPlayer {
 public:
  using TCustomPlayer::TCustomPlayer;
};

// Plays a WAV file held in memory on the default audio device and returns
// once it has been played. False (nothing played) when SDL is not loaded or
// the sound or the device cannot be opened.
bool PlayWavAndWait(const std::uint8_t* data, std::size_t size);

}  // namespace trovenix
