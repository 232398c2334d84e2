// Run-time binding of the media libraries.
//
// The media libraries are never linked into the program. The loader opens
// each shared object by file name (a chosen folder first, then the dynamic
// loader's default search), resolves every entry point of the library's table
// into the typed variables of namespace ff (see the *Stubs.h headers), and
// keeps the library bound until it is explicitly unloaded. A library counts as
// loaded only when every name of its table was found.
//
// Loading and unloading run on the main thread before any conversion or
// playback starts; the loader has no lock of its own.
#pragma once

#include <atomic>
#include <cstdint>
#include <initializer_list>
#include <mutex>
#include <string>

namespace trovenix {

enum TLibraryIndex : int {
  liAVCodec = 0,
  liAVDevice = 1,
  liAVFilter = 2,
  liAVFormat = 3,
  liAVUtil = 4,
  liSwScale = 5,
  liMyUtil = 6,
  liSwResample = 7,
};
inline constexpr int LibraryCount = 8;

// A set of library indices; members are always visited in index order.
class TLibrarySet {
 public:
  constexpr TLibrarySet() = default;
  constexpr TLibrarySet(std::initializer_list<TLibraryIndex> members) {
    for (TLibraryIndex m : members) bits_ |= 1u << m;
  }
  constexpr bool Contains(int index) const { return (bits_ >> index) & 1u; }
  constexpr bool Empty() const { return bits_ == 0; }

 private:
  std::uint32_t bits_ = 0;
};

inline constexpr TLibrarySet EngineLibraries{liAVCodec, liAVFilter, liAVFormat, liAVUtil,
                                             liSwScale, liMyUtil,   liSwResample};
inline constexpr TLibrarySet PlayerLibraries{liAVCodec, liAVFormat, liAVUtil, liSwScale,
                                             liSwResample};

class TFFmpegLoader {
 public:
  // Folder looked in first; empty means the default search only.
  void SetLibraryPath(const std::string& folder);
  std::string GetLastLoadError() const;
  // Shared-object file name of a library, e.g. "libavcodec.so.59".
  std::string LibraryFileName(TLibraryIndex index) const;

  // Loads one library and resolves its entry points; false with
  // GetLastLoadError() set when the file or one entry point is missing.
  bool LoadLibraryItem(TLibraryIndex index);
  // All or nothing: on the first failure every member of the set is unloaded.
  // Members already loaded are left as they are. Throws std::invalid_argument
  // ("Assertion failure") for an empty set, as do the other set operations.
  bool LoadLibrarySet(TLibrarySet set);
  bool IsLibraryLoaded(TLibraryIndex index) const;
  bool LibrarySetLoaded(TLibrarySet set) const;
  void UnloadLibraryItem(TLibraryIndex index);
  void UnloadLibrarySet(TLibrarySet set);

  // Module handle of a library (nullptr when not bound); for diagnostics.
  void* LibraryHandle(TLibraryIndex index) const;
};

// The process-wide loader.
TFFmpegLoader& FFLoader();

// The "Common Files" folder beside the running executable.
std::string DefaultLibraryPath();

// Serialises stream-information reading and every codec open and close
// across all conversion tasks.
std::mutex& CodecLock();

// Level of the media library's log that the program passes on; written when
// the verbosity changes, read by the log callbacks of any thread.
extern std::atomic<int> LibraryLogLevel;

}  // namespace trovenix
