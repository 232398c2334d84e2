// The windows of the program beside the main window and the Additional
// Options dialog: the skin chooser, the about box and the help page, and the
// skin in effect. The main window reaches them only through this interface.
#pragma once

#include <QString>

class QWidget;

namespace trovenix {

class IAppDialogs {
 public:
  virtual ~IAppDialogs() = default;
  // Program entry creates the chooser and the about box here, right after
  // the main window, which they centre on.
  virtual void CreateWindows(QWidget* mainWindow) = 0;
  // Skins menu: the chooser, modally.
  virtual void ShowSkinChooser() = 0;
  // Help > About: the about box, modally.
  virtual void ShowAbout() = 0;
  // Help > Open Help File: the page in the default browser.
  virtual void OpenHelp(const QString& helpFile) = 0;
  // Help > Visit Qelvar Website.
  virtual void VisitWebsite() = 0;
  // The folder whose skin files join the built-in skins.
  virtual void SetSkinFolder(const QString& folder) = 0;
  virtual QString Skin() const = 0;
  virtual void SetSkin(const QString& name) = 0;
};

}  // namespace trovenix
