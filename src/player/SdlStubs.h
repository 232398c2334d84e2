// Entry points of SDL2 that the player uses, bound at run time by LoadSdl.
// Nothing calls SDL directly: every call goes through these variables.
#pragma once

#include <SDL2/SDL.h>

#define TROVENIX_SDL_ENTRY_POINTS(X) \
  X(SDL_Init)                        \
  X(SDL_Quit)                        \
  X(SDL_QuitSubSystem)               \
  X(SDL_GetError)                    \
  X(SDL_AddTimer)                    \
  X(SDL_RemoveTimer)                 \
  X(SDL_OpenAudioDevice)             \
  X(SDL_PauseAudioDevice)            \
  X(SDL_CloseAudioDevice)            \
  X(SDL_MixAudioFormat)              \
  X(SDL_QueueAudio)                  \
  X(SDL_GetQueuedAudioSize)          \
  X(SDL_LoadWAV_RW)                  \
  X(SDL_FreeWAV)                     \
  X(SDL_RWFromConstMem)              \
  X(SDL_PollEvent)                   \
  X(SDL_PushEvent)                   \
  X(SDL_EventState)                  \
  X(SDL_RegisterEvents)              \
  X(SDL_CreateWindow)                \
  X(SDL_CreateWindowFrom)            \
  X(SDL_DestroyWindow)               \
  X(SDL_CreateRenderer)              \
  X(SDL_DestroyRenderer)             \
  X(SDL_GetRendererOutputSize)       \
  X(SDL_SetRenderDrawColor)          \
  X(SDL_RenderClear)                 \
  X(SDL_RenderFillRect)              \
  X(SDL_RenderDrawLine)              \
  X(SDL_RenderCopy)                  \
  X(SDL_RenderCopyEx)                \
  X(SDL_RenderPresent)               \
  X(SDL_CreateTexture)               \
  X(SDL_DestroyTexture)              \
  X(SDL_UpdateYUVTexture)            \
  X(SDL_SetHint)                     \
  X(SDL_GetCurrentVideoDriver)

namespace sdl {
#define TROVENIX_DECLARE_SDL_ENTRY_POINT(name) extern decltype(&::name) name;
TROVENIX_SDL_ENTRY_POINTS(TROVENIX_DECLARE_SDL_ENTRY_POINT)
#undef TROVENIX_DECLARE_SDL_ENTRY_POINT
}  // namespace sdl
