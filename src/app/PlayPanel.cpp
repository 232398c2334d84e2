#include "app/PlayPanel.h"

namespace trovenix {

TPlayPanel::TPlayPanel(QWidget* parent) : QWidget(parent) {
  // Only this widget gets a window of its own; its container keeps the
  // rest of the window drawn by Qt.
  setAttribute(Qt::WA_DontCreateNativeAncestors);
  setAttribute(Qt::WA_NativeWindow);
  setAttribute(Qt::WA_PaintOnScreen);
  setAttribute(Qt::WA_NoSystemBackground);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::ClickFocus);
  setAccessibleName(QStringLiteral("Video"));
}

}  // namespace trovenix
