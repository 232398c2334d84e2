// What the parts of the player engine share among themselves: its events and
// timer, and the entry points of its threads and of the screen.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <thread>

#include "player/PlaybackState.h"
#include "player/PlayerCore.h"

namespace trovenix::ffplay {

// The three user events of the engine, registered with SDL once.
std::uint32_t AllocEvent();
std::uint32_t RefreshEvent();
std::uint32_t QuitEvent();
// Pushes one of them for a playback session.
void PushUserEvent(std::uint32_t type, std::uint32_t session);
// Asks for a refresh event of the state's session after delayMs (at least 1).
void ScheduleRefresh(TPlaybackState& state, int delayMs);

double NowSeconds();
inline void Sleep(std::chrono::milliseconds ms) {
  std::this_thread::sleep_for(ms);
}
// The text without leading and trailing white space (null: empty).
std::string Trim(const char* text);

// SDL's audio callback (opaque is the playback state), and the video thread
// that OpenComponent starts.
void AudioCallback(void* opaque, std::uint8_t* stream, int len);
void VideoThread(TPlaybackState* state);

// Player thread: a picture buffer of the size the video thread asked for,
// drawing the current picture or waveform, the refresh event, and the end.
void AllocatePicture(TPlayerCore& core, TPlaybackState& state);
void Draw(TPlayerCore& core, TPlaybackState& state);
void Refresh(TPlayerCore& core, TPlaybackState& state);
void ReleaseScreen(TPlaybackState& state);

}  // namespace trovenix::ffplay
