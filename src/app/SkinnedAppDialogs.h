// The program's IAppDialogs: skins through the skin manager, the skin chooser
// and the about box centred on the main window, the guide and the maker's web
// site in the default browser.
#pragma once

#include <QPointer>

#include "app/AppDialogs.h"
#include "app/SkinManager.h"

namespace trovenix {

class TFormAbout;
class TFormSkin;

class TSkinnedAppDialogs final : public IAppDialogs {
 public:
  void CreateWindows(QWidget* mainWindow) override;
  void ShowSkinChooser() override;
  void ShowAbout() override;
  void OpenHelp(const QString& helpFile) override;
  void VisitWebsite() override;
  void SetSkinFolder(const QString& folder) override;
  QString Skin() const override;
  void SetSkin(const QString& name) override;

 private:
  TSkinManager skins_;
  // Children of the main window, which deletes them.
  QPointer<TFormSkin> chooser_;
  QPointer<TFormAbout> about_;
};

}  // namespace trovenix
