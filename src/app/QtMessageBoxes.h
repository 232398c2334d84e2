// IMessageBoxes on QMessageBox, centred on the main window when there is one.
#pragma once

#include <QPointer>
#include <QWidget>

#include "app/MessageBoxes.h"

namespace trovenix {

class TQtMessageBoxes final : public IMessageBoxes {
 public:
  void SetParent(QWidget* parent) { parent_ = parent; }
  void Information(const std::string& text) override;
  bool Confirm(const std::string& text) override;

 private:
  QPointer<QWidget> parent_;
};

}  // namespace trovenix
