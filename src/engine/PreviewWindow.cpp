#include "engine/PreviewWindow.h"

#include <cstdio>
#include <limits>
#include <utility>

namespace trovenix {
namespace {

struct TFactorySlot {
  std::mutex Lock;
  TPreviewWindowFactory Factory;
};

TFactorySlot& FactorySlot() {
  static TFactorySlot slot;
  return slot;
}

}  // namespace

std::mutex& PreviewLock() {
  static std::mutex lock;
  return lock;
}

TPreviewWindowFactory SetPreviewWindowFactory(TPreviewWindowFactory factory) {
  TFactorySlot& slot = FactorySlot();
  const std::lock_guard<std::mutex> guard(slot.Lock);
  std::swap(slot.Factory, factory);
  return factory;
}

std::unique_ptr<IPreviewWindow> NewPreviewWindow() {
  TPreviewWindowFactory factory;
  {
    TFactorySlot& slot = FactorySlot();
    const std::lock_guard<std::mutex> guard(slot.Lock);
    factory = slot.Factory;
  }
  // Made outside the slot's lock: a factory may take its time.
  return factory ? factory() : nullptr;
}

std::string PreviewCaption(std::int64_t ptsUs) {
  // AV_NOPTS_VALUE, without pulling the media headers into every window.
  if (ptsUs == std::numeric_limits<std::int64_t>::min()) return "N/A";
  // Times before the start (negative offsets) read as "-00:00:01.500"
  // rather than as a mix of negative fields.
  const bool negative = ptsUs < 0;
  const std::uint64_t t =
      negative ? 0 - static_cast<std::uint64_t>(ptsUs) : static_cast<std::uint64_t>(ptsUs);
  char text[48];
  std::snprintf(text, sizeof text, "%s%.2llu:%.2llu:%.2llu.%.3llu", negative ? "-" : "",
                static_cast<unsigned long long>(t / 3600000000ULL),
                static_cast<unsigned long long>(t / 60000000ULL % 60),
                static_cast<unsigned long long>(t / 1000000ULL % 60),
                static_cast<unsigned long long>(t % 1000000ULL / 1000));
  return text;
}

}  // namespace trovenix
