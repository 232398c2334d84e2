#include "engine/LibraryLog.h"

#include <algorithm>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

#include "engine/EngineComponent.h"
#include "engine/ThreadIds.h"
#include "media/FFmpegLoader.h"

extern "C" {
#include <libavutil/log.h>
}

namespace trovenix {
namespace {

// Pending text of a line not yet ended, per thread.
struct TLogItem {
  std::uint32_t ThreadID = 0;
  std::string PendingText;
};

// Every live component and the pending log text, under one lock: the library
// may log from any thread at any time.
struct TLiveComponents {
  std::mutex Lock;
  std::vector<TCustomEngineComponent*> Components;
  std::vector<TLogItem> LogLines;
};

TLiveComponents& Live() {
  static TLiveComponents live;
  return live;
}

TLogItem& ItemOf(std::vector<TLogItem>& items, std::uint32_t thread) {
  for (TLogItem& item : items)
    if (item.ThreadID == thread) return item;
  items.push_back({thread, {}});
  return items.back();
}

}  // namespace

void RegisterLiveComponent(TCustomEngineComponent* component) {
  std::lock_guard<std::mutex> guard(Live().Lock);
  Live().Components.push_back(component);
}

void UnregisterLiveComponent(TCustomEngineComponent* component) {
  std::lock_guard<std::mutex> guard(Live().Lock);
  auto& components = Live().Components;
  components.erase(std::remove(components.begin(), components.end(), component), components.end());
}

void ClearLogLines() {
  std::lock_guard<std::mutex> guard(Live().Lock);
  Live().LogLines.clear();
}

void LibraryLogCallback(void* context, int level, const char* format, va_list arguments) {
  // Dropped before any formatting or locking.
  if (level > LibraryLogLevel.load()) return;
  const std::uint32_t thread = CurrentThreadId();
  TLiveComponents& live = Live();
  std::lock_guard<std::mutex> guard(live.Lock);
  TLogItem& item = ItemOf(live.LogLines, thread);

  std::string text = std::move(item.PendingText);
  item.PendingText.clear();
  if (text.empty() && context != nullptr) {
    const AVClass* descriptor = *static_cast<const AVClass* const*>(context);
    if (descriptor != nullptr && descriptor->item_name != nullptr) {
      char prefix[96];
      std::snprintf(prefix, sizeof prefix, "[%s @ %08X]", descriptor->item_name(context),
                    static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(descriptor)));
      text = prefix;
    }
  }
  // The whole line is cut at 2047 bytes, as the buffer of a line holds.
  char formatted[2048];
  if (text.size() < sizeof formatted - 1) {
    va_list copy;
    va_copy(copy, arguments);
    std::vsnprintf(formatted, sizeof formatted - text.size(), format, copy);
    va_end(copy);
    text += formatted;
  }
  std::size_t start = 0;
  for (std::size_t feed; (feed = text.find('\n', start)) != std::string::npos; start = feed + 1) {
    const std::string line = text.substr(start, feed - start);
    for (TCustomEngineComponent* component : live.Components)
      component->LogLibraryLine(thread, level, line);
  }
  item.PendingText = text.substr(start);
}

}  // namespace trovenix
