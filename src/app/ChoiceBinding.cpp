#include "app/ChoiceBinding.h"

#include <QSignalBlocker>

namespace trovenix {
namespace {

bool SameItems(const QComboBox& box, const TChoiceControl& control) {
  if (box.count() != static_cast<int>(control.Items.size())) return false;
  for (int i = 0; i < box.count(); ++i)
    if (box.itemText(i).toStdString() != control.Items[static_cast<std::size_t>(i)]) return false;
  return true;
}

}  // namespace

void ShowChoice(QComboBox& box, const TChoiceControl& control) {
  const QSignalBlocker quiet(box);
  if (!SameItems(box, control)) {
    box.clear();
    for (const std::string& item : control.Items) box.addItem(QString::fromStdString(item));
  }
  box.setCurrentIndex(control.ItemIndex < box.count() ? control.ItemIndex : -1);
  box.setEnabled(control.Enabled);
}

}  // namespace trovenix
