// Everything one playback holds while a file is open: the input, the two
// packet queues, the decoders, the picture queue of one and the clocks.
// Shared between the player thread, the decode thread, the video thread and
// SDL's audio and timer threads; each group of fields says who guards it.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "media/MediaPtr.h"
#include "player/PacketQueue.h"

extern "C" {
struct AVStream;
struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
}

namespace trovenix {

struct TPlayerCore;

inline constexpr int AudioQueueLimit = 81920;
inline constexpr int VideoQueueLimit = 1310720;
inline constexpr int AudioDeviceSamples = 1024;
inline constexpr int WaveformRingSize = 131072;
inline constexpr double InitialFrameDelay = 0.04;

// A decoded picture in planar YUV 4:2:0, kept twice: the video thread fills
// one buffer while the other holds the picture on screen.
struct TPictureSlot {
  std::vector<std::uint8_t> Buffer[2];
  double Pts[2] = {};
  int Width = 0;
  int Height = 0;
  int RequestedWidth = 0;
  int RequestedHeight = 0;
  bool Allocated = false;
  int Queued = 0;      // buffer of the queued picture (when Count is 1)
  int Displayed = -1;  // buffer on screen, -1 before the first picture
  int Count = 0;
};

struct TPlaybackState {
  TPlayerCore* Owner = nullptr;
  std::uint32_t Session = 0;
  std::string FileName;
  InputContextPtr Input;
  bool Image2 = false;

  // 0 opening, 1 running, -1 failed, -2 failed and cleaned up.
  std::atomic<int> Status{0};
  std::atomic<bool> AbortRequest{false};
  std::atomic<bool> Paused{false};
  bool LastPaused = false;  // decode thread only

  std::mutex SeekLock;
  std::atomic<bool> SeekRequest{false};
  std::int64_t SeekTarget = 0;  // SeekLock
  int SeekFlags = 0;            // SeekLock
  std::atomic<bool> EndOfFile{false};
  bool ReadErrorLogged = false;  // decode thread only

  // Audio: opened by the decode thread, then used by SDL's audio thread.
  int AudioStreamIndex = -1;
  AVStream* AudioStream = nullptr;
  CodecContextPtr AudioDecoder;
  TPacketQueue AudioQueue;
  ResamplerPtr Resampler;
  FramePtr AudioFrame;
  bool AudioPacketPending = false;
  std::vector<std::uint8_t> AudioBuffer;
  int AudioBufferSize = 0;
  int AudioBufferIndex = 0;
  double AudioClock = 0;  // end of the decoded audio, seconds
  // What the last callback handed to the device: the clock at its end, when
  // the callback ran and how long that audio plays (0 when it held silence).
  mutable std::mutex AudioClockLock;
  double AudioClockEnd = 0;
  std::int64_t AudioClockUs = 0;
  double AudioClockSpan = 0;
  std::atomic<int> AudioPendingBytes{0};
  int AudioChannels = 0;
  int AudioRate = 0;
  std::uint32_t AudioDevice = 0;
  int AudioHardwareBufferSize = 0;
  std::int64_t AudioStartUs = -1;
  std::atomic<std::int64_t> LastCallbackUs{0};

  // Waveform ring, written by the audio thread, drawn by the player thread.
  std::mutex WaveLock;
  std::vector<std::int16_t> Ring;
  int RingWrite = 0;
  std::atomic<bool> ShowWaveform{false};
  int WaveStart = 0;

  // Video.
  int VideoStreamIndex = -1;
  AVStream* VideoStream = nullptr;
  // Degrees clockwise the pictures are turned when drawn, as the stream's
  // display matrix asks.
  std::atomic<int> VideoRotation{0};
  CodecContextPtr VideoDecoder;
  TPacketQueue VideoQueue;
  ScalerPtr Scaler;          // video thread
  double VideoPtsClock = 0;  // video thread: predicted time of the next picture
  double FrameDuration = InitialFrameDelay;

  std::mutex PictureLock;
  std::condition_variable PictureCond;
  TPictureSlot Picture;

  // Presentation clock: ClockLock.
  std::mutex ClockLock;
  double FrameTimer = 0;
  double CurrentPts = 0;
  double CurrentPtsTime = 0;
  // Player thread only.
  double LastFrameDelay = InitialFrameDelay;
  double LastPts = 0;
  double LastShownTime = 0;

  // Screen: player thread only.
  SDL_Window* Window = nullptr;
  SDL_Renderer* Renderer = nullptr;
  SDL_Texture* Texture = nullptr;
  int TextureWidth = 0;
  int TextureHeight = 0;
  int AreaX = 0, AreaY = 0, AreaW = 0, AreaH = 0;
  bool VideoModeFailed = false;

  std::thread DecodeThread;
  std::thread VideoThread;
};

}  // namespace trovenix
