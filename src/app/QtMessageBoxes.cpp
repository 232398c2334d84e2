#include "app/QtMessageBoxes.h"

#include <QMessageBox>

namespace trovenix {

void TQtMessageBoxes::Information(const std::string& text) {
  QMessageBox::information(parent_, QStringLiteral("Information"), QString::fromStdString(text));
}

bool TQtMessageBoxes::Confirm(const std::string& text) {
  return QMessageBox::question(parent_, QStringLiteral("Confirmation"),
                               QString::fromStdString(text), QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::No) == QMessageBox::Yes;
}

}  // namespace trovenix
