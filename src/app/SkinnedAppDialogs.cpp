#include "app/SkinnedAppDialogs.h"

#include <QFileInfo>
#include <QUrl>

#include "app/AboutBox.h"
#include "app/HelpFile.h"
#include "app/SkinChooser.h"
#include "app/UrlOpener.h"

namespace trovenix {

void TSkinnedAppDialogs::CreateWindows(QWidget* mainWindow) {
  chooser_ = new TFormSkin(skins_, mainWindow);
  about_ = new TFormAbout(mainWindow);
}

void TSkinnedAppDialogs::ShowSkinChooser() {
  if (chooser_) chooser_->exec();
}

void TSkinnedAppDialogs::ShowAbout() {
  if (about_) about_->exec();
}

void TSkinnedAppDialogs::OpenHelp(const QString& helpFile) {
  // The guide is looked for beside the program, then where it is installed.
  OpenHelpFile(QFileInfo(helpFile).absolutePath());
}

void TSkinnedAppDialogs::VisitWebsite() {
  DesktopUrlOpener().OpenUrl(QUrl(QString::fromLatin1(TFormAbout::WebSite)));
}

void TSkinnedAppDialogs::SetSkinFolder(const QString& folder) {
  skins_.SetSkinFolder(folder.toStdString());
}

QString TSkinnedAppDialogs::Skin() const { return QString::fromStdString(skins_.Skin()); }

void TSkinnedAppDialogs::SetSkin(const QString& name) { skins_.SetSkin(name.toStdString()); }

}  // namespace trovenix
