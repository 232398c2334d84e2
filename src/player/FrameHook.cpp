#include "player/FrameHook.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <mutex>
#include <new>
#include <optional>
#include <utility>

#include "media/AVUtilStubs.h"

namespace trovenix {
namespace {

// Hook messages go out at the most severe level so they are never filtered.
constexpr int HookLogLevel = 0;

template <typename... Args>
void Log(const char* format, Args... args) {
  // The log entry point exists only while the media libraries are loaded.
  if (ff::av_log) ff::av_log(nullptr, HookLogLevel, format, args...);
}

// Libraries loaded for hooks, by the name they were given with. They are never
// closed: a hook's code may still be referenced by a list somewhere, and the
// process end unmaps them anyway.
struct TLoadedHookLibraries {
  std::mutex Lock;
  std::map<std::string, void*> Handles;
};

TLoadedHookLibraries& LoadedHookLibraries() {
  static TLoadedHookLibraries libraries;
  return libraries;
}

// Makes a folder the current directory while it lives and goes back to the
// previous one afterwards, on every path out. The previous directory is held
// open, so going back works even when it was renamed meanwhile.
class TCurrentFolderScope {
 public:
  explicit TCurrentFolderScope(const std::filesystem::path& folder)
      : previous_(::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    // A folder that cannot be entered is left to the loader to report, with
    // the system's own text for the library path.
    if (previous_ >= 0 && ::chdir(folder.c_str()) != 0) Restore();
  }
  ~TCurrentFolderScope() { Restore(); }
  TCurrentFolderScope(const TCurrentFolderScope&) = delete;
  TCurrentFolderScope& operator=(const TCurrentFolderScope&) = delete;

 private:
  void Restore() {
    if (previous_ < 0) return;
    if (::fchdir(previous_) != 0) {
      // Nothing sensible is left to do; the descriptor is still released.
    }
    ::close(previous_);
    previous_ = -1;
  }
  int previous_;
};

// Returns the library's handle, loading it on first use. The caller holds the
// list's lock.
void* HookLibrary(std::map<std::string, void*>& handles, const std::string& name,
                  const std::filesystem::path& loadPath) {
  if (auto found = handles.find(name); found != handles.end()) return found->second;
  void* handle = ::dlopen(loadPath.c_str(), RTLD_NOW);
  if (!handle) {
    const char* error = ::dlerror();
    Log("%s\n", error ? error : "unknown dynamic loader error");
    return nullptr;
  }
  handles.emplace(name, handle);
  return handle;
}

int ConfigureHook(TFrameHookList::THook& hook, const std::vector<std::string>& args) {
  // Configure gets a writable, null-terminated argv like a program's main.
  std::vector<std::string> text(args);
  std::vector<char*> argv;
  argv.reserve(text.size() + 1);
  for (std::string& arg : text) argv.push_back(arg.data());
  argv.push_back(nullptr);
  return hook.Configure(&hook.Context, static_cast<int>(args.size()), argv.data());
}

}  // namespace

TFrameHookList::~TFrameHookList() {
  Release();
}

TFrameHookList::TFrameHookList(TFrameHookList&& other) noexcept : hooks_(std::move(other.hooks_)) {
  other.hooks_.clear();
}

TFrameHookList& TFrameHookList::operator=(TFrameHookList&& other) noexcept {
  if (this != &other) {
    Release();
    hooks_ = std::move(other.hooks_);
    other.hooks_.clear();
  }
  return *this;
}

// While a hook is added, the folder of its library is the current directory,
// so that relative paths the library (or its Configure) opens resolve beside
// it. The dynamic loader does not look in the current directory for
// dependencies: a hook library that ships its own dependencies finds them
// through its run path ($ORIGIN), as any shared object does. The library
// itself is loaded by its absolute path, since a relative folder part would
// no longer be valid once that folder is current.
//
// The current directory belongs to the whole process, so the list's lock is
// held for the complete operation: two tasks configuring hooks at once take
// turns instead of changing directories under each other.
int TFrameHookList::Add(const std::vector<std::string>& args) {
  if (args.empty()) return -2;
  const std::string& name = args[0];
  const std::filesystem::path given(name);

  std::filesystem::path loadPath = given;
  std::filesystem::path folder = given.parent_path();
  if (!folder.empty() && given.is_relative()) {
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(given, error);
    if (!error) {
      loadPath = absolute;
      folder = absolute.parent_path();
    }
  }

  TLoadedHookLibraries& libraries = LoadedHookLibraries();
  std::lock_guard<std::mutex> guard(libraries.Lock);
  std::optional<TCurrentFolderScope> folderScope;
  if (!folder.empty()) folderScope.emplace(folder);

  void* library = HookLibrary(libraries.Handles, name, loadPath);
  if (!library) return -1;

  // Room for the entry is made up front, so that a configured hook can always
  // be appended and its context is never lost.
  THook hook;
  try {
    hooks_.reserve(hooks_.size() + 1);
  } catch (const std::bad_alloc&) {
    return -12;
  }

  hook.Configure = reinterpret_cast<THook::ConfigureProc>(::dlsym(library, "Configure"));
  hook.Process = reinterpret_cast<THook::ProcessProc>(::dlsym(library, "Process"));
  hook.Release = reinterpret_cast<THook::ReleaseProc>(::dlsym(library, "Release"));
  if (!hook.Process) {
    Log("Failed to find Process entrypoint in %s\n", name.c_str());
    return -2;
  }
  if (!hook.Configure && args.size() > 1) {
    Log("Failed to find Configure entrypoint in %s\n", name.c_str());
    return -2;
  }
  if (hook.Configure) {
    int result;
    try {
      result = ConfigureHook(hook, args);
    } catch (const std::bad_alloc&) {
      return -12;
    }
    if (result != 0) {
      Log("Failed to Configure %s\n", name.c_str());
      return -22;
    }
  }
  hooks_.push_back(hook);
  return 0;
}

void TFrameHookList::Process(TPicture& picture, int pixelFormat, int width, int height,
                             std::int64_t ptsUs) {
  for (THook& hook : hooks_)
    hook.Process(hook.Context, &picture, pixelFormat, width, height, ptsUs);
}

void TFrameHookList::Release() {
  for (THook& hook : hooks_)
    if (hook.Release) hook.Release(hook.Context);
  hooks_.clear();
}

}  // namespace trovenix
