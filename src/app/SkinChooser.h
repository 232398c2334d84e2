// The skin chooser ("Choose Skin"): the ten display names, OK and Cancel.
// Shown modally from the Skins menu; its behaviour is TSkinChoice's.
#pragma once

#include <QDialog>

#include "app/SkinChoice.h"

class QListWidget;

namespace trovenix {

class TFormSkin final : public QDialog {
 public:
  TFormSkin(ISkinSwitch& skins, QWidget* parent = nullptr);

  QListWidget* SkinList() const { return list_; }
  const TSkinChoice& Choice() const { return choice_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  TSkinChoice choice_;
  QListWidget* list_;
};

}  // namespace trovenix
