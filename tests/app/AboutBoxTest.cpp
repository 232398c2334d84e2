#include "app/AboutBox.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>

#include "app/FakeUrlOpener.h"
#include "app/QtTestApp.h"

namespace trovenix {
namespace {

using test::TestApp;
using test::TFakeUrlOpener;

// The address a link label leads to, as the user would follow it.
QString Href(const QLabel& label) {
  return QRegularExpression(QStringLiteral("href=\"([^\"]*)\"")).match(label.text()).captured(1);
}

TEST(AboutBox, ShowsTheProgramAndOpensBothLinksThroughTheDesktop) {
  TestApp();
  QWidget parent;
  parent.setGeometry(200, 150, 763, 564);
  parent.show();
  TFakeUrlOpener opener;
  TFormAbout about(&parent, opener);
  about.show();

  EXPECT_EQ(about.windowTitle(), QStringLiteral("About"));
  EXPECT_TRUE(about.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_LE((about.frameGeometry().center() - parent.frameGeometry().center()).manhattanLength(),
            2);
  const auto* title = about.findChild<QLabel*>(QStringLiteral("LabelTitle"));
  ASSERT_TRUE(title);
  EXPECT_EQ(title->text(), QStringLiteral("Trovenix 4.0"));
  const auto* icon = about.findChild<QLabel*>(QStringLiteral("ImageIcon"));
  ASSERT_TRUE(icon);
  EXPECT_FALSE(icon->pixmap().isNull());  // the icon resource is linked in

  EXPECT_TRUE(about.WebSiteLink()->text().contains(QStringLiteral(">Visit Qelvar Website<")));
  EXPECT_TRUE(about.SupportLink()->text().contains(QStringLiteral(">Contact Support Department<")));
  emit about.WebSiteLink()->linkActivated(Href(*about.WebSiteLink()));
  emit about.SupportLink()->linkActivated(Href(*about.SupportLink()));
  ASSERT_EQ(opener.Opened.size(), 2);
  EXPECT_EQ(opener.Opened[0], QUrl(QStringLiteral("https://www.qelvar.com/")));
  EXPECT_EQ(opener.Opened[1], QUrl(QStringLiteral("mailto:support@qelvar.com")));

  about.findChild<QPushButton*>(QStringLiteral("ButtonOK"))->click();
  EXPECT_FALSE(about.isVisible());
}

TEST(AboutBox, LinksTakeTheSkinsTextColour) {
  TestApp();
  TFakeUrlOpener opener;
  TFormAbout about(nullptr, opener);
  qApp->setStyleSheet(QStringLiteral("QLabel { color: #fedcba; }"));
  about.show();
  EXPECT_TRUE(about.WebSiteLink()->text().contains(QStringLiteral("#fedcba")));
  qApp->setStyleSheet(QStringLiteral("QLabel { color: #123456; }"));
  QCoreApplication::processEvents();
  EXPECT_TRUE(about.SupportLink()->text().contains(QStringLiteral("#123456")));
  qApp->setStyleSheet(QString());
}

}  // namespace
}  // namespace trovenix
