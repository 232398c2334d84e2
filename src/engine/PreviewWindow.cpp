#include "engine/PreviewWindow.h"

namespace trovenix {

std::mutex& PreviewLock() {
  static std::mutex lock;
  return lock;
}

}  // namespace trovenix
