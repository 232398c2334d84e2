// sPanelPlay: the native child window the player draws into. Qt never paints
// it, so nothing covers SDL's picture.
#pragma once

#include <QWidget>

namespace trovenix {

class TPlayPanel final : public QWidget {
 public:
  explicit TPlayPanel(QWidget* parent);
  QPaintEngine* paintEngine() const override { return nullptr; }

 protected:
  void paintEvent(QPaintEvent*) override {}
};

}  // namespace trovenix
