// IAppDialogs without the skinned windows: it remembers the skin name and the
// skin folder and shows nothing; help and the web site open in the default
// browser. The window runs on it until the skin manager is built in, and the
// tests always do.
#pragma once

#include "app/AppDialogs.h"

namespace trovenix {

// The maker's web site and support address.
inline constexpr const char* MakerWebsite = "https://www.qelvar.com/";
inline constexpr const char* SupportMail = "mailto:support@qelvar.com";

class TDefaultAppDialogs : public IAppDialogs {
 public:
  void CreateWindows(QWidget*) override {}
  void ShowSkinChooser() override { ++SkinChooserShown; }
  void ShowAbout() override { ++AboutShown; }
  void OpenHelp(const QString& helpFile) override;
  void VisitWebsite() override;
  void SetSkinFolder(const QString& folder) override { skinFolder_ = folder; }
  QString SkinFolder() const { return skinFolder_; }
  QString Skin() const override { return skin_; }
  void SetSkin(const QString& name) override { skin_ = name; }

  int SkinChooserShown = 0;
  int AboutShown = 0;
  // When false, help and the web site are only counted (tests).
  bool OpenInBrowser = true;
  int BrowserRequests = 0;

 private:
  QString skinFolder_;
  QString skin_;
};

}  // namespace trovenix
