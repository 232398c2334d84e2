// A short sound through SDL, played to its end before returning.
#include <chrono>
#include <thread>

#include "player/FFPlayer.h"
#include "player/SdlLoader.h"
#include "player/SdlStubs.h"

namespace trovenix {

bool PlayWavAndWait(const std::uint8_t* data, std::size_t size) {
  if (!SdlLoaded() || data == nullptr || size == 0 || size > 0x7fffffff) return false;
  // Audio only, released again by count: a playback running meanwhile keeps
  // its own audio device.
  if (sdl::SDL_Init(SDL_INIT_AUDIO) != 0) return false;
  bool played = false;
  SDL_AudioSpec format{};
  Uint8* buffer = nullptr;
  Uint32 length = 0;
  if (sdl::SDL_LoadWAV_RW(sdl::SDL_RWFromConstMem(data, static_cast<int>(size)), 1, &format, &buffer,
                          &length) != nullptr) {
    format.callback = nullptr;
    const SDL_AudioDeviceID device = sdl::SDL_OpenAudioDevice(nullptr, 0, &format, nullptr, 0);
    if (device != 0) {
      if (sdl::SDL_QueueAudio(device, buffer, length) == 0) {
        sdl::SDL_PauseAudioDevice(device, 0);
        const int bytesPerSecond =
            format.freq * format.channels * static_cast<int>(SDL_AUDIO_BITSIZE(format.format) / 8);
        const auto limit =
            std::chrono::steady_clock::now() + std::chrono::seconds(2) +
            std::chrono::milliseconds(bytesPerSecond > 0 ? 1000LL * length / bytesPerSecond : 0);
        while (sdl::SDL_GetQueuedAudioSize(device) > 0 && std::chrono::steady_clock::now() < limit)
          std::this_thread::sleep_for(std::chrono::milliseconds(10));
        // The device still holds its last buffer once the queue is empty.
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        played = true;
      }
      sdl::SDL_CloseAudioDevice(device);
    }
    sdl::SDL_FreeWAV(buffer);
  }
  sdl::SDL_QuitSubSystem(SDL_INIT_AUDIO);
  return played;
}

}  // namespace trovenix
