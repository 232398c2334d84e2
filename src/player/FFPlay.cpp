// The player thread: its event loop, pause, seek and the video clock.
#include "player/FFPlay.h"

#include <chrono>
#include <mutex>

#include "media/AVFormatStubs.h"
#include "player/FFPlayer.h"
#include "player/PlaybackParts.h"
#include "player/SdlStubs.h"

namespace trovenix::ffplay {

using namespace std::chrono_literals;

void QuitSdl() {
  sdl::SDL_QuitSubSystem(PlayerSdlSystems);
}

void EndPlayback(std::unique_ptr<TPlaybackState> state) {
  if (state) {
    state->AbortRequest = true;
    if (state->DecodeThread.joinable()) state->DecodeThread.join();
    ReleaseScreen(*state);
    state.reset();
  }
  QuitSdl();
}

void EventLoop(TPlayerCore& core) {
  for (;;) {
    TPlaybackState* s;
    {
      std::lock_guard lock(core.StateLock);
      s = core.State.get();
    }
    if (!s) {
      QuitSdl();
      return;
    }
    SDL_Event event;
    if (!sdl::SDL_PollEvent(&event)) {
      // SDL's own waiting polls every millisecond on drivers that cannot
      // block; a few milliseconds are enough for the refresh and cost less.
      Sleep(3ms);
      continue;
    }
    const bool ours =
        event.type >= SDL_USEREVENT && static_cast<std::uint32_t>(event.user.code) == s->Session;
    if (event.type == SDL_QUIT || (ours && event.type == QuitEvent())) {
      std::unique_ptr<TPlaybackState> ending;
      {
        std::lock_guard lock(core.StateLock);
        ending = std::move(core.State);
      }
      EndPlayback(std::move(ending));
      return;
    }
    if (event.type == SDL_WINDOWEVENT) {
      if (event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED && s->Renderer) {
        int w = 0, h = 0;
        sdl::SDL_GetRendererOutputSize(s->Renderer, &w, &h);
        s->AreaW = w;
        s->AreaH = h;
        core.Player.ScreenWidth = w;
        core.Player.ScreenHeight = h;
      } else if (event.window.event == SDL_WINDOWEVENT_EXPOSED) {
        Draw(core, *s);
      }
    } else if (ours && event.type == AllocEvent()) {
      AllocatePicture(core, *s);
    } else if (ours && event.type == RefreshEvent()) {
      Refresh(core, *s);
    }
  }
}

void TogglePause(TPlaybackState& s) {
  while (s.SeekRequest) Sleep(10ms);
  std::lock_guard lock(s.ClockLock);
  const bool nowPaused = !s.Paused;
  if (!nowPaused) {
    const double now = NowSeconds();
    s.FrameTimer += now - s.CurrentPtsTime;
    s.CurrentPtsTime = now;
  }
  s.Paused = nowPaused;
}

void RequestSeek(TPlaybackState& s, std::int64_t targetUs, std::int64_t relativeUs) {
  if (s.SeekRequest) return;
  {
    std::lock_guard lock(s.SeekLock);
    s.SeekTarget = targetUs;
    // An absolute seek (no offset) lands on the key picture at or before the
    // target, not up to a whole group of pictures after it.
    s.SeekFlags = relativeUs <= 0 ? AVSEEK_FLAG_BACKWARD : 0;
  }
  s.SeekRequest = true;
}

double VideoClock(TPlaybackState& s) {
  std::lock_guard lock(s.ClockLock);
  if (s.Paused) return s.CurrentPts;
  return s.CurrentPts + (NowSeconds() - s.CurrentPtsTime);
}
}  // namespace trovenix::ffplay
