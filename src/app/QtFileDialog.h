// IFileDialog on QFileDialog: several existing files, no read-only box, the
// add step's name filters with "All Supported Files" selected first.
#pragma once

#include <QFileDialog>
#include <QPointer>
#include <QStringList>

#include "app/FileDialog.h"

namespace trovenix {

class TQtFileDialog final : public IFileDialog {
 public:
  explicit TQtFileDialog(QWidget* parent);
  ~TQtFileDialog() override;
  TQtFileDialog(const TQtFileDialog&) = delete;
  TQtFileDialog& operator=(const TQtFileDialog&) = delete;

  // The dialog, made on first use: building it costs more than the rest of
  // the window.
  QFileDialog& Dialog();
  std::vector<std::string> ChooseFiles() override;

 private:
  QWidget* parent_;
  QStringList filters_;
  QPointer<QFileDialog> dialog_;  // a child of parent_
};

}  // namespace trovenix
