// Records the addresses a dialog asks the desktop to open.
#pragma once

#include <QList>
#include <QUrl>

#include "app/UrlOpener.h"

namespace trovenix::test {

class TFakeUrlOpener final : public IUrlOpener {
 public:
  bool OpenUrl(const QUrl& url) override {
    Opened << url;
    return Answer;
  }
  QList<QUrl> Opened;
  bool Answer = true;
};

}  // namespace trovenix::test
