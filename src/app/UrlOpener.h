// Opens web addresses, mail addresses and local files the way the desktop
// does. The dialogs take it as an interface, so tests open no browser.
#pragma once

#include <QUrl>

namespace trovenix {

class IUrlOpener {
 public:
  virtual ~IUrlOpener() = default;
  // False when the desktop has nothing to open it with.
  virtual bool OpenUrl(const QUrl& url) = 0;
};

// QDesktopServices: the default browser, mail program or file viewer.
class TDesktopUrlOpener final : public IUrlOpener {
 public:
  bool OpenUrl(const QUrl& url) override;
};

// The program's one desktop opener.
IUrlOpener& DesktopUrlOpener();

}  // namespace trovenix
