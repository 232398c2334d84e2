// The player's SDL user events and its one-shot refresh timer.
#include <mutex>

#include "media/AVUtilStubs.h"
#include "player/FFPlay.h"
#include "player/PlaybackParts.h"
#include "player/SdlStubs.h"

namespace trovenix::ffplay {
namespace {

std::once_flag EventsOnce;
std::uint32_t FirstEvent = static_cast<std::uint32_t>(-1);

// One-shot refresh timer: the callback only pushes the refresh event.
Uint32 RefreshTimer(Uint32, void* param) {
  PushUserEvent(RefreshEvent(),
                static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(param)));
  return 0;
}

}  // namespace

std::uint32_t AllocEvent() {
  return FirstEvent;
}
std::uint32_t RefreshEvent() {
  return FirstEvent + 1;
}
std::uint32_t QuitEvent() {
  return FirstEvent + 2;
}

double NowSeconds() {
  return static_cast<double>(ff::av_gettime()) / 1000000.0;
}

std::string Trim(const char* text) {
  std::string s = text ? text : "";
  const auto first = s.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return "";
  return s.substr(first, s.find_last_not_of(" \t\r\n") - first + 1);
}

void PushUserEvent(std::uint32_t type, std::uint32_t session) {
  SDL_Event event{};
  event.type = type;
  event.user.code = static_cast<Sint32>(session);
  sdl::SDL_PushEvent(&event);
}

void ScheduleRefresh(TPlaybackState& state, int delayMs) {
  if (delayMs <= 0) delayMs = 1;
  sdl::SDL_AddTimer(static_cast<Uint32>(delayMs), RefreshTimer,
                    reinterpret_cast<void*>(static_cast<std::uintptr_t>(state.Session)));
}

bool RegisterEvents() {
  std::call_once(EventsOnce, [] { FirstEvent = sdl::SDL_RegisterEvents(3); });
  return FirstEvent != static_cast<std::uint32_t>(-1);
}

void PushQuit(std::uint32_t session) {
  PushUserEvent(QuitEvent(), session);
}

}  // namespace trovenix::ffplay
