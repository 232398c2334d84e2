// A combo box that tells before its list opens, so that the output-format
// list can set how many items it shows.
#pragma once

#include <QComboBox>
#include <functional>

namespace trovenix {

class TFormatComboBox final : public QComboBox {
 public:
  using QComboBox::QComboBox;
  // Runs before the list opens; it may change maxVisibleItems.
  std::function<void()> OnDropDown;
  void showPopup() override {
    if (OnDropDown) OnDropDown();
    QComboBox::showPopup();
  }
};

}  // namespace trovenix
