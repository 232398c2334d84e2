// A preview window for tests. It records what it is asked to show and
// answers like a window that the user closes after a number of pictures.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/PreviewWindow.h"
#include "media/Bitmap.h"

namespace trovenix::test {

// What every fake window made by one factory saw. Windows are used from the
// task's thread only; the test reads the record after the run.
struct TPreviewRecord {
  int CloseAfter = 0;                // the user closes the window after this many pictures; 0 never
  std::function<void()> DuringShow;  // the user interface's work while the task waits
  int Made = 0, Destroyed = 0, Shown = 0, Refused = 0;
  std::vector<std::string> Captions;
  std::vector<std::int64_t> FrameNumbers;
  int Width = 0, Height = 0;
};

class TFakePreviewWindow : public IPreviewWindow {
 public:
  explicit TFakePreviewWindow(TPreviewRecord& record) : record_(record) { ++record_.Made; }
  ~TFakePreviewWindow() override { ++record_.Destroyed; }

  bool ShowFrame(const TBitmap& bitmap, std::int64_t frameNumber, std::int64_t ptsUs) override {
    if (closed_) {
      ++record_.Refused;
      return false;
    }
    ++record_.Shown;
    record_.Captions.push_back(PreviewCaption(ptsUs));
    record_.FrameNumbers.push_back(frameNumber);
    record_.Width = bitmap.Width();
    record_.Height = bitmap.Height();
    if (record_.DuringShow) record_.DuringShow();
    closed_ = record_.CloseAfter > 0 && record_.Shown >= record_.CloseAfter;
    return true;
  }

 private:
  TPreviewRecord& record_;
  bool closed_ = false;
};

// Tasks make fake windows while this lives; the previous factory comes back
// afterwards.
class TFakePreviewFactory {
 public:
  explicit TFakePreviewFactory(TPreviewRecord& record)
      : previous_(SetPreviewWindowFactory(
            [&record] { return std::make_unique<TFakePreviewWindow>(record); })) {}
  ~TFakePreviewFactory() { SetPreviewWindowFactory(std::move(previous_)); }
  TFakePreviewFactory(const TFakePreviewFactory&) = delete;
  TFakePreviewFactory& operator=(const TFakePreviewFactory&) = delete;

 private:
  TPreviewWindowFactory previous_;
};

}  // namespace trovenix::test
