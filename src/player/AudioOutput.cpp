// The audio side of a playback: decoding to signed 16-bit in SDL's audio
// callback, volume and mute, and the audio clock that leads the pictures.
#include <algorithm>
#include <cstring>
#include <mutex>

#include "media/AVCodecStubs.h"
#include "media/AVFormatStubs.h"
#include "media/AVUtilStubs.h"
#include "media/SwResampleStubs.h"
#include "player/FFPlay.h"
#include "player/FFPlayer.h"
#include "player/PlaybackParts.h"
#include "player/SdlStubs.h"

namespace trovenix::ffplay {
namespace {

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

}  // namespace

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
