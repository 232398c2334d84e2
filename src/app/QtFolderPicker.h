// IFolderPicker on the platform's folder dialog.
#pragma once

#include <QPointer>
#include <QWidget>

#include "app/FolderPicker.h"

namespace trovenix {

class TQtFolderPicker final : public IFolderPicker {
 public:
  void SetParent(QWidget* parent) { parent_ = parent; }
  std::optional<std::string> ChooseFolder(const std::string& headline,
                                          const std::string& start) override;

 private:
  QPointer<QWidget> parent_;
};

}  // namespace trovenix
