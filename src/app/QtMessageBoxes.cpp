#include "app/QtMessageBoxes.h"

#include <QMessageBox>

namespace trovenix {

void TQtMessageBoxes::Information(const QString& text) {
  QMessageBox::information(parent_, QStringLiteral("Information"), text);
}

bool TQtMessageBoxes::Confirmation(const QString& text) {
  return QMessageBox::question(parent_, QStringLiteral("Confirmation"), text,
                               QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::No) == QMessageBox::Yes;
}

}  // namespace trovenix
