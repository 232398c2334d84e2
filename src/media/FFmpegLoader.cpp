#include "media/FFmpegLoader.h"

#include <dlfcn.h>
#include <unistd.h>

#include <array>
#include <cfenv>
#include <filesystem>
#include <stdexcept>

extern "C" {
#include <libavcodec/version_major.h>
#include <libavdevice/version_major.h>
#include <libavfilter/version_major.h>
#include <libavformat/version_major.h>
#include <libavutil/version.h>
#include <libswresample/version_major.h>
#include <libswscale/version_major.h>
}

#include "media/EntryPoints.h"

namespace trovenix {
namespace {

struct TLibraryItem {
  const char* Name;
  int Version;  // major version of the headers we compile against; -1 = none
  entry_points::LoadProc LoadProc;
  entry_points::UnloadProc UnloadProc;
};

struct TLibraryStatus {
  void* Handle = nullptr;
  bool Loaded = false;
};

namespace ep = entry_points;
const std::array<TLibraryItem, LibraryCount> LibraryTable{{
    {"avcodec", LIBAVCODEC_VERSION_MAJOR, ep::LoadAVCodec, ep::UnloadAVCodec},
    {"avdevice", LIBAVDEVICE_VERSION_MAJOR, ep::LoadAVDevice, ep::UnloadAVDevice},
    {"avfilter", LIBAVFILTER_VERSION_MAJOR, ep::LoadAVFilter, ep::UnloadAVFilter},
    {"avformat", LIBAVFORMAT_VERSION_MAJOR, ep::LoadAVFormat, ep::UnloadAVFormat},
    {"avutil", LIBAVUTIL_VERSION_MAJOR, ep::LoadAVUtil, ep::UnloadAVUtil},
    {"swscale", LIBSWSCALE_VERSION_MAJOR, ep::LoadSwScale, ep::UnloadSwScale},
    {"myutil", -1, ep::LoadMyUtil, ep::UnloadMyUtil},
    {"swresample", LIBSWRESAMPLE_VERSION_MAJOR, ep::LoadSwResample, ep::UnloadSwResample},
}};

std::array<TLibraryStatus, LibraryCount> LibraryState;
std::string LibraryPath;
std::string LastLoadError;

// The program runs with every floating-point exception masked and rounding to
// nearest, whatever its caller set up; the caller's environment comes back
// when the program ends.
class FloatingPointEnvironment {
 public:
  FloatingPointEnvironment() {
    std::fegetenv(&saved_);
    std::fesetround(FE_TONEAREST);
    fedisableexcept(FE_ALL_EXCEPT);
  }
  ~FloatingPointEnvironment() { std::fesetenv(&saved_); }
  FloatingPointEnvironment(const FloatingPointEnvironment&) = delete;
  FloatingPointEnvironment& operator=(const FloatingPointEnvironment&) = delete;

 private:
  std::fenv_t saved_{};
};
const FloatingPointEnvironment FloatingPointSettings;

void RequireMembers(TLibrarySet set) {
  if (set.Empty()) throw std::invalid_argument("Assertion failure");
}

std::string DlErrorText() {
  const char* text = dlerror();
  return text ? text : "unknown error";
}

// Loads a file from the folder when the folder holds it, else by bare name
// through the dynamic loader's default search. A library built for bundling
// finds its own dependencies in its folder through its run path ($ORIGIN).
//
// Modules stay mapped after their handle is closed (RTLD_NODELETE): the media
// libraries pull in system libraries that start threads and register exit
// handlers, which must not outlive their code.
void* LoadLibraryFrom(const std::string& folder, const std::string& fileName) {
  constexpr int flags = RTLD_NOW | RTLD_NODELETE;
  if (!folder.empty()) {
    std::error_code ec;
    const std::filesystem::path path = std::filesystem::path(folder) / fileName;
    if (std::filesystem::is_regular_file(path, ec)) return dlopen(path.c_str(), flags);
  }
  return dlopen(fileName.c_str(), flags);
}

}  // namespace

std::atomic<int> LibraryLogLevel{1};

TFFmpegLoader& FFLoader() {
  static TFFmpegLoader loader;
  return loader;
}

std::mutex& CodecLock() {
  static std::mutex lock;
  return lock;
}

std::string DefaultLibraryPath() {
  std::error_code ec;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return "Common Files";
  return (exe.parent_path() / "Common Files").string();
}

void TFFmpegLoader::SetLibraryPath(const std::string& folder) { LibraryPath = folder; }

std::string TFFmpegLoader::GetLastLoadError() const { return LastLoadError; }

std::string TFFmpegLoader::LibraryFileName(TLibraryIndex index) const {
  const TLibraryItem& item = LibraryTable.at(index);
  if (index == liMyUtil) return "libc.so.6";
  // Appended piece by piece into one string: GCC 12 at -O3 takes the
  // temporaries of "." + std::to_string(...) for overlapping copies and
  // warns (-Wrestrict) where nothing overlaps.
  std::string name = "lib";
  name.append(item.Name).append(".so");
  if (item.Version >= 0) name.append(".").append(std::to_string(item.Version));
  return name;
}

bool TFFmpegLoader::LoadLibraryItem(TLibraryIndex index) {
  const TLibraryItem& item = LibraryTable.at(index);
  TLibraryStatus& state = LibraryState.at(index);
  const std::string fileName = LibraryFileName(index);
  if (state.Handle == nullptr) {
    std::string folder = LibraryPath;
    if (!folder.empty() && folder.back() != '/') folder += '/';
    state.Handle = LoadLibraryFrom(folder, fileName);
    if (state.Handle == nullptr) {
      LastLoadError = "Load library " + folder + fileName + " error: " + DlErrorText();
      return false;
    }
  }
  if (!state.Loaded) {
    try {
      item.LoadProc(fileName, state.Handle);
      state.Loaded = true;
    } catch (const std::exception& e) {
      LastLoadError = e.what();
    }
  }
  if (!state.Loaded) UnloadLibraryItem(index);
  return state.Loaded;
}

bool TFFmpegLoader::LoadLibrarySet(TLibrarySet set) {
  RequireMembers(set);
  for (int i = 0; i < LibraryCount; ++i) {
    if (!set.Contains(i)) continue;
    if (!LoadLibraryItem(static_cast<TLibraryIndex>(i))) {
      UnloadLibrarySet(set);
      return false;
    }
  }
  return true;
}

bool TFFmpegLoader::IsLibraryLoaded(TLibraryIndex index) const {
  const TLibraryStatus& state = LibraryState.at(index);
  return state.Handle != nullptr && state.Loaded;
}

bool TFFmpegLoader::LibrarySetLoaded(TLibrarySet set) const {
  RequireMembers(set);
  for (int i = 0; i < LibraryCount; ++i)
    if (set.Contains(i) && !IsLibraryLoaded(static_cast<TLibraryIndex>(i))) return false;
  return true;
}

void TFFmpegLoader::UnloadLibraryItem(TLibraryIndex index) {
  TLibraryStatus& state = LibraryState.at(index);
  if (state.Loaded) {
    LibraryTable.at(index).UnloadProc();
    state.Loaded = false;
  }
  if (state.Handle != nullptr) {
    dlclose(state.Handle);
    state.Handle = nullptr;
  }
}

void TFFmpegLoader::UnloadLibrarySet(TLibrarySet set) {
  RequireMembers(set);
  for (int i = 0; i < LibraryCount; ++i)
    if (set.Contains(i)) UnloadLibraryItem(static_cast<TLibraryIndex>(i));
}

void* TFFmpegLoader::LibraryHandle(TLibraryIndex index) const {
  return LibraryState.at(index).Handle;
}

}  // namespace trovenix
