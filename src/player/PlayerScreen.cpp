// What the player thread draws: the host window and its renderer, the
// picture fitted into the panel (turned upright), the waveform, and the
// refresh that shows each queued picture at its time.
#include <algorithm>
#include <cmath>
#include <mutex>

#include "media/AVCodecStubs.h"
#include "media/AVFormatStubs.h"
#include "media/AVUtilStubs.h"
#include "media/DisplayRotation.h"
#include "player/FFPlay.h"
#include "player/FFPlayer.h"
#include "player/PlaybackParts.h"
#include "player/PlayerMath.h"
#include "player/SdlStubs.h"

namespace trovenix::ffplay {
namespace {

void SetupVideoWindow(TPlayerCore& core, TPlaybackState& s) {
  if (s.Renderer || s.VideoModeFailed) return;
  TCustomPlayer& player = core.Player;
  int w = 640, h = 480;
  if (player.ScreenWidth > 0) {
    w = player.ScreenWidth;
    h = std::max(1, player.ScreenHeight.load());
  } else if (s.VideoDecoder && s.VideoDecoder->width > 0) {
    w = s.VideoDecoder->width;
    h = s.VideoDecoder->height;
    if (SwapsSides(s.VideoRotation)) std::swap(w, h);
  }
  if (core.HostWindow != 0)
    s.Window = sdl::SDL_CreateWindowFrom(reinterpret_cast<const void*>(core.HostWindow));
  else
    s.Window = sdl::SDL_CreateWindow("Trovenix", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                                     w, h, SDL_WINDOW_RESIZABLE);
  if (s.Window) s.Renderer = sdl::SDL_CreateRenderer(s.Window, -1, 0);
  if (!s.Renderer) {
    s.VideoModeFailed = true;
    core.Log(TLogType::ltError, "SDL: could not set video mode.");
    return;
  }
  int ow = 0, oh = 0;
  sdl::SDL_GetRendererOutputSize(s.Renderer, &ow, &oh);
  s.AreaX = 0;
  s.AreaY = 0;
  s.AreaW = ow;
  s.AreaH = oh;
}

void DrawPicture(TPlaybackState& s) {
  if (!s.Renderer || !s.Texture) return;
  const AVRational sar = s.VideoStream->sample_aspect_ratio.num > 0
                             ? s.VideoStream->sample_aspect_ratio
                             : s.VideoDecoder->sample_aspect_ratio;
  // A phone's picture is turned upright: the fit is of the turned picture,
  // and the texture is drawn turned into it.
  const int turn = s.VideoRotation;
  double aspect = playermath::DisplayAspect(sar.num > 0 && sar.den > 0 ? av_q2d(sar) : 1.0,
                                            s.TextureWidth, s.TextureHeight);
  if (SwapsSides(turn)) aspect = 1.0 / aspect;
  const playermath::TRect r = playermath::FitPicture(aspect, s.AreaX, s.AreaY, s.AreaW, s.AreaH);
  sdl::SDL_SetRenderDrawColor(s.Renderer, 0, 0, 0, 255);
  sdl::SDL_RenderClear(s.Renderer);
  if (turn == 0) {
    const SDL_Rect dst{r.X, r.Y, r.W, r.H};
    sdl::SDL_RenderCopy(s.Renderer, s.Texture, nullptr, &dst);
  } else {
    const playermath::TRect t = playermath::TurnedTarget(r, turn);
    const SDL_Rect dst{t.X, t.Y, t.W, t.H};
    sdl::SDL_RenderCopyEx(s.Renderer, s.Texture, nullptr, &dst, turn, nullptr, SDL_FLIP_NONE);
  }
  sdl::SDL_RenderPresent(s.Renderer);
}

void DrawWaveform(TPlaybackState& s) {
  if (!s.Renderer) return;
  const int c = std::max(1, s.AudioChannels);
  const int width = s.AreaW;
  {
    std::lock_guard lock(s.WaveLock);
    if (!s.Paused) {
      int pending = s.AudioPendingBytes / (2 * c);
      const std::int64_t last = s.LastCallbackUs;
      if (last > 0) pending += static_cast<int>((ff::av_gettime() - last) * s.AudioRate / 1000000);
      pending -= width / 2;
      pending = std::max(pending, width);
      int start = (s.RingWrite - pending * c) % WaveformRingSize;
      if (start < 0) start += WaveformRingSize;
      s.WaveStart = playermath::WaveformStart(s.Ring.data(), WaveformRingSize, start, c);
    }
  }
  sdl::SDL_SetRenderDrawColor(s.Renderer, 0, 0, 0, 255);
  SDL_Rect area{s.AreaX, s.AreaY, s.AreaW, s.AreaH};
  sdl::SDL_RenderFillRect(s.Renderer, &area);
  sdl::SDL_SetRenderDrawColor(s.Renderer, 255, 255, 255, 255);
  const int h = s.AreaH / c;
  const int scale = h * 9 / 20;
  {
    std::lock_guard lock(s.WaveLock);
    for (int ch = 0; ch < c; ++ch) {
      int pos = (s.WaveStart + ch) % WaveformRingSize;
      const int centre = s.AreaY + ch * h + h / 2;
      for (int x = 0; x < width; ++x) {
        const int y =
            static_cast<int>(std::floor(s.Ring[static_cast<std::size_t>(pos)] * scale / 32768.0));
        if (y != 0)
          sdl::SDL_RenderDrawLine(s.Renderer, s.AreaX + x, centre, s.AreaX + x, centre + y);
        pos = (pos + c) % WaveformRingSize;
      }
    }
  }
  for (int ch = 1; ch < c; ++ch) {
    const int y = s.AreaY + ch * h;
    sdl::SDL_RenderDrawLine(s.Renderer, s.AreaX, y, s.AreaX + s.AreaW - 1, y);
  }
  sdl::SDL_RenderPresent(s.Renderer);
}

// Copies a picture buffer into the texture. Only this thread uploads; the
// buffer is not written while it is queued.
void UploadPicture(TPlaybackState& s, int index) {
  if (!s.Texture) return;
  const int w = s.TextureWidth;
  const int h = s.TextureHeight;
  const int cw = (w + 1) / 2;
  const std::uint8_t* base = s.Picture.Buffer[index].data();
  sdl::SDL_UpdateYUVTexture(
      s.Texture, nullptr, base, w, base + static_cast<std::size_t>(w) * h, cw,
      base + static_cast<std::size_t>(w) * h + static_cast<std::size_t>(cw) * ((h + 1) / 2), cw);
}

void ShowQueuedPicture(TPlayerCore& core, TPlaybackState& s) {
  int index;
  double pts;
  {
    std::lock_guard lock(s.PictureLock);
    index = s.Picture.Queued;
    pts = s.Picture.Pts[index];
  }
  const double now = NowSeconds();
  double delay = playermath::FrameDelay(pts, s.LastPts, s.LastFrameDelay);
  s.LastFrameDelay = delay;
  s.LastPts = pts;
  const double master = AudioClock(s);
  if (s.AudioStreamIndex >= 0) delay = playermath::SyncDelay(delay, pts - master);
  // Pictures after the first second are judged against their sound. One
  // that comes too late (the machine stalled) is skipped: the next one is
  // already due and keeps picture and sound together.
  const bool judged = s.AudioStreamIndex >= 0 && pts > 1.0;
  const bool skip = judged && playermath::SkipLatePicture(master - pts, s.FrameDuration,
                                                          now - s.LastShownTime);
  int ms;
  {
    std::lock_guard lock(s.ClockLock);
    s.CurrentPts = pts;
    s.CurrentPtsTime = now;
    s.FrameTimer += delay;
    ms = playermath::RefreshDelayMs(s.FrameTimer, now);
  }
  ScheduleRefresh(s, skip ? 1 : ms);
  if (skip) {
    ++core.PicturesSkipped;
  } else {
    s.LastShownTime = now;
    UploadPicture(s, index);
    Draw(core, s);
    ++core.PicturesShown;
    if (judged && master - pts > s.FrameDuration) ++core.PicturesLate;
  }
  {
    std::lock_guard lock(s.PictureLock);
    if (!skip) s.Picture.Displayed = index;  // a skipped picture leaves the one on screen
    s.Picture.Count = 0;
  }
  s.PictureCond.notify_all();
}

}  // namespace

void AllocatePicture(TPlayerCore& core, TPlaybackState& s) {
  SetupVideoWindow(core, s);
  int w, h;
  {
    std::lock_guard lock(s.PictureLock);
    w = s.Picture.RequestedWidth;
    h = s.Picture.RequestedHeight;
  }
  if (s.Texture) sdl::SDL_DestroyTexture(s.Texture);
  s.Texture = nullptr;
  if (s.Renderer)
    s.Texture =
        sdl::SDL_CreateTexture(s.Renderer, SDL_PIXELFORMAT_IYUV, SDL_TEXTUREACCESS_STREAMING, w, h);
  s.TextureWidth = w;
  s.TextureHeight = h;
  const std::size_t bytes =
      static_cast<std::size_t>(w) * h + 2 * static_cast<std::size_t>((w + 1) / 2) * ((h + 1) / 2);
  {
    std::lock_guard lock(s.PictureLock);
    for (auto& buffer : s.Picture.Buffer) buffer.assign(bytes, 0);
    s.Picture.Width = w;
    s.Picture.Height = h;
    s.Picture.Displayed = -1;
    s.Picture.Allocated = true;
  }
  s.PictureCond.notify_all();
}

void Draw(TPlayerCore& core, TPlaybackState& s) {
  if (core.Player.DisableDisplay) return;
  SetupVideoWindow(core, s);
  if (s.ShowWaveform)
    DrawWaveform(s);
  else if (s.VideoStreamIndex >= 0)
    DrawPicture(s);
}

void Refresh(TPlayerCore& core, TPlaybackState& s) {
  if (s.VideoStreamIndex < 0) {
    if (s.AudioStreamIndex >= 0) {
      ScheduleRefresh(s, 40);
      Draw(core, s);
    } else {
      ScheduleRefresh(s, 100);
      return;
    }
  } else {
    bool queued;
    {
      std::lock_guard lock(s.PictureLock);
      queued = s.Picture.Count > 0;
    }
    // A paused player keeps its picture (and its clock) until it resumes.
    if (s.Paused)
      ScheduleRefresh(s, 10);
    else if (queued)
      ShowQueuedPicture(core, s);
    else
      ScheduleRefresh(s, 1);
  }
  core.ReportPosition(s);
}

void ReleaseScreen(TPlaybackState& s) {
  if (s.Texture) sdl::SDL_DestroyTexture(s.Texture);
  if (s.Renderer) sdl::SDL_DestroyRenderer(s.Renderer);
  if (s.Window) sdl::SDL_DestroyWindow(s.Window);
  s.Texture = nullptr;
  s.Renderer = nullptr;
  s.Window = nullptr;
}
}  // namespace trovenix::ffplay
