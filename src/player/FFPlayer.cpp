#include "player/FFPlayer.h"

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "media/AVCodecStubs.h"
#include "media/AVFormatStubs.h"
#include "media/AVUtilStubs.h"
#include "media/FFmpegLoader.h"
#include "media/SwScaleStubs.h"
#include "player/FFPlay.h"
#include "player/PlayerCore.h"
#include "player/PlayerMath.h"
#include "player/SdlLoader.h"
#include "player/SdlStubs.h"

namespace trovenix {
namespace {

using namespace std::chrono_literals;

std::string Trim(const char* text) {
  std::string s = text ? text : "";
  const auto first = s.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return "";
  return s.substr(first, s.find_last_not_of(" \t\r\n") - first + 1);
}

}  // namespace

struct TCustomPlayer::TImpl : TPlayerCore {
  using TPlayerCore::TPlayerCore;
  std::thread PlayThread;
  std::thread::id PlayThreadId;
  std::atomic<bool> PlayThreadDone{true};
};

// ---------------------------------------------------------------- core

void TPlayerCore::SetLastError(const std::string& text) {
  std::lock_guard lock(ErrorLock);
  LastErrorText = text;
}

std::string TPlayerCore::LastError() const {
  std::lock_guard lock(ErrorLock);
  return LastErrorText;
}

void TPlayerCore::OnUi(const std::function<void()>& call) {
  if (Ui && !Ui->IsCurrent())
    Ui->Invoke(call);
  else
    call();
}

// A message raised while a file is being opened waits in the single slot
// for the opening caller; one raised during playback goes to the
// user-interface thread; one raised while nothing is opened or played is
// delivered at once on the raising thread, so nothing waits for a slot that
// no one empties.
void TPlayerCore::Log(TLogType type, const std::string& text, bool keep) {
  const bool handled = static_cast<bool>(Player.OnLog);
  if (handled) {
    std::unique_lock lock(LogLock);
    if (Phase == TPlayerPhase::Opening && std::this_thread::get_id() != Opener) {
      LogSlotFree.wait(lock, [&] { return !LogPending || Phase != TPlayerPhase::Opening; });
      if (Phase == TPlayerPhase::Opening) {
        LogPending = true;
        PendingType = type;
        PendingText = text;
        lock.unlock();
      } else {
        lock.unlock();
        OnUi([&] { Player.OnLog(Player, type, text); });
      }
    } else {
      const bool playing = Phase == TPlayerPhase::Playing;
      lock.unlock();
      if (playing)
        OnUi([&] { Player.OnLog(Player, type, text); });
      else
        Player.OnLog(Player, type, text);
    }
  }
  if ((type == TLogType::ltError && !handled) || keep) SetLastError(text);
}

void TPlayerCore::DeliverPending() {
  TLogType type;
  std::string text;
  {
    std::lock_guard lock(LogLock);
    if (!LogPending) return;
    LogPending = false;
    type = PendingType;
    text = std::move(PendingText);
  }
  LogSlotFree.notify_all();
  if (Player.OnLog) Player.OnLog(Player, type, text);
}

bool TPlayerCore::RunFrameHook(const AVFrame& frame, std::uint8_t* const planes[3],
                               const int strides[3], double pts) {
  if (!Player.Hook || !Player.OnHook) return false;
  FrameConverter& conv = HookConverter;
  if (conv.Bitmap && (conv.Bitmap->Width() != frame.width || conv.Bitmap->Height() != frame.height))
    conv.Bitmap.reset();
  TPicture source;
  for (int i = 0; i < 4; ++i) {
    source.data[i] = frame.data[i];
    source.linesize[i] = frame.linesize[i];
  }
  if (!PictureToBitmap(conv, source, frame.format, frame.height, frame.width)) {
    if (Player.OnLog)
      Player.OnLog(Player, TLogType::ltError, "Cannot initialize the toRGB conversion context");
    return false;
  }
  try {
    Player.OnHook(Player, *conv.Bitmap, std::llround(pts * 1000000.0) - StartTimeUs.load());
  } catch (const std::exception& e) {
    if (Player.OnLog)
      Player.OnLog(Player, TLogType::ltError, std::string("Error occurs OnHook: ") + e.what());
    return false;
  }
  conv.FromBitmapScaler.reset(ff::sws_getCachedContext(
      conv.FromBitmapScaler.release(), frame.width, frame.height,
      static_cast<AVPixelFormat>(conv.TargetFormat), frame.width, frame.height, AV_PIX_FMT_YUV420P,
      SWS_BICUBIC, nullptr, nullptr, nullptr));
  if (!conv.FromBitmapScaler) {
    if (Player.OnLog)
      Player.OnLog(Player, TLogType::ltError, "Cannot initialize the fromRGB conversion context");
    return false;
  }
  const std::uint8_t* rows[4] = {conv.Bitmap->Bits(), nullptr, nullptr, nullptr};
  const int rowStrides[4] = {conv.Bitmap->Stride(), 0, 0, 0};
  std::uint8_t* dst[4] = {planes[0], planes[1], planes[2], nullptr};
  const int dstStrides[4] = {strides[0], strides[1], strides[2], 0};
  ff::sws_scale(conv.FromBitmapScaler.get(), rows, rowStrides, 0, frame.height, dst, dstStrides);
  return true;
}

void TPlayerCore::ReportPosition(TPlaybackState& s) {
  if (s.Image2) return;
  const double clock = s.VideoStreamIndex >= 0 ? ffplay::VideoClock(s) : ffplay::AudioClock(s);
  const std::int64_t position = playermath::PlayPosition(clock, StartTimeUs, DurationUs);
  if (LastReportedUs < 0 || std::llabs(position - LastReportedUs) > 10000) {
    LastReportedUs = position;
    if (Player.OnPosition) OnUi([&] { Player.OnPosition(Player, position); });
  }
  if (EndReported || !s.EndOfFile) return;
  if (s.VideoQueue.Count() > 0 || s.AudioQueue.Count() > 0) return;
  if (s.VideoStreamIndex >= 0) {
    std::lock_guard lock(s.PictureLock);
    if (s.Picture.Count > 0) return;
  }
  EndReported = true;
  if (Player.OnState) Player.OnState(Player, TPlayState::psEnd);
}

// ---------------------------------------------------------------- player

TCustomPlayer::TCustomPlayer(IUiThread* ui) : impl_(std::make_unique<TImpl>(*this, ui)) {}

TCustomPlayer::~TCustomPlayer() {
  OnFileOpen = nullptr;
  OnHook = nullptr;
  OnLog = nullptr;
  OnPosition = nullptr;
  OnState = nullptr;
  Close(true);
}

bool TCustomPlayer::LoadLibraries(const std::string& folder) {
  FFLoader().SetLibraryPath(folder);
  if (!FFLoader().LoadLibrarySet(PlayerLibraries)) {
    impl_->Log(TLogType::ltError, FFLoader().GetLastLoadError(), true);
    return false;
  }
  if (!LoadSdl(folder)) {
    impl_->Log(TLogType::ltError, SdlLoadError(), true);
    return false;
  }
  return true;
}

bool TCustomPlayer::LibrariesLoaded() const {
  return FFLoader().LibrarySetLoaded(PlayerLibraries) && SdlLoaded();
}

bool TCustomPlayer::Open(const std::string& fileName, TNativeWindow window) {
  TImpl& d = *impl_;
  if (!FFLoader().LibrarySetLoaded(PlayerLibraries)) {
    d.Log(TLogType::ltError, "libav not loaded.", true);
    return false;
  }
  if (!SdlLoaded()) {
    d.Log(TLogType::ltError, "libsdl not loaded.", true);
    return false;
  }
  Close(true);

  if (sdl::SDL_Init(ffplay::PlayerSdlSystems) != 0) {
    d.Log(TLogType::ltError, "Could not initialize SDL: " + Trim(sdl::SDL_GetError()), true);
    return false;
  }
  if (window != 0) {
    // The picture is drawn into the panel's own X11 window; without an X
    // display (a Wayland session without XWayland) there is nothing to wrap.
    const char* driver = sdl::SDL_GetCurrentVideoDriver();
    if (!driver || std::strcmp(driver, "x11") != 0) {
      ffplay::QuitSdl();
      d.Log(TLogType::ltError,
            std::string("Could not initialize SDL: the picture needs an X11 display, the video "
                        "driver is ") +
                (driver ? driver : "none"),
            true);
      return false;
    }
  }
  if (!ffplay::RegisterEvents()) {
    ffplay::QuitSdl();
    d.Log(TLogType::ltError, "Could not initialize SDL: " + Trim(sdl::SDL_GetError()), true);
    return false;
  }
  if (DisableDisplay) DisableVideo = true;
  sdl::SDL_EventState(SDL_MOUSEMOTION, SDL_IGNORE);
  sdl::SDL_EventState(SDL_SYSWMEVENT, SDL_IGNORE);

  d.HostWindow = window;
  d.StartTimeUs = 0;
  d.DurationUs = 0;
  d.LastReportedUs = -1;
  d.EndReported = false;
  d.PicturesShown = 0;
  d.PicturesLate = 0;
  d.PicturesSkipped = 0;
  ResetFrameConverter(d.SnapshotConverter);
  ResetFrameConverter(d.HookConverter);
  ++d.Session;
  d.Opener = std::this_thread::get_id();
  d.Phase = TPlayerPhase::Opening;
  std::unique_ptr<TPlaybackState> state = ffplay::StreamOpen(d, fileName);
  auto leaveOpening = [&](TPlayerPhase next) {
    {
      std::lock_guard lock(d.LogLock);
      d.Phase = next;
    }
    d.LogSlotFree.notify_all();
    d.DeliverPending();
  };
  if (!state) {
    leaveOpening(TPlayerPhase::Idle);
    ffplay::QuitSdl();
    return false;
  }

  const AVFormatContext* ic = state->Input.get();
  d.StartTimeUs = ic->start_time == AV_NOPTS_VALUE ? 0 : ic->start_time;
  d.DurationUs = ic->duration == AV_NOPTS_VALUE ? -1 : ic->duration;
  if (OnFileOpen) {
    int frameWidth = -1, frameHeight = -1;
    if (state->VideoDecoder && state->VideoDecoder->width > 0) {
      frameWidth = state->VideoDecoder->width;
      frameHeight = state->VideoDecoder->height;
    }
    int screenWidth = ScreenWidth, screenHeight = ScreenHeight;
    OnFileOpen(*this, state->Image2 ? 0 : d.DurationUs.load(), frameWidth, frameHeight, screenWidth,
               screenHeight);
    ScreenWidth = screenWidth;
    ScreenHeight = screenHeight;
  }
  {
    std::lock_guard lock(d.StateLock);
    d.State = std::move(state);
  }
  leaveOpening(TPlayerPhase::Playing);
  d.PlayThreadDone = false;
  d.PlayThread = std::thread([this, &d] {
    if (OnState) OnState(*this, TPlayState::psPlay);
    ffplay::EventLoop(d);
    d.Phase = TPlayerPhase::Idle;
    if (OnState) OnState(*this, TPlayState::psStop);
    d.PlayThreadDone = true;
  });
  d.PlayThreadId = d.PlayThread.get_id();
  return true;
}

// Close(true) on the user-interface thread keeps serving that thread's
// pending calls while it waits: the player thread may be waiting there to
// deliver a position or a message.
void TCustomPlayer::Close(bool wait) {
  TImpl& d = *impl_;
  {
    std::lock_guard lock(d.StateLock);
    if (d.State) ffplay::PushQuit(d.State->Session);
  }
  if (!wait || !d.PlayThread.joinable()) return;
  if (std::this_thread::get_id() == d.PlayThreadId) return;  // cannot wait for itself
  while (!d.PlayThreadDone) {
    if (d.Ui && d.Ui->IsCurrent()) d.Ui->ProcessPending();
    std::this_thread::sleep_for(2ms);
  }
  d.PlayThread.join();
  std::unique_ptr<TPlaybackState> left;
  {
    std::lock_guard lock(d.StateLock);
    left = std::move(d.State);
  }
  if (left) ffplay::EndPlayback(std::move(left));
  d.Phase = TPlayerPhase::Idle;
}

void TCustomPlayer::TogglePause() {
  bool paused;
  {
    std::lock_guard lock(impl_->StateLock);
    if (!impl_->State) return;
    ffplay::TogglePause(*impl_->State);
    paused = impl_->State->Paused;
  }
  if (OnState) OnState(*this, paused ? TPlayState::psPause : TPlayState::psResume);
}

void TCustomPlayer::Seek(std::int64_t positionUs) {
  TImpl& d = *impl_;
  std::lock_guard lock(d.StateLock);
  if (!d.State) return;
  if (positionUs < 0) positionUs = 0;
  if (d.DurationUs > 0 && positionUs > d.DurationUs) positionUs = d.DurationUs;
  const AVFormatContext* ic = d.State->Input.get();
  if (ic->start_time != AV_NOPTS_VALUE) positionUs += ic->start_time;
  ffplay::RequestSeek(*d.State, positionUs, 0);
  // A seek back from the end plays on and ends again.
  d.EndReported = false;
}

const TBitmap& TCustomPlayer::CurrentFrame() {
  TImpl& d = *impl_;
  FrameConverter& conv = d.SnapshotConverter;
  std::lock_guard lock(d.StateLock);
  TPlaybackState* s = d.State.get();
  if (!s || s->VideoStreamIndex < 0) {
    if (!conv.Bitmap || conv.Bitmap->Width() != 0) conv.Bitmap = NewBitmap(0, 0);
    return *conv.Bitmap;
  }
  std::lock_guard pictureLock(s->PictureLock);
  int w = s->Picture.Width;
  int h = s->Picture.Height;
  if (w <= 0 || h <= 0) {
    w = std::max(0, s->VideoStream->codecpar->width);
    h = std::max(0, s->VideoStream->codecpar->height);
  }
  if (!conv.Bitmap || conv.Bitmap->Width() != w || conv.Bitmap->Height() != h)
    conv.Bitmap = NewBitmap(w, h);
  std::memset(conv.Bitmap->Bits(), 0, static_cast<std::size_t>(conv.Bitmap->Stride()) * h);
  const int shown = s->Picture.Displayed;
  if (shown >= 0 && w == s->Picture.Width && h == s->Picture.Height) {
    std::uint8_t* base = s->Picture.Buffer[shown].data();
    const int cw = (w + 1) / 2;
    TPicture picture;
    picture.data[0] = base;
    picture.data[1] = base + static_cast<std::size_t>(w) * h;
    picture.data[2] = picture.data[1] + static_cast<std::size_t>(cw) * ((h + 1) / 2);
    picture.linesize[0] = w;
    picture.linesize[1] = cw;
    picture.linesize[2] = cw;
    if (!PictureToBitmap(conv, picture, AV_PIX_FMT_YUV420P, h, w)) {
      conv.Bitmap = NewBitmap(0, 0);
    } else if (s->VideoRotation != 0) {
      // The snapshot shows the picture as the window does: upright.
      conv.Bitmap = std::make_unique<TBitmap>(TurnedBitmap(*conv.Bitmap, s->VideoRotation));
    }
  }
  return *conv.Bitmap;
}

bool TCustomPlayer::Playing() const {
  std::lock_guard lock(impl_->StateLock);
  return impl_->State != nullptr && impl_->Phase == TPlayerPhase::Playing;
}

bool TCustomPlayer::Paused() const {
  std::lock_guard lock(impl_->StateLock);
  return impl_->State != nullptr && impl_->State->Paused;
}

std::string TCustomPlayer::LastError() const {
  return impl_->LastError();
}

double TCustomPlayer::VideoClockSeconds() const {
  std::lock_guard lock(impl_->StateLock);
  if (!impl_->State || impl_->State->VideoStreamIndex < 0) return -1;
  return ffplay::VideoClock(*impl_->State);
}

double TCustomPlayer::AudioClockSeconds() const {
  std::lock_guard lock(impl_->StateLock);
  if (!impl_->State || impl_->State->AudioStreamIndex < 0) return -1;
  return ffplay::AudioClock(*impl_->State);
}

bool TCustomPlayer::WaveformShown() const {
  std::lock_guard lock(impl_->StateLock);
  return impl_->State != nullptr && impl_->State->ShowWaveform;
}

int TCustomPlayer::PicturesShown() const {
  return impl_->PicturesShown;
}
int TCustomPlayer::PicturesLate() const {
  return impl_->PicturesLate;
}
int TCustomPlayer::PicturesSkipped() const {
  return impl_->PicturesSkipped;
}

}  // namespace trovenix
