#include "app/QtFolderPicker.h"

#include <QFileDialog>

namespace trovenix {

std::optional<std::string> TQtFolderPicker::ChooseFolder(const std::string& headline,
                                                         const std::string& start) {
  const QString folder =
      QFileDialog::getExistingDirectory(parent_, QString::fromStdString(headline),
                                        QString::fromStdString(start), QFileDialog::ShowDirsOnly);
  if (folder.isEmpty()) return std::nullopt;
  return folder.toStdString();
}

}  // namespace trovenix
