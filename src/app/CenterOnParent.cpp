#include "app/CenterOnParent.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace trovenix {

void CenterOnParent(QWidget& window) {
  const QWidget* parent = window.parentWidget() ? window.parentWidget()->window() : nullptr;
  QScreen* screen = parent ? parent->screen() : window.screen();
  if (!screen) screen = QGuiApplication::primaryScreen();
  const QRect area = screen ? screen->availableGeometry() : QRect();
  const QPoint middle = parent ? parent->frameGeometry().center() : area.center();
  const QSize size = window.frameGeometry().size();
  QPoint topLeft(middle.x() - size.width() / 2, middle.y() - size.height() / 2);
  if (area.isValid()) {
    topLeft.setX(std::max(area.left(), std::min(topLeft.x(), area.right() - size.width() + 1)));
    topLeft.setY(std::max(area.top(), std::min(topLeft.y(), area.bottom() - size.height() + 1)));
  }
  window.move(topLeft);
}

}  // namespace trovenix
