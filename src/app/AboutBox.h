// The about box: program icon, "Trovenix 4.0", the maker's web site and
// support address as links, OK. Always on top, centred on its parent.
#pragma once

#include <QDialog>

#include "app/UrlOpener.h"

class QLabel;

namespace trovenix {

class TFormAbout final : public QDialog {
 public:
  static constexpr const char* WebSite = "https://www.qelvar.com/";
  static constexpr const char* SupportMail = "mailto:support@qelvar.com";

  explicit TFormAbout(QWidget* parent = nullptr, IUrlOpener& opener = DesktopUrlOpener());

  QLabel* WebSiteLink() const { return webSite_; }
  QLabel* SupportLink() const { return support_; }

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Link texts take the label's own text colour, so that every skin keeps
  // them readable (rich-text links would otherwise stay the palette's blue).
  void ColourLinks();

  IUrlOpener& opener_;
  QLabel* webSite_;
  QLabel* support_;
};

}  // namespace trovenix
