#include "app/UrlOpener.h"

#include <QDesktopServices>

namespace trovenix {

bool TDesktopUrlOpener::OpenUrl(const QUrl& url) {
  return QDesktopServices::openUrl(url);
}

IUrlOpener& DesktopUrlOpener() {
  static TDesktopUrlOpener opener;
  return opener;
}

}  // namespace trovenix
