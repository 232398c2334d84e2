#include "app/HelpFile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "app/FakeUrlOpener.h"
#include "app/QtTestApp.h"

namespace trovenix {
namespace {

using test::TestApp;
using test::TFakeUrlOpener;

void Touch(const QString& path) {
  QDir().mkpath(QFileInfo(path).path());
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("<html></html>");
}

TEST(HelpFile, OpensTheGuideBesideTheProgramAtItsContents) {
  TestApp();
  QTemporaryDir dir;
  Touch(dir.filePath(QStringLiteral("help.html")));
  TFakeUrlOpener opener;
  EXPECT_TRUE(OpenHelpFile(dir.path(), opener));
  ASSERT_EQ(opener.Opened.size(), 1);
  EXPECT_EQ(opener.Opened[0].toLocalFile(),
            QFileInfo(dir.filePath("help.html")).canonicalFilePath());
  EXPECT_EQ(opener.Opened[0].fragment(), QStringLiteral("contents"));
  opener.Answer = false;  // no browser
  EXPECT_FALSE(OpenHelpFile(dir.path(), opener));
}

TEST(HelpFile, FindsTheInstalledGuideAndReportsAMissingOne) {
  TestApp();
  QTemporaryDir prefix;
  const QString bin = prefix.filePath(QStringLiteral("bin"));
  QDir().mkpath(bin);
  TFakeUrlOpener opener;
  EXPECT_EQ(HelpFilePath(bin), QString());
  EXPECT_FALSE(OpenHelpFile(bin, opener));
  EXPECT_TRUE(opener.Opened.isEmpty());

  Touch(prefix.filePath(QStringLiteral("share/trovenix/help.html")));
  EXPECT_EQ(
      HelpFilePath(bin),
      QFileInfo(prefix.filePath(QStringLiteral("share/trovenix/help.html"))).canonicalFilePath());
}

TEST(HelpFile, TheBuildTreeHasTheGuideBesideTheProgram) {
  const QString path = HelpFilePath(QStringLiteral(TROVENIX_APP_BUILD_DIR));
  ASSERT_FALSE(path.isEmpty());
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray page = file.readAll();
  for (const char* part : {"id=\"contents\"", "Output Format", "Skins", "Additional Options"})
    EXPECT_TRUE(page.contains(part)) << part;
}

}  // namespace
}  // namespace trovenix
