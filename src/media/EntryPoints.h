// Per-library procedures that fill and clear the entry-point variables.
#pragma once

#include <string>

namespace trovenix::entry_points {

// Resolve every entry point of the library in table order, then run the
// library's registration call if it has one. Throws std::runtime_error with
// "Load function %s@%s error: %s" at the first missing name.
using LoadProc = void (*)(const std::string& fileName, void* handle);
// Empty every entry-point variable of the library.
using UnloadProc = void (*)();

#define TROVENIX_LIBRARY_PROCS(lib) \
  void Load##lib(const std::string& fileName, void* handle); \
  void Unload##lib();
TROVENIX_LIBRARY_PROCS(AVCodec)
TROVENIX_LIBRARY_PROCS(AVDevice)
TROVENIX_LIBRARY_PROCS(AVFilter)
TROVENIX_LIBRARY_PROCS(AVFormat)
TROVENIX_LIBRARY_PROCS(AVUtil)
TROVENIX_LIBRARY_PROCS(SwScale)
TROVENIX_LIBRARY_PROCS(MyUtil)
TROVENIX_LIBRARY_PROCS(SwResample)
#undef TROVENIX_LIBRARY_PROCS

}  // namespace trovenix::entry_points
