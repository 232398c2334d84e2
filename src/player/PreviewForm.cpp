#include "player/PreviewForm.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

#include "media/Bitmap.h"

namespace trovenix {

TPreviewForm::TPreviewForm(std::function<void()> onClosed)
    : QWidget(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                           Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint),
      onClosed_(std::move(onClosed)) {
  setObjectName(QStringLiteral("Previewer"));
  // The window comes up while the user works elsewhere: it must not take the
  // keyboard away.
  setAttribute(Qt::WA_ShowWithoutActivating);
  setAttribute(Qt::WA_OpaquePaintEvent);
  // Closing only hides it; the previewer deletes it.
  setAttribute(Qt::WA_DeleteOnClose, false);
}

void TPreviewForm::ShowPicture(const TBitmap& bitmap, const QString& caption) {
  setWindowTitle(caption);
  const int width = bitmap.Width(), height = bitmap.Height();
  if (width > 0 && height > 0) {
    // The task's rows, read in place: no copy of the bitmap is made, only
    // the one conversion into the retained picture that repaints use after
    // the task has moved on.
    const QImage view(bitmap.Bits(), width, height, bitmap.Stride(), QImage::Format_BGR888);
    if (picture_.size() != view.size()) {
      picture_ = QImage(view.size(), QImage::Format_RGB32);
      setFixedSize(view.size());
    }
    QPainter painter(&picture_);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, view);
  }
  if (!placed_) {
    placed_ = true;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
      const QPoint middle = screen->availableGeometry().center();
      move(middle.x() - width / 2, middle.y() - height / 2);
    }
  }
  if (isHidden()) show();
  update();
}

void TPreviewForm::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (picture_.isNull())
    painter.fillRect(rect(), Qt::black);
  else
    painter.drawImage(0, 0, picture_);
}

void TPreviewForm::closeEvent(QCloseEvent* event) {
  if (onClosed_) onClosed_();
  event->accept();
}

void TPreviewForm::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  // The window manager moves it where it can (X11, Wayland); otherwise the
  // window follows the mouse itself.
  if (windowHandle() && windowHandle()->startSystemMove()) return;
  dragging_ = true;
  dragOffset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void TPreviewForm::mouseMoveEvent(QMouseEvent* event) {
  if (dragging_ && (event->buttons() & Qt::LeftButton))
    move(event->globalPosition().toPoint() - dragOffset_);
  else
    QWidget::mouseMoveEvent(event);
}

void TPreviewForm::mouseReleaseEvent(QMouseEvent* event) {
  dragging_ = false;
  QWidget::mouseReleaseEvent(event);
}

}  // namespace trovenix
