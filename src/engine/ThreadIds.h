// Thread ids and priorities of conversion threads.
#pragma once

#include <cstdint>

#include "engine/EngineOptions.h"

namespace trovenix {

// The kernel's id of the calling thread; never 0.
std::uint32_t CurrentThreadId();
// Lowers the calling thread's scheduling priority for the given level; best
// effort: a refusal of the system is ignored.
void ApplyThreadPriority(TConvertPriority priority);

}  // namespace trovenix
