#include "engine/ThreadIds.h"

#include <sys/resource.h>
#include <unistd.h>

namespace trovenix {

std::uint32_t CurrentThreadId() { return static_cast<std::uint32_t>(gettid()); }

void ApplyThreadPriority(TConvertPriority priority) {
  int nice = 0;
  switch (priority) {
    case TConvertPriority::tpIdle: nice = 19; break;
    case TConvertPriority::tpLowest: nice = 10; break;
    case TConvertPriority::tpLower: nice = 5; break;
    case TConvertPriority::tpNormal: return;  // as the creating thread
  }
  // On Linux the nice value is per thread when given the thread's own id.
  (void)setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), nice);
}

}  // namespace trovenix
