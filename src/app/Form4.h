// The Additional Options dialog: the overwrite choice and the number of
// items the output-format list shows. Created once at start-up, after the
// main window, when it also reads the settings; shown without blocking the
// main window, always on top; its values take effect at once.
#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QPushButton>
#include <QSpinBox>

namespace trovenix {

class TForm1;

class TForm4 final : public QDialog {
 public:
  explicit TForm4(TForm1& mainWindow);

  QCheckBox* CheckOverwrite() const { return checkOverwrite_; }
  QSpinBox* SpinDropDownItems() const { return spinDropDownItems_; }
  QPushButton* ButtonDone() const { return buttonDone_; }

  // Options > Set Additional Options: centred on the main window, on top.
  void ShowBesideMainWindow();
  // The controls show the model's options again.
  void ShowState();

 private:
  TForm1& main_;
  QGroupBox* group_ = nullptr;
  QCheckBox* checkOverwrite_ = nullptr;
  QSpinBox* spinDropDownItems_ = nullptr;
  QPushButton* buttonDone_ = nullptr;
};

}  // namespace trovenix
