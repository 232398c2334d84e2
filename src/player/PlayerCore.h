// The player component's state that the engine's threads use: settings,
// the current playback, logging with its single pending slot, the frame hook
// and position reporting. TCustomPlayer holds one.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "engine/UiThread.h"
#include "media/FrameConverter.h"
#include "player/PlaybackState.h"
#include "player/PlayerTypes.h"

extern "C" {
struct AVFrame;
}

namespace trovenix {

class TCustomPlayer;

enum class TPlayerPhase { Idle, Opening, Playing };

struct TPlayerCore {
  TPlayerCore(TCustomPlayer& player, IUiThread* ui) : Player(player), Ui(ui) {}
  virtual ~TPlayerCore() = default;

  TCustomPlayer& Player;
  IUiThread* const Ui;

  // The current playback. The player thread ends it; the user-interface
  // thread reads it under StateLock.
  std::mutex StateLock;
  std::unique_ptr<TPlaybackState> State;
  std::atomic<TPlayerPhase> Phase{TPlayerPhase::Idle};
  std::atomic<std::uint32_t> Session{0};
  std::uintptr_t HostWindow = 0;  // written by Open before the player thread starts

  // Logging: the slot of a message raised while a file is being opened.
  std::thread::id Opener;  // the thread inside Open
  std::mutex LogLock;
  std::condition_variable LogSlotFree;
  bool LogPending = false;
  TLogType PendingType = TLogType::ltError;
  std::string PendingText;
  mutable std::mutex ErrorLock;
  std::string LastErrorText;

  // Position reporting (player thread; written at open before it starts).
  std::atomic<std::int64_t> StartTimeUs{0};
  std::atomic<std::int64_t> DurationUs{0};
  std::int64_t LastReportedUs = -1;
  std::atomic<bool> EndReported{false};  // cleared by a seek

  FrameConverter SnapshotConverter;  // user-interface thread
  FrameConverter HookConverter;      // video thread

  // Counters for the benchmark: pictures shown, pictures shown later than
  // one frame period behind the audio clock after the first second, and late
  // pictures skipped instead.
  std::atomic<int> PicturesShown{0};
  std::atomic<int> PicturesLate{0};
  std::atomic<int> PicturesSkipped{0};

  void SetLastError(const std::string& text);
  std::string LastError() const;
  // Logs an error-type message of the engine or the component.
  void Log(TLogType type, const std::string& text, bool keep = false);
  // Delivers the pending message, if any (the opening caller).
  void DeliverPending();
  // Runs a call on the user-interface thread and waits, or directly.
  void OnUi(const std::function<void()>& call);

  // The frame hook: true when the hook filled the picture planes.
  bool RunFrameHook(const AVFrame& frame, std::uint8_t* const planes[3], const int strides[3],
                    double pts);
  // Position and end after a refresh (player thread).
  void ReportPosition(TPlaybackState& state);
};

}  // namespace trovenix
