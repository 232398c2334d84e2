#include "app/WindowPlaybackView.h"

#include <QSignalBlocker>
#include <algorithm>

#include "app/Form1.h"
#include "app/PlayTime.h"

namespace trovenix {

bool TWindowPlaybackView::Converting() const {
  return form_.Model().Run.Converting;
}

std::string TWindowPlaybackView::OutputFolderText() const {
  return form_.Model().OutputFolder;
}

void TWindowPlaybackView::OpenFolderBrowser() {
  form_.BrowseClick();
}

TNativeWindow TWindowPlaybackView::PlayWindow() {
  return static_cast<TNativeWindow>(form_.Ui().PanelPlay->winId());
}

int TWindowPlaybackView::PlayWidth() const {
  return form_.Ui().PanelPlay->width();
}

int TWindowPlaybackView::PlayHeight() const {
  return form_.Ui().PanelPlay->height();
}

void TWindowPlaybackView::ShowStill(bool show) {
  // The native panel lies over the still picture: only one is shown.
  form_.Ui().PlayArea->setVisible(!show);
  form_.Ui().ImageStill->setVisible(show);
}

void TWindowPlaybackView::SetVolumeGlyph(const std::string& name) {
  form_.Ui().ButtonVolume->setIcon(
      QIcon(QStringLiteral(":/trovenix/icons/%1.png").arg(QString::fromStdString(name))));
}

void TWindowPlaybackView::ShowPosition(std::int64_t positionUs, std::int64_t durationUs) {
  QSlider* slider = form_.Ui().SliderPosition;
  // While the user drags, the slider shows the drag, not the playback.
  if (!slider->isSliderDown()) {
    const QSignalBlocker block(slider);
    const auto ms = [](std::int64_t us) {
      return static_cast<int>(std::clamp<std::int64_t>(us / 1000, 0, INT32_MAX));
    };
    slider->setRange(0, durationUs > 0 ? ms(durationUs) : 0);
    slider->setValue(ms(positionUs));
  }
  form_.Ui().LabelPlayTime->setText(
      QString::fromStdString(FormatPlayTimes(positionUs, durationUs)));
}

void TWindowPlaybackView::PostToUi(std::function<void()> call) {
  QMetaObject::invokeMethod(&form_, std::move(call), Qt::QueuedConnection);
}

}  // namespace trovenix
