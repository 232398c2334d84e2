// The player engine: opening a stream, the decode and video threads, the audio
// callback, and the event loop of the player thread with its refresh.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "player/PlaybackState.h"
#include "player/PlayerCore.h"

namespace trovenix::ffplay {

// The SDL subsystems a playback starts, and their release. Only these are
// released at the end, so that a sound played meanwhile keeps its device.
inline constexpr std::uint32_t PlayerSdlSystems = 0x00000001u | 0x00000010u | 0x00000020u;
void QuitSdl();

// Registers the engine's user events with SDL once per process; false when
// SDL has none left.
bool RegisterEvents();
// Pushes the quit event of a playback session.
void PushQuit(std::uint32_t session);

// Creates the playback state, starts the decode thread and waits until it
// reports success (the state) or failure (nullptr, LastError set).
std::unique_ptr<TPlaybackState> StreamOpen(TPlayerCore& core, const std::string& fileName);

// Serves SDL events for the core's current playback until it ends (player
// thread); ends the playback and quits SDL.
void EventLoop(TPlayerCore& core);

// Stops the threads of a playback and frees it, then quits SDL.
void EndPlayback(std::unique_ptr<TPlaybackState> state);

void TogglePause(TPlaybackState& state);
void RequestSeek(TPlaybackState& state, std::int64_t targetUs, std::int64_t relativeUs);

double VideoClock(TPlaybackState& state);
double AudioClock(const TPlaybackState& state);

}  // namespace trovenix::ffplay
