#include "app/QtFileDialog.h"

#include "app/OpenDialogFilter.h"

namespace trovenix {

TQtFileDialog::TQtFileDialog(QWidget* parent) : parent_(parent) {
  for (const std::string& filter : NameFilters(OpenDialogFilterText()))
    filters_ << QString::fromStdString(filter);
}

TQtFileDialog::~TQtFileDialog() = default;

QFileDialog& TQtFileDialog::Dialog() {
  if (!dialog_) {
    dialog_ = new QFileDialog(parent_);
    dialog_->setFileMode(QFileDialog::ExistingFiles);
    dialog_->setOption(QFileDialog::ReadOnly, false);
    dialog_->setOption(QFileDialog::HideNameFilterDetails, true);
    dialog_->setNameFilters(filters_);
    dialog_->selectNameFilter(filters_.front());
  }
  return *dialog_;
}

std::vector<std::string> TQtFileDialog::ChooseFiles() {
  QFileDialog& dialog = Dialog();
  std::vector<std::string> files;
  if (dialog.exec() != QDialog::Accepted) return files;
  for (const QString& file : dialog.selectedFiles()) files.push_back(file.toStdString());
  return files;
}

}  // namespace trovenix
