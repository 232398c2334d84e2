// The preview panel's widgets as the playback controls see them.
#pragma once

#include "app/PlaybackView.h"

namespace trovenix {

class TForm1;

class TWindowPlaybackView final : public IPlaybackView {
 public:
  explicit TWindowPlaybackView(TForm1& form) : form_(form) {}

  bool Converting() const override;
  std::string OutputFolderText() const override;
  void OpenFolderBrowser() override;
  TNativeWindow PlayWindow() override;
  int PlayWidth() const override;
  int PlayHeight() const override;
  void ShowStill(bool show) override;
  void SetVolumeGlyph(const std::string& name) override;
  void ShowPosition(std::int64_t positionUs, std::int64_t durationUs) override;
  void PostToUi(std::function<void()> call) override;

 private:
  TForm1& form_;
};

}  // namespace trovenix
