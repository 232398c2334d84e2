// The window an engine task shows its converted pictures in. The task calls
// ShowFrame on its own thread; the window is made, updated and deleted on the
// user-interface thread while the task waits. Once the user closed it, it
// stays closed for the task: ShowFrame then answers false at once.
#pragma once

#include <atomic>
#include <memory>

#include "engine/PreviewWindow.h"
#include "engine/UiThread.h"

namespace trovenix {

class TPreviewForm;

class TPreviewer final : public IPreviewWindow {
 public:
  explicit TPreviewer(IUiThread& ui);
  // Deletes the window on the user-interface thread (waiting for it).
  ~TPreviewer() override;
  TPreviewer(const TPreviewer&) = delete;
  TPreviewer& operator=(const TPreviewer&) = delete;

  bool ShowFrame(const TBitmap& bitmap, std::int64_t frameNumber, std::int64_t ptsUs) override;
  bool Closed() const { return closed_.load(); }

 private:
  IUiThread& ui_;
  std::atomic<bool> closed_{false};
  std::unique_ptr<TPreviewForm> form_;  // used on the user-interface thread only
};

// The engine's preview-window factory making TPreviewers on this thread.
TPreviewWindowFactory PreviewerFactory(IUiThread& ui);

// Installs that factory for every task; returns the one it replaced. The
// user-interface thread must outlive every task that shows a preview.
TPreviewWindowFactory InstallPreviewer(IUiThread& ui);

}  // namespace trovenix
