#include "player/Previewer.h"

#include <QString>

#include "player/PreviewForm.h"

namespace trovenix {

TPreviewer::TPreviewer(IUiThread& ui) : ui_(ui) {}

TPreviewer::~TPreviewer() {
  if (!form_) return;  // never shown: nothing on the user-interface thread
  ui_.Invoke([this] { form_.reset(); });
}

bool TPreviewer::ShowFrame(const TBitmap& bitmap, std::int64_t frameNumber, std::int64_t ptsUs) {
  if (closed_.load()) return false;
  // The frame number is not shown; the caption is the picture's time.
  static_cast<void>(frameNumber);
  const QString caption = QString::fromStdString(PreviewCaption(ptsUs));
  bool shown = false;
  ui_.Invoke([this, &bitmap, &caption, &shown] {
    // The user may have closed the window while this call waited.
    if (closed_.load()) return;
    if (!form_) form_ = std::make_unique<TPreviewForm>([this] { closed_.store(true); });
    form_->ShowPicture(bitmap, caption);
    shown = true;
  });
  return shown;
}

TPreviewWindowFactory PreviewerFactory(IUiThread& ui) {
  return [&ui]() -> std::unique_ptr<IPreviewWindow> { return std::make_unique<TPreviewer>(ui); };
}

TPreviewWindowFactory InstallPreviewer(IUiThread& ui) {
  return SetPreviewWindowFactory(PreviewerFactory(ui));
}

}  // namespace trovenix
