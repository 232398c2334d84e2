#include "app/DefaultAppDialogs.h"

#include <QDesktopServices>
#include <QUrl>

namespace trovenix {

void TDefaultAppDialogs::OpenHelp(const QString& helpFile) {
  ++BrowserRequests;
  if (OpenInBrowser) QDesktopServices::openUrl(QUrl::fromLocalFile(helpFile));
}

void TDefaultAppDialogs::VisitWebsite() {
  ++BrowserRequests;
  if (OpenInBrowser) QDesktopServices::openUrl(QUrl(QString::fromLatin1(MakerWebsite)));
}

}  // namespace trovenix
