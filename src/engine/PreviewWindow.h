// The window a task shows its converted pictures in. It belongs to the user
// interface; the engine only knows this interface.
#pragma once

#include <cstdint>
#include <mutex>

namespace trovenix {

class TBitmap;

class IPreviewWindow {
 public:
  virtual ~IPreviewWindow() = default;
  // Shows a picture captioned with its time; false once the user closed the
  // window (it then stays closed).
  virtual bool ShowFrame(const TBitmap& bitmap, std::int64_t frameNumber, std::int64_t ptsUs) = 0;
};

// The program-wide lock around every task's preview window and preview flags.
std::mutex& PreviewLock();

}  // namespace trovenix
