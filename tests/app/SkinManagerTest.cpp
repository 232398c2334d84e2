#include "app/SkinManager.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QMainWindow>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSlider>
#include <QSpinBox>
#include <QStatusBar>
#include <QTableWidget>
#include <mutex>

#include "app/QtTestApp.h"
#include "app/SkinFolder.h"

namespace trovenix {
namespace {

using test::TestApp;
using test::TSkinFolder;

// Qt reports a sheet it cannot parse only as a warning; these tests collect
// them.
std::mutex WarningsLock;
QStringList Warnings;
void CollectWarnings(QtMsgType type, const QMessageLogContext&, const QString& text) {
  if (type == QtDebugMsg || type == QtInfoMsg) return;
  // The offscreen platform's own notes are not about the sheet.
  if (!text.contains(QStringLiteral("style"), Qt::CaseInsensitive) &&
      !text.contains(QStringLiteral("parse"), Qt::CaseInsensitive))
    return;
  const std::lock_guard<std::mutex> guard(WarningsLock);
  Warnings << text;
}

// Polishing the kinds of controls the windows use makes Qt parse the sheet.
void PolishSampleWindow() {
  QMainWindow window;
  window.menuBar()->addMenu(QStringLiteral("File"))->addAction(QStringLiteral("Exit"));
  auto* group = new QGroupBox(QStringLiteral(" Video Settings "), &window);
  window.setCentralWidget(group);
  new QPushButton(QStringLiteral("Play"), group);
  (new QComboBox(group))->addItem(QStringLiteral("Original"));
  new QSpinBox(group);
  new QSlider(Qt::Horizontal, group);
  new QProgressBar(group);
  new QTableWidget(2, 2, group);
  window.statusBar()->showMessage(QStringLiteral("Ready"));
  window.show();
  QCoreApplication::processEvents();
}

TEST(SkinManager, EveryBuiltInSkinParsesAndFindsItsGlyphs) {
  TestApp();
  TSkinManager skins;
  for (const TSkinEntry& entry : TSkinCatalogue::InternalSkins()) {
    SCOPED_TRACE(entry.Name);
    ASSERT_TRUE(skins.SetSkin(entry.Name));
    EXPECT_EQ(skins.Skin(), entry.Name);
    const QString sheet = qApp->styleSheet();
    EXPECT_GT(sheet.size(), 1000);
    // Every picture the sheet names is compiled in.
    const QRegularExpression url(QStringLiteral("url\\(([^)]*)\\)"));
    for (auto it = url.globalMatch(sheet); it.hasNext();) {
      const QString path = it.next().captured(1);
      EXPECT_TRUE(QFile::exists(path)) << path.toStdString();
    }
    Warnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(CollectWarnings);
    PolishSampleWindow();
    qInstallMessageHandler(previous);
    EXPECT_TRUE(Warnings.isEmpty()) << Warnings.join(QStringLiteral("\n")).toStdString();
  }
  // The skins differ from each other.
  QStringList sheets;
  for (const TSkinEntry& entry : TSkinCatalogue::InternalSkins())
    sheets << skins.StyleSheet(entry.Name);
  sheets.removeDuplicates();
  EXPECT_EQ(sheets.size(), 10);
}

TEST(SkinManager, PlainStoredNameAppliesTheBuiltInSkin) {
  TestApp();
  TSkinManager skins;
  EXPECT_EQ(skins.Skin(), "");
  EXPECT_TRUE(skins.SetSkin("Elegance"));
  EXPECT_EQ(skins.Skin(), "Elegance (internal)");
  EXPECT_EQ(qApp->styleSheet(), skins.StyleSheet("Elegance (internal)"));
}

TEST(SkinManager, FileSkinsApplyTheirSheet) {
  TestApp();
  TSkinFolder folder;
  folder.Write("Plain.qss", "QPushButton { color: #123456; }");
  TSkinManager skins;
  skins.SetSkinFolder(folder.Folder());
  ASSERT_TRUE(skins.SetSkin("Plain"));
  EXPECT_EQ(skins.Skin(), "Plain");
  EXPECT_EQ(qApp->styleSheet(), QStringLiteral("QPushButton { color: #123456; }"));
}

TEST(SkinManager, UnknownOrUnreadableSkinGivesTheDefault) {
  TestApp();
  TSkinFolder folder;
  folder.Write("Short-lived.qss", "QLabel {}");
  TSkinManager skins;
  skins.SetSkinFolder(folder.Folder());
  ASSERT_TRUE(skins.SetSkin("Vista"));
  for (const char* name : {"No Such Skin", "", "  Elegance  "}) {
    EXPECT_FALSE(skins.SetSkin(name)) << name;
    EXPECT_EQ(skins.Skin(), "Elegance (internal)") << name;
    EXPECT_EQ(qApp->styleSheet(), skins.StyleSheet("Elegance (internal)"));
    ASSERT_TRUE(skins.SetSkin("Vista"));
  }
  // Listed, then gone before it is applied.
  EXPECT_EQ(skins.SkinNames().size(), 11u);
  std::filesystem::remove(folder.Path() / "Short-lived.qss");
  EXPECT_FALSE(skins.SetSkin("Short-lived"));
  EXPECT_EQ(skins.Skin(), "Elegance (internal)");
}

}  // namespace
}  // namespace trovenix
