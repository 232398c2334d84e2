#include "player/FFPlay.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <mutex>

#include "media/AVCodecStubs.h"
#include "media/AVFormatStubs.h"
#include "media/AVUtilStubs.h"
#include "media/DisplayRotation.h"
#include "media/FFmpegLoader.h"
#include "media/OpenInput.h"
#include "media/ProbeTexts.h"
#include "media/SwResampleStubs.h"
#include "media/SwScaleStubs.h"
#include "player/FFPlayer.h"
#include "player/PlayerMath.h"
#include "player/SdlStubs.h"

namespace trovenix::ffplay {
namespace {

using namespace std::chrono_literals;

std::once_flag EventsOnce;
std::uint32_t FirstEvent = static_cast<std::uint32_t>(-1);

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

void Sleep(std::chrono::milliseconds ms) {
  std::this_thread::sleep_for(ms);
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

// One-shot refresh timer: the callback only pushes the refresh event.
Uint32 RefreshTimer(Uint32, void* param) {
  PushUserEvent(RefreshEvent(),
                static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(param)));
  return 0;
}

void ScheduleRefresh(TPlaybackState& state, int delayMs) {
  if (delayMs <= 0) delayMs = 1;
  sdl::SDL_AddTimer(static_cast<Uint32>(delayMs), RefreshTimer,
                    reinterpret_cast<void*>(static_cast<std::uintptr_t>(state.Session)));
}

int InterruptCallback(void* opaque) {
  return static_cast<TPlaybackState*>(opaque)->AbortRequest.load() ? 1 : 0;
}

void ApplyDecoderSettings(AVCodecContext& dec) {
  dec.workaround_bugs = 1;
  dec.err_recognition = 1;
  dec.error_concealment = 3;
  dec.debug = 0;
  dec.lowres = 0;
  dec.idct_algo = 0;
  dec.skip_frame = AVDISCARD_DEFAULT;
  dec.skip_idct = AVDISCARD_DEFAULT;
  dec.skip_loop_filter = AVDISCARD_DEFAULT;
  // The codec picks its own thread count.
  dec.thread_count = 0;
}

// ---------------------------------------------------------------- audio

bool MakeResampler(TPlaybackState& s, const AVFrame& frame) {
  AVChannelLayout out{};
  ff::av_channel_layout_default(&out, s.AudioChannels);
  AVChannelLayout in{};
  if (frame.ch_layout.nb_channels > 0)
    ff::av_channel_layout_copy(&in, &frame.ch_layout);
  else
    ff::av_channel_layout_default(&in, s.AudioDecoder->ch_layout.nb_channels);
  SwrContext* swr = nullptr;
  const int ret = ff::swr_alloc_set_opts2(&swr, &out, AV_SAMPLE_FMT_S16, s.AudioRate, &in,
                                          static_cast<AVSampleFormat>(frame.format),
                                          frame.sample_rate, 0, nullptr);
  ff::av_channel_layout_uninit(&in);
  ff::av_channel_layout_uninit(&out);
  s.Resampler.reset(swr);
  if (ret < 0 || !swr || ff::swr_init(swr) < 0) {
    s.Resampler.reset();
    return false;
  }
  return true;
}

// Converts a decoded frame to signed 16-bit in AudioBuffer; bytes or -1.
int ConvertAudio(TPlaybackState& s, const AVFrame& frame) {
  if (!s.Resampler && !MakeResampler(s, frame)) {
    char name[64] = {};
    ff::av_get_sample_fmt_string(name, sizeof name, static_cast<AVSampleFormat>(frame.format));
    std::string from = Trim(name);
    if (const auto blank = from.find(' '); blank != std::string::npos) from.resize(blank);
    s.Owner->Log(TLogType::ltError,
                 "Cannot convert " + from + " sample format to s16 sample format");
    return -1;
  }
  const int outSamples = ff::swr_get_out_samples(s.Resampler.get(), frame.nb_samples);
  if (outSamples < 0) return -1;
  const std::size_t need = static_cast<std::size_t>(outSamples) * 2 * s.AudioChannels;
  if (s.AudioBuffer.size() < need) s.AudioBuffer.resize(need);
  std::uint8_t* out[1] = {s.AudioBuffer.data()};
  const int got =
      ff::swr_convert(s.Resampler.get(), out, outSamples,
                      const_cast<const std::uint8_t**>(frame.extended_data), frame.nb_samples);
  if (got < 0) {
    s.Owner->Log(TLogType::ltError, "av_audio_convert() failed");
    return -1;
  }
  return got * 2 * s.AudioChannels;
}

// Decodes the next chunk of audio into AudioBuffer; its size or -1 (paused,
// aborted).
int DecodeAudioChunk(TPlaybackState& s) {
  for (;;) {
    if (s.AudioPacketPending) {
      const int ret = ff::avcodec_receive_frame(s.AudioDecoder.get(), s.AudioFrame.get());
      if (ret == 0) {
        const int bytes = ConvertAudio(s, *s.AudioFrame);
        ff::av_frame_unref(s.AudioFrame.get());
        if (bytes < 0) continue;
        s.AudioClock += static_cast<double>(bytes) / (2.0 * s.AudioChannels * s.AudioRate);
        return bytes;
      }
      s.AudioPacketPending = false;
    }
    if (s.Paused || s.AudioQueue.Aborted()) return -1;
    PacketPtr packet;
    if (s.AudioQueue.Get(packet, true) < 0) return -1;
    if (!packet || packet->size == 0) {
      ff::avcodec_flush_buffers(s.AudioDecoder.get());
      continue;
    }
    if (packet->pts != AV_NOPTS_VALUE)
      s.AudioClock = av_q2d(s.AudioStream->time_base) * static_cast<double>(packet->pts);
    if (ff::avcodec_send_packet(s.AudioDecoder.get(), packet.get()) < 0) continue;
    s.AudioPacketPending = true;
  }
}

void AudioCallback(void* opaque, Uint8* stream, int len) {
  auto& s = *static_cast<TPlaybackState*>(opaque);
  TCustomPlayer& player = s.Owner->Player;
  const std::int64_t callbackUs = ff::av_gettime();
  s.LastCallbackUs = callbackUs;
  std::memset(stream, 0, static_cast<std::size_t>(len));
  int liveBytes = 0;
  bool silence = false;
  while (len > 0) {
    if (s.AudioBufferIndex >= s.AudioBufferSize) {
      if (s.AudioQueue.Aborted()) break;
      int size = DecodeAudioChunk(s);
      if (size < 0) {
        // Silence while paused or without data.
        silence = true;
        size = 1024;
        if (s.AudioBuffer.size() < 1024) s.AudioBuffer.resize(1024);
        std::memset(s.AudioBuffer.data(), 0, 1024);
      } else if (s.ShowWaveform) {
        std::lock_guard lock(s.WaveLock);
        const auto* samples = reinterpret_cast<const std::int16_t*>(s.AudioBuffer.data());
        for (int i = 0; i < size / 2; ++i) {
          s.Ring[static_cast<std::size_t>(s.RingWrite)] = samples[i];
          s.RingWrite = (s.RingWrite + 1) % WaveformRingSize;
        }
      }
      s.AudioBufferSize = size;
      s.AudioBufferIndex = 0;
    }
    const int n = std::min(len, s.AudioBufferSize - s.AudioBufferIndex);
    if (!player.Mute)
      sdl::SDL_MixAudioFormat(stream, s.AudioBuffer.data() + s.AudioBufferIndex, AUDIO_S16SYS,
                              static_cast<Uint32>(n),
                              std::clamp(player.AudioVolume.load(), 0, 128));
    len -= n;
    stream += n;
    s.AudioBufferIndex += n;
    liveBytes += n;
  }
  const double bytesPerSecond = 2.0 * s.AudioChannels * s.AudioRate;
  {
    std::lock_guard lock(s.AudioClockLock);
    s.AudioClockEnd = s.AudioClock - (s.AudioBufferSize - s.AudioBufferIndex) / bytesPerSecond;
    s.AudioClockUs = callbackUs;
    s.AudioClockSpan = silence ? 0.0 : liveBytes / bytesPerSecond;
  }
  s.AudioPendingBytes = s.AudioBufferSize - s.AudioBufferIndex;
}

// ---------------------------------------------------------------- video

int OutputPicture(TPlaybackState& s, const AVFrame& frame, double pts) {
  if (pts != 0)
    s.VideoPtsClock = pts;
  else
    pts = s.VideoPtsClock;
  s.VideoPtsClock += s.FrameDuration + frame.repeat_pict * (s.FrameDuration * 0.5);

  int target = 0;
  {
    std::unique_lock lock(s.PictureLock);
    s.PictureCond.wait(lock, [&] { return s.Picture.Count < 1 || s.VideoQueue.Aborted(); });
    if (s.VideoQueue.Aborted()) return -1;
    if (!s.Picture.Allocated || s.Picture.Width != frame.width ||
        s.Picture.Height != frame.height) {
      s.Picture.Allocated = false;
      s.Picture.RequestedWidth = frame.width;
      s.Picture.RequestedHeight = frame.height;
      PushUserEvent(AllocEvent(), s.Session);
      s.PictureCond.wait(lock, [&] { return s.Picture.Allocated || s.VideoQueue.Aborted(); });
      if (s.VideoQueue.Aborted()) return -1;
    }
    target = s.Picture.Displayed == 0 ? 1 : 0;
  }
  // The target buffer is not on screen, and the player thread does not touch
  // it until the picture is queued below.
  const int w = s.Picture.Width;
  const int h = s.Picture.Height;
  const int cw = (w + 1) / 2;
  const int ch = (h + 1) / 2;
  std::uint8_t* base = s.Picture.Buffer[target].data();
  std::uint8_t* planes[3] = {
      base, base + static_cast<std::size_t>(w) * h,
      base + static_cast<std::size_t>(w) * h + static_cast<std::size_t>(cw) * ch};
  const int strides[3] = {w, cw, cw};
  if (!s.Owner->RunFrameHook(frame, planes, strides, pts)) {
    s.Scaler.reset(
        ff::sws_getCachedContext(s.Scaler.release(), w, h, static_cast<AVPixelFormat>(frame.format),
                                 w, h, AV_PIX_FMT_YUV420P, SWS_BICUBIC, nullptr, nullptr, nullptr));
    if (!s.Scaler) {
      s.Owner->Log(TLogType::ltError, "Cannot initialize the conversion context.");
      return -1;
    }
    ff::sws_scale(s.Scaler.get(), frame.data, frame.linesize, 0, h, planes, strides);
  }
  {
    std::lock_guard lock(s.PictureLock);
    s.Picture.Pts[target] = pts;
    s.Picture.Queued = target;
    s.Picture.Count = 1;
  }
  return 0;
}

// Sends one packet (null: drain) and outputs every picture it gives.
int DecodeVideoPacket(TPlaybackState& s, AVPacket* packet, AVFrame* frame) {
  if (ff::avcodec_send_packet(s.VideoDecoder.get(), packet) < 0 && packet != nullptr) return 0;
  for (;;) {
    const int ret = ff::avcodec_receive_frame(s.VideoDecoder.get(), frame);
    if (ret < 0) return 0;
    if (frame->width <= 0 || frame->height <= 0) {
      ff::av_frame_unref(frame);
      continue;
    }
    std::int64_t ts = frame->best_effort_timestamp;
    if (ts == AV_NOPTS_VALUE) ts = frame->pkt_dts;
    const double pts =
        ts == AV_NOPTS_VALUE ? 0.0 : static_cast<double>(ts) * av_q2d(s.VideoStream->time_base);
    const int out = OutputPicture(s, *frame, pts);
    ff::av_frame_unref(frame);
    if (out < 0) return -1;
  }
}

void VideoThread(TPlaybackState* sp) {
  TPlaybackState& s = *sp;
  FramePtr frame(ff::av_frame_alloc());
  if (!frame) return;
  for (;;) {
    while (s.Paused && !s.VideoQueue.Aborted()) Sleep(10ms);
    PacketPtr packet;
    if (s.VideoQueue.Get(packet, true) < 0) break;
    if (!packet) {
      ff::avcodec_flush_buffers(s.VideoDecoder.get());
      continue;
    }
    if (packet->size == 0) {
      // The end of the input: the decoder gives up the pictures it still
      // holds, then starts afresh for the next end marker or a seek.
      if (DecodeVideoPacket(s, nullptr, frame.get()) < 0) break;
      ff::avcodec_flush_buffers(s.VideoDecoder.get());
      continue;
    }
    if (DecodeVideoPacket(s, packet.get(), frame.get()) < 0) break;
  }
}

// ---------------------------------------------------------------- streams

bool OpenComponent(TPlaybackState& s, int index) {
  AVFormatContext* ic = s.Input.get();
  AVStream* st = ic->streams[index];
  const AVCodec* codec = ff::avcodec_find_decoder(st->codecpar->codec_id);
  CodecContextPtr dec(ff::avcodec_alloc_context3(codec));
  bool opened = false;
  if (codec && dec && ff::avcodec_parameters_to_context(dec.get(), st->codecpar) >= 0) {
    dec->pkt_timebase = st->time_base;
    ApplyDecoderSettings(*dec);
    std::lock_guard lock(CodecLock());
    opened = ff::avcodec_open2(dec.get(), codec, nullptr) >= 0;
  }
  if (!opened) {
    s.Owner->Log(TLogType::ltError, "avcodec_open() failed.");
    return false;
  }
  if (dec->codec_type == AVMEDIA_TYPE_AUDIO) {
    const int channels = dec->ch_layout.nb_channels;
    if (dec->sample_rate <= 0 || channels <= 0) {
      s.Owner->Log(TLogType::ltError, "avcodec_open() failed.");
      return false;
    }
    SDL_AudioSpec wanted{};
    SDL_AudioSpec obtained{};
    wanted.freq = dec->sample_rate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = static_cast<Uint8>(channels == 1 ? 1 : 2);
    wanted.silence = 0;
    wanted.samples = AudioDeviceSamples;
    wanted.callback = AudioCallback;
    wanted.userdata = &s;
    s.AudioChannels = wanted.channels;
    s.AudioRate = wanted.freq;
    s.AudioFrame.reset(ff::av_frame_alloc());
    s.AudioDecoder = std::move(dec);
    s.AudioStream = st;
    s.AudioStreamIndex = index;
    s.AudioStartUs = st->start_time == AV_NOPTS_VALUE
                         ? -1
                         : ff::av_rescale_q(st->start_time, st->time_base, AVRational{1, 1000000});
    s.AudioQueue.Reset();
    s.AudioDevice = sdl::SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (s.AudioDevice == 0) {
      s.Owner->Log(TLogType::ltError, "SDL_OpenAudio() failed: " + Trim(sdl::SDL_GetError()));
      s.AudioDecoder.reset();
      s.AudioStream = nullptr;
      s.AudioStreamIndex = -1;
      s.AudioStartUs = -1;
      return false;
    }
    s.AudioHardwareBufferSize = static_cast<int>(obtained.size);
    st->discard = AVDISCARD_DEFAULT;
    sdl::SDL_PauseAudioDevice(s.AudioDevice, 0);
    return true;
  }
  if (dec->codec_type == AVMEDIA_TYPE_VIDEO) {
    s.VideoDecoder = std::move(dec);
    s.VideoStream = st;
    s.VideoRotation = DisplayRotationDegrees(*st);
    s.VideoStreamIndex = index;
    st->discard = AVDISCARD_DEFAULT;
    AVRational rate = st->avg_frame_rate.num > 0 ? st->avg_frame_rate : st->r_frame_rate;
    s.FrameDuration =
        rate.num > 0 && rate.den > 0 ? av_q2d(AVRational{rate.den, rate.num}) : InitialFrameDelay;
    if (!(s.FrameDuration > 0.0 && s.FrameDuration < 2.0)) s.FrameDuration = InitialFrameDelay;
    {
      std::lock_guard lock(s.ClockLock);
      s.LastFrameDelay = InitialFrameDelay;
      s.FrameTimer = NowSeconds();
      s.CurrentPtsTime = NowSeconds();
    }
    s.VideoQueue.Reset();
    s.VideoThread = std::thread(VideoThread, &s);
    return true;
  }
  return false;
}

void CloseComponents(TPlaybackState& s) {
  if (s.AudioStreamIndex >= 0) {
    s.AudioQueue.Abort();
    if (s.AudioDevice != 0) sdl::SDL_CloseAudioDevice(s.AudioDevice);
    s.AudioDevice = 0;
    s.AudioQueue.Flush();
    s.Resampler.reset();
    s.AudioStream->discard = AVDISCARD_ALL;
    {
      std::lock_guard lock(CodecLock());
      s.AudioDecoder.reset();
    }
    s.AudioStream = nullptr;
    s.AudioStreamIndex = -1;
    s.AudioStartUs = -1;
  }
  if (s.VideoStreamIndex >= 0) {
    s.VideoQueue.Abort();
    { std::lock_guard lock(s.PictureLock); }
    s.PictureCond.notify_all();
    if (s.VideoThread.joinable()) s.VideoThread.join();
    s.VideoQueue.Flush();
    s.VideoStream->discard = AVDISCARD_ALL;
    {
      std::lock_guard lock(CodecLock());
      s.VideoDecoder.reset();
    }
    s.VideoStream = nullptr;
    s.VideoRotation = 0;
    s.VideoStreamIndex = -1;
  }
}

void HandleSeek(TPlaybackState& s) {
  std::int64_t target;
  int flags;
  {
    std::lock_guard lock(s.SeekLock);
    target = s.SeekTarget;
    flags = s.SeekFlags;
  }
  int index = s.VideoStreamIndex >= 0 ? s.VideoStreamIndex : s.AudioStreamIndex;
  if (index >= 0)
    target = ff::av_rescale_q(target, AVRational{1, 1000000}, s.Input->streams[index]->time_base);
  if (ff::av_seek_frame(s.Input.get(), index, target, flags) < 0) {
    s.Owner->Log(TLogType::ltError, s.FileName + ": error while seeking");
  } else {
    if (s.AudioStreamIndex >= 0) {
      s.AudioQueue.Flush();
      s.AudioQueue.PutFlushMarker();
    }
    if (s.VideoStreamIndex >= 0) {
      s.VideoQueue.Flush();
      s.VideoQueue.PutFlushMarker();
    }
  }
  s.ReadErrorLogged = false;
  s.EndOfFile = false;
  s.SeekRequest = false;
}

void ReadLoop(TPlaybackState& s) {
  PacketPtr packet(ff::av_packet_alloc());
  if (!packet) return;
  while (!s.AbortRequest) {
    if (s.Paused != s.LastPaused) {
      s.LastPaused = s.Paused;
      if (s.LastPaused)
        ff::av_read_pause(s.Input.get());
      else
        ff::av_read_play(s.Input.get());
    }
    if (s.SeekRequest) HandleSeek(s);
    if (s.AudioQueue.Size() > AudioQueueLimit || s.VideoQueue.Size() > VideoQueueLimit) {
      Sleep(10ms);
      continue;
    }
    AVIOContext* pb = s.Input->pb;
    if ((pb && pb->eof_reached) || s.EndOfFile) {
      if (s.VideoStreamIndex >= 0) {
        AVPacket* empty = ff::av_packet_alloc();
        PacketPtr end(empty);
        if (end) {
          end->stream_index = s.VideoStreamIndex;
          s.VideoQueue.Put(end.get());
        }
      }
      s.EndOfFile = true;
      Sleep(10ms);
      continue;
    }
    const int ret = ff::av_read_frame(s.Input.get(), packet.get());
    if (ret < 0) {
      if (!s.Image2 && !s.ReadErrorLogged) {
        s.Owner->Log(TLogType::ltError, s.FileName + ": error or end of file");
        s.ReadErrorLogged = true;
      }
      if (ret == AVERROR_EOF || ret == -32) s.EndOfFile = true;
      if (pb && pb->error) break;
      if (!s.EndOfFile) Sleep(100ms);
      continue;
    }
    if (packet->stream_index == s.AudioStreamIndex)
      s.AudioQueue.Put(packet.get());
    else if (packet->stream_index == s.VideoStreamIndex)
      s.VideoQueue.Put(packet.get());
    ff::av_packet_unref(packet.get());
  }
}

void DecodeThread(TPlaybackState* sp) {
  TPlaybackState& s = *sp;
  TPlayerCore& core = *s.Owner;
  TCustomPlayer& player = core.Player;
  bool ok = false;
  do {
    AVFormatContext* ic = ff::avformat_alloc_context();
    if (!ic) break;
    ic->interrupt_callback.callback = InterruptCallback;
    ic->interrupt_callback.opaque = &s;
    AVDictionary* options = nullptr;
    if (player.FrameWidth > 0 && player.FrameHeight > 0) {
      const std::string size = std::to_string(player.FrameWidth.load()) + "x" +
                               std::to_string(player.FrameHeight.load());
      ff::av_dict_set(&options, "video_size", size.c_str(), 0);
    }
    ff::av_dict_set(&options, "framerate", "25", 0);
    const int err = ff::avformat_open_input(&ic, s.FileName.c_str(), nullptr, &options);
    ff::av_dict_free(&options);
    if (err < 0) {
      core.SetLastError(OpenErrorText(s.FileName, RefineOpenError(s.FileName, nullptr, err)));
      break;
    }
    s.Input.reset(ic);
    int info;
    {
      std::lock_guard lock(CodecLock());
      info = ff::avformat_find_stream_info(ic, nullptr);
    }
    if (info < 0) {
      core.SetLastError(StreamInfoErrorText(s.FileName));
      break;
    }
    s.Image2 = ic->iformat && ic->iformat->name && std::strcmp(ic->iformat->name, "image2") == 0;
    int audio = -1;
    int video = -1;
    for (unsigned i = 0; i < ic->nb_streams; ++i) {
      AVStream* st = ic->streams[i];
      st->discard = AVDISCARD_ALL;
      const auto type = st->codecpar->codec_type;
      if (type == AVMEDIA_TYPE_AUDIO && audio < 0 && !player.DisableAudio)
        audio = static_cast<int>(i);
      if (type == AVMEDIA_TYPE_VIDEO && video < 0 && !player.DisableVideo &&
          !(st->disposition & AV_DISPOSITION_ATTACHED_PIC))
        video = static_cast<int>(i);
    }
    if (audio >= 0) OpenComponent(s, audio);
    if (video >= 0) OpenComponent(s, video);
    if (s.VideoStreamIndex < 0 && !player.DisableDisplay) s.ShowWaveform = true;
    if (s.AudioStreamIndex < 0 && s.VideoStreamIndex < 0) {
      core.SetLastError(s.FileName + ": could not open codecs, no stream to play.");
      break;
    }
    ok = true;
  } while (false);

  if (ok) {
    s.Status = 1;
    ReadLoop(s);
    while (!s.AbortRequest) Sleep(100ms);
  }
  if (s.Status != 1) s.Status = -1;
  CloseComponents(s);
  s.Input.reset();
  if (!ok) {
    PushQuit(s.Session);
    s.Status = -2;
  }
}

// ---------------------------------------------------------------- screen

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

void Draw(TPlayerCore& core, TPlaybackState& s) {
  if (core.Player.DisableDisplay) return;
  SetupVideoWindow(core, s);
  if (s.ShowWaveform)
    DrawWaveform(s);
  else if (s.VideoStreamIndex >= 0)
    DrawPicture(s);
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
  // A picture that comes too late for its sound (the machine stalled) is
  // skipped: the next one is already due and keeps picture and sound together.
  const bool skip = s.AudioStreamIndex >= 0 && pts > 1.0 &&
                    playermath::SkipLatePicture(master - pts, s.FrameDuration,
                                                now - s.LastShownTime);
  int ms;
  {
    std::lock_guard lock(s.ClockLock);
    s.CurrentPts = pts;
    s.CurrentPtsTime = now;
    s.FrameTimer += delay;
    ms = playermath::RefreshDelayMs(s.FrameTimer, now);
  }
  if (skip) {
    ScheduleRefresh(s, 1);
    ++core.PicturesSkipped;
    {
      std::lock_guard lock(s.PictureLock);
      s.Picture.Count = 0;  // the picture on screen stays
    }
    s.PictureCond.notify_all();
    return;
  }
  ScheduleRefresh(s, ms);
  s.LastShownTime = now;
  if (s.Texture) {
    // Only this thread uploads; the buffer is not written while queued.
    const int w = s.TextureWidth;
    const int h = s.TextureHeight;
    const int cw = (w + 1) / 2;
    const std::uint8_t* base = s.Picture.Buffer[index].data();
    sdl::SDL_UpdateYUVTexture(
        s.Texture, nullptr, base, w, base + static_cast<std::size_t>(w) * h, cw,
        base + static_cast<std::size_t>(w) * h + static_cast<std::size_t>(cw) * ((h + 1) / 2), cw);
  }
  Draw(core, s);
  ++core.PicturesShown;
  if (s.AudioStreamIndex >= 0 && pts > 1.0 && master - pts > s.FrameDuration) ++core.PicturesLate;
  {
    std::lock_guard lock(s.PictureLock);
    s.Picture.Displayed = index;
    s.Picture.Count = 0;
  }
  s.PictureCond.notify_all();
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

}  // namespace

void QuitSdl() {
  sdl::SDL_QuitSubSystem(PlayerSdlSystems);
}

bool RegisterEvents() {
  std::call_once(EventsOnce, [] { FirstEvent = sdl::SDL_RegisterEvents(3); });
  return FirstEvent != static_cast<std::uint32_t>(-1);
}

void PushQuit(std::uint32_t session) {
  PushUserEvent(QuitEvent(), session);
}

std::unique_ptr<TPlaybackState> StreamOpen(TPlayerCore& core, const std::string& fileName) {
  auto state = std::make_unique<TPlaybackState>();
  state->Owner = &core;
  state->Session = core.Session;
  state->FileName = fileName.substr(0, 1023);
  state->Ring.assign(WaveformRingSize, 0);
  state->AudioBuffer.resize(288000);
  ScheduleRefresh(*state, 40);
  try {
    state->DecodeThread = std::thread(DecodeThread, state.get());
  } catch (const std::system_error&) {
    core.Log(TLogType::ltError, "SDL_CreateThread() failed.");
    return nullptr;
  }
  while (state->Status == 0) {
    core.DeliverPending();
    Sleep(10ms);
  }
  if (state->Status != 1) {
    while (state->Status != -2) {
      core.DeliverPending();
      Sleep(10ms);
    }
    state->DecodeThread.join();
    core.DeliverPending();
    return nullptr;
  }
  return state;
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

// The device plays what a callback handed it from the moment the callback
// ran, so the clock moves on smoothly between callbacks instead of stepping
// by a whole device buffer; after silence (paused, nothing decoded) it stands.
double AudioClock(const TPlaybackState& s) {
  const std::int64_t now = ff::av_gettime();
  std::lock_guard lock(s.AudioClockLock);
  if (s.AudioClockSpan <= 0) return s.AudioClockEnd;
  const double played = std::clamp(static_cast<double>(now - s.AudioClockUs) / 1e6, 0.0, s.AudioClockSpan);
  return s.AudioClockEnd - s.AudioClockSpan + played;
}

}  // namespace trovenix::ffplay
