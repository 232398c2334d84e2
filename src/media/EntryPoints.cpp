#include "media/EntryPoints.h"

#include <dlfcn.h>

#include <stdexcept>

#include "media/AVCodecStubs.h"
#include "media/AVDeviceStubs.h"
#include "media/AVFilterStubs.h"
#include "media/AVFormatStubs.h"
#include "media/AVUtilStubs.h"
#include "media/MyUtilStubs.h"
#include "media/SwResampleStubs.h"
#include "media/SwScaleStubs.h"

namespace ff {
#define TROVENIX_DEFINE_ENTRY_POINT(name) decltype(&::name) name = nullptr;
#define TROVENIX_DEFINE_RUNTIME_ENTRY_POINT(name, symbol) decltype(&::symbol) name = nullptr;
TROVENIX_AVUTIL_ENTRY_POINTS(TROVENIX_DEFINE_ENTRY_POINT)
TROVENIX_AVFORMAT_ENTRY_POINTS(TROVENIX_DEFINE_ENTRY_POINT)
TROVENIX_AVCODEC_ENTRY_POINTS(TROVENIX_DEFINE_ENTRY_POINT)
TROVENIX_AVDEVICE_ENTRY_POINTS(TROVENIX_DEFINE_ENTRY_POINT)
TROVENIX_AVFILTER_ENTRY_POINTS(TROVENIX_DEFINE_ENTRY_POINT)
TROVENIX_SWSCALE_ENTRY_POINTS(TROVENIX_DEFINE_ENTRY_POINT)
TROVENIX_SWRESAMPLE_ENTRY_POINTS(TROVENIX_DEFINE_ENTRY_POINT)
TROVENIX_MYUTIL_ENTRY_POINTS(TROVENIX_DEFINE_RUNTIME_ENTRY_POINT)
}  // namespace ff

namespace trovenix::entry_points {
namespace {

template <class Function>
void Resolve(const std::string& fileName, void* handle, const char* name, Function& variable) {
  dlerror();
  void* address = dlsym(handle, name);
  if (address == nullptr) {
    const char* reason = dlerror();
    throw std::runtime_error(std::string("Load function ") + name + "@" + fileName +
                             " error: " + (reason ? reason : "symbol is null"));
  }
  variable = reinterpret_cast<Function>(address);
}

}  // namespace

#define TROVENIX_RESOLVE(name) Resolve(fileName, handle, #name, ff::name);
#define TROVENIX_RESOLVE_RUNTIME(name, symbol) Resolve(fileName, handle, #symbol, ff::name);
#define TROVENIX_CLEAR(name) ff::name = nullptr;
#define TROVENIX_CLEAR_RUNTIME(name, symbol) ff::name = nullptr;

#define TROVENIX_LIBRARY_PROCS(lib, LIST, after)                 \
  void Load##lib(const std::string& fileName, void* handle) {   \
    LIST(TROVENIX_RESOLVE)                                       \
    after;                                                       \
  }                                                              \
  void Unload##lib() { LIST(TROVENIX_CLEAR) }

TROVENIX_LIBRARY_PROCS(AVCodec, TROVENIX_AVCODEC_ENTRY_POINTS, (void)0)
// Devices are registered once all of libavdevice's entry points are bound.
TROVENIX_LIBRARY_PROCS(AVDevice, TROVENIX_AVDEVICE_ENTRY_POINTS, ff::avdevice_register_all())
TROVENIX_LIBRARY_PROCS(AVFilter, TROVENIX_AVFILTER_ENTRY_POINTS, (void)0)
TROVENIX_LIBRARY_PROCS(AVFormat, TROVENIX_AVFORMAT_ENTRY_POINTS, (void)0)
TROVENIX_LIBRARY_PROCS(AVUtil, TROVENIX_AVUTIL_ENTRY_POINTS, (void)0)
TROVENIX_LIBRARY_PROCS(SwScale, TROVENIX_SWSCALE_ENTRY_POINTS, (void)0)
TROVENIX_LIBRARY_PROCS(SwResample, TROVENIX_SWRESAMPLE_ENTRY_POINTS, (void)0)

void LoadMyUtil(const std::string& fileName, void* handle) {
  TROVENIX_MYUTIL_ENTRY_POINTS(TROVENIX_RESOLVE_RUNTIME)
}
void UnloadMyUtil() { TROVENIX_MYUTIL_ENTRY_POINTS(TROVENIX_CLEAR_RUNTIME) }

}  // namespace trovenix::entry_points
