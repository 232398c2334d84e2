// The decode thread: opens the input and its decoders, reads packets into
// the two queues, seeks and pauses the reading; and the opening handshake
// with the caller.
#include <chrono>
#include <cstring>
#include <mutex>

#include "media/AVCodecStubs.h"
#include "media/AVFormatStubs.h"
#include "media/AVUtilStubs.h"
#include "media/DisplayRotation.h"
#include "media/FFmpegLoader.h"
#include "media/OpenInput.h"
#include "media/ProbeTexts.h"
#include "player/FFPlay.h"
#include "player/FFPlayer.h"
#include "player/PlaybackParts.h"
#include "player/SdlStubs.h"

namespace trovenix::ffplay {

using namespace std::chrono_literals;

namespace {

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

}  // namespace

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

}  // namespace trovenix::ffplay
