// A player for the playback controls' tests: it records what it is asked,
// raises the events a test asks for and plays nothing.
#pragma once

#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/PlaybackPlayer.h"
#include "app/PlaybackView.h"

namespace trovenix::test {

class TFakePlaybackPlayer final : public IPlaybackPlayer {
 public:
  void SetEvents(TPlaybackEvents events) override { Events = std::move(events); }
  bool LoadLibraries(const std::string& folder) override {
    Record("LoadLibraries " + folder);
    Loaded = LoadSucceeds;
    return Loaded;
  }
  bool LibrariesLoaded() const override { return Loaded; }
  bool Open(const std::string& fileName, TNativeWindow window) override {
    Record("Open " + fileName);
    OpenedWindow = window;
    VolumeAtOpen = Volume;
    if (!OpenSucceeds) return false;
    if (Events.FileOpen) Events.FileOpen(DurationUs, ScreenWidth, ScreenHeight);
    Paused = false;
    return true;
  }
  void Close(bool wait) override {
    Record(wait ? "Close wait" : "Close");
    if (std::this_thread::get_id() != MainThread) CloseFromOtherThread = true;
  }
  void TogglePause() override {
    Paused = !Paused;
    Record("TogglePause");
  }
  void Seek(std::int64_t positionUs) override { Record("Seek " + std::to_string(positionUs)); }
  TBitmap CurrentFrame() override { return Frame; }
  void SetAudioVolume(int volume) override { Volume = volume; }
  int AudioVolume() const override { return Volume; }

  void Record(const std::string& call) {
    const std::lock_guard<std::mutex> hold(lock);
    Calls.push_back(call);
  }
  std::vector<std::string> TakeCalls() {
    const std::lock_guard<std::mutex> hold(lock);
    return std::exchange(Calls, {});
  }
  int Count(const std::string& call) {
    const std::lock_guard<std::mutex> hold(lock);
    int n = 0;
    for (const auto& c : Calls) n += c == call;
    return n;
  }
  // The end of the file, as the player thread reports it.
  void RaiseEndFromPlayerThread() {
    std::thread player([this] { Events.State(TPlayState::psEnd); });
    player.join();
  }

  TPlaybackEvents Events;
  std::mutex lock;
  std::vector<std::string> Calls;
  std::thread::id MainThread = std::this_thread::get_id();
  bool CloseFromOtherThread = false;
  bool Loaded = true;
  bool LoadSucceeds = true;
  bool OpenSucceeds = true;
  bool Paused = false;
  TNativeWindow OpenedWindow = 0;
  std::int64_t DurationUs = 65'000'000;
  int ScreenWidth = 0;
  int ScreenHeight = 0;
  int Volume = MaxAudioVolume;
  int VolumeAtOpen = -1;
  TBitmap Frame{0, 0};
};

class TCountingSnapSound final : public ISnapSound {
 public:
  explicit TCountingSnapSound(TFakePlaybackPlayer& player) : player_(player) {}
  void PlayAndWait() override { player_.Record("Snap"); }

 private:
  TFakePlaybackPlayer& player_;
};

}  // namespace trovenix::test
