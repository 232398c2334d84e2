#include "player/SdlLoader.h"

#include <dlfcn.h>

#include <atomic>
#include <filesystem>
#include <mutex>
#include <stdexcept>

#include "player/SdlStubs.h"

namespace sdl {
#define TROVENIX_DEFINE_SDL_ENTRY_POINT(name) decltype(&::name) name = nullptr;
TROVENIX_SDL_ENTRY_POINTS(TROVENIX_DEFINE_SDL_ENTRY_POINT)
#undef TROVENIX_DEFINE_SDL_ENTRY_POINT
}  // namespace sdl

namespace trovenix {
namespace {

std::mutex LoadLock;
void* Handle = nullptr;
std::atomic<bool> Loaded{false};
std::string LastError;

template <class Function>
void Resolve(const std::string& fileName, const char* name, Function& variable) {
  dlerror();
  void* address = dlsym(Handle, name);
  if (address == nullptr) {
    const char* reason = dlerror();
    throw std::runtime_error(std::string("Load function ") + name + "@" + fileName +
                             " error: " + (reason ? reason : "symbol is null"));
  }
  variable = reinterpret_cast<Function>(address);
}

void ClearEntryPoints() {
#define TROVENIX_CLEAR_SDL(name) sdl::name = nullptr;
  TROVENIX_SDL_ENTRY_POINTS(TROVENIX_CLEAR_SDL)
#undef TROVENIX_CLEAR_SDL
}

}  // namespace

bool LoadSdl(const std::string& folder) {
  std::lock_guard lock(LoadLock);
  if (Loaded) return true;
  std::string dir = folder;
  if (!dir.empty() && dir.back() != '/') dir += '/';
  // SDL keeps threads and exit handlers of its own; it stays mapped.
  constexpr int flags = RTLD_NOW | RTLD_NODELETE;
  if (Handle == nullptr) {
    std::error_code ec;
    const std::filesystem::path inFolder = std::filesystem::path(dir) / SdlLibraryName;
    if (!dir.empty() && std::filesystem::is_regular_file(inFolder, ec))
      Handle = dlopen(inFolder.c_str(), flags);
    else
      Handle = dlopen(SdlLibraryName, flags);
    if (Handle == nullptr) {
      const char* reason = dlerror();
      LastError = std::string("Load library ") + dir + SdlLibraryName +
                  " error: " + (reason ? reason : "unknown error");
      return false;
    }
  }
  try {
#define TROVENIX_RESOLVE_SDL(name) Resolve(SdlLibraryName, #name, sdl::name);
    TROVENIX_SDL_ENTRY_POINTS(TROVENIX_RESOLVE_SDL)
#undef TROVENIX_RESOLVE_SDL
  } catch (const std::exception& e) {
    LastError = e.what();
    ClearEntryPoints();
    dlclose(Handle);
    Handle = nullptr;
    return false;
  }
  Loaded = true;
  return true;
}

bool SdlLoaded() {
  return Loaded;
}

std::string SdlLoadError() {
  std::lock_guard lock(LoadLock);
  return LastError;
}

}  // namespace trovenix
