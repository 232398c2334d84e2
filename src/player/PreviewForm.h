// The preview window's widget: a small tool window that stays on top, shows
// one picture at its own size and is dragged by a press anywhere in it.
// Lives on the user-interface thread only; TPreviewer drives it.
#pragma once

#include <QImage>
#include <QPoint>
#include <QWidget>
#include <functional>

namespace trovenix {

class TBitmap;

class TPreviewForm final : public QWidget {
 public:
  // onClosed runs when the user closes the window.
  explicit TPreviewForm(std::function<void()> onClosed);

  // Draws the picture and sets the caption; the window takes the picture's
  // size. The bitmap is only read during the call.
  void ShowPicture(const TBitmap& bitmap, const QString& caption);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  std::function<void()> onClosed_;
  QImage picture_;  // in the screen's own format, so repaints convert nothing
  bool placed_ = false;
  bool dragging_ = false;
  QPoint dragOffset_;
};

}  // namespace trovenix
