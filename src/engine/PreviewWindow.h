// The window a task shows its converted pictures in. It belongs to the user
// interface; the engine only knows this interface.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

namespace trovenix {

class TBitmap;

class IPreviewWindow {
 public:
  virtual ~IPreviewWindow() = default;
  // Shows a picture captioned with its time; false once the user closed the
  // window (it then stays closed). May wait for the user-interface thread.
  virtual bool ShowFrame(const TBitmap& bitmap, std::int64_t frameNumber, std::int64_t ptsUs) = 0;
};

// The program-wide lock around every task's preview window and preview flags.
std::mutex& PreviewLock();

// Makes the preview window of a task. The user interface installs its own at
// start-up; without one, tasks show no preview window. The factory runs on a
// task's thread, never under PreviewLock().
using TPreviewWindowFactory = std::function<std::unique_ptr<IPreviewWindow>()>;

// Installs a factory (an empty one removes it) and returns the previous one.
TPreviewWindowFactory SetPreviewWindowFactory(TPreviewWindowFactory factory);

// A new window from the installed factory; none without a factory.
std::unique_ptr<IPreviewWindow> NewPreviewWindow();

// The caption of a previewed picture: "hh:mm:ss.mmm" with hours not limited
// to 24 ("25:00:00.000"), a leading '-' before the start, "N/A" when the time
// is unknown (AV_NOPTS_VALUE).
std::string PreviewCaption(std::int64_t ptsUs);

}  // namespace trovenix
