#include "engine/FFmpeg.h"

#include "media/FFmpegLoader.h"

namespace trovenix {

TCustomFFmpeg::TCustomFFmpeg() {
  DebugLevelCallback = [this](int level) { SetVerbose(level); };
  ResetOptions();
}

TCustomFFmpeg::~TCustomFFmpeg() {
  if (worker_.joinable()) {
    StopRequested = true;
    Resume();
    WaitFor();
    if (worker_.joinable()) worker_.detach();  // destroyed from its own end notification
  }
  TidyUp();
}

void TCustomFFmpeg::ResetOptions() {
  ReleaseOptionContexts();
  static_cast<TOptionState&>(*this) = TOptionState{};
  // Without the libraries a task can hold no library options; preparing it
  // again once they are loaded makes them.
  if (FFLoader().LibrarySetLoaded(EngineLibraries)) CreateOptionContexts();
}

void TCustomFFmpeg::Log(const std::string& text, int level) const {
  if (LogCallback) LogCallback(level, text);
}

}  // namespace trovenix
