// The media library's log, turned into whole lines for every live engine
// component. Text without a line feed waits, per thread, for the rest.
#pragma once

#include <cstdarg>
#include <cstdint>

namespace trovenix {

class TCustomEngineComponent;

void RegisterLiveComponent(TCustomEngineComponent* component);
void UnregisterLiveComponent(TCustomEngineComponent* component);
// Drops every thread's pending text.
void ClearLogLines();
// Installed into the media library as its log callback.
void LibraryLogCallback(void* context, int level, const char* format, va_list arguments);

}  // namespace trovenix
