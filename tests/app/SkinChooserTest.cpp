#include "app/SkinChooser.h"

#include <gtest/gtest.h>

#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "app/QtTestApp.h"
#include "app/SkinFolder.h"
#include "app/SkinManager.h"

namespace trovenix {
namespace {

using test::TestApp;
using test::TSkinFolder;

class SkinChooser : public ::testing::Test {
 protected:
  void SetUp() override {
    skins_.SetSkinFolder(folder_.Folder());
    ASSERT_TRUE(skins_.SetSkin("Elegance"));
    parent_.setGeometry(100, 100, 763, 564);
    parent_.show();
  }

  // Clicks the display name in the given row, as the user does.
  void Click(TFormSkin& chooser, int row) {
    QListWidget* list = chooser.SkinList();
    const QRect where = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, where.center());
  }
  void Press(TFormSkin& chooser, const char* button) {
    chooser.findChild<QPushButton*>(QString::fromLatin1(button))->click();
  }

  QApplication& app_ = TestApp();  // before any widget
  TSkinFolder folder_;
  TSkinManager skins_;
  QWidget parent_;
};

TEST_F(SkinChooser, ShowsTheTenDisplayNamesCentredOnItsParent) {
  TFormSkin chooser(skins_, &parent_);
  chooser.show();
  EXPECT_EQ(chooser.windowTitle(), QStringLiteral("Choose Skin"));
  QStringList names;
  for (int i = 0; i < chooser.SkinList()->count(); ++i)
    names << chooser.SkinList()->item(i)->text();
  EXPECT_EQ(names, QStringList({"Acrylic", "Dark Glass", "Elegant Blue", "Golden", "Grey",
                                "Mac OS2", "Office 2007 Blue", "Opus", "Sport", "Vista"}));
  EXPECT_EQ(chooser.SkinList()->currentRow(), -1);
  EXPECT_LE((chooser.frameGeometry().center() - parent_.frameGeometry().center()).manhattanLength(),
            2);
  chooser.reject();
}

TEST_F(SkinChooser, WithOnlyBuiltInSkinsEachNameAppliesItsSkin) {
  TFormSkin chooser(skins_, &parent_);
  chooser.show();
  const std::vector<TSkinEntry>& builtIn = TSkinCatalogue::InternalSkins();
  for (int row = 0; row < 10; ++row) {
    Click(chooser, row);
    EXPECT_EQ(skins_.Skin(), builtIn[static_cast<std::size_t>(row)].Name) << row;
  }
  Press(chooser, "ButtonOK");
  EXPECT_FALSE(chooser.isVisible());
  EXPECT_EQ(skins_.Skin(), "Vista (internal)");
}

TEST_F(SkinChooser, SkinFilesShiftWhichSkinANameApplies) {
  folder_.Write("Aqua Marine.qss", "QLabel { color: teal; }");
  folder_.Write("Abyss.qss", "QLabel { color: navy; }");
  TFormSkin chooser(skins_, &parent_);
  chooser.show();
  ASSERT_EQ(chooser.Choice().HiddenList().size(), 12u);
  struct TCase {
    int Row;
    const char* Skin;
  };
  for (const TCase& c : {TCase{0, "Abyss"}, TCase{1, "Acryl (internal)"}, TCase{2, "Aqua Marine"},
                         TCase{3, "DarkGlass (internal)"}, TCase{9, "Opus (internal)"}}) {
    Click(chooser, c.Row);
    EXPECT_EQ(skins_.Skin(), c.Skin) << c.Row;
  }
  EXPECT_EQ(qApp->styleSheet(), skins_.StyleSheet("Opus (internal)"));
  Press(chooser, "ButtonOK");
}

TEST_F(SkinChooser, CancelAfterTryingSeveralSkinsRestoresTheOneInEffect) {
  ASSERT_TRUE(skins_.SetSkin("Golden (internal)"));
  TFormSkin chooser(skins_, &parent_);
  for (const char* button : {"ButtonCancel", "escape"}) {
    chooser.show();
    for (int row : {1, 5, 8}) Click(chooser, row);
    EXPECT_EQ(skins_.Skin(), "Sporting (internal)");
    if (std::string(button) == "escape")
      QTest::keyClick(&chooser, Qt::Key_Escape);
    else
      Press(chooser, button);
    EXPECT_FALSE(chooser.isVisible());
    EXPECT_EQ(skins_.Skin(), "Golden (internal)") << button;
    EXPECT_EQ(qApp->styleSheet(), skins_.StyleSheet("Golden (internal)"));
  }

  // The next opening remembers the skin kept by OK, and lists a file added
  // meanwhile.
  chooser.show();
  Click(chooser, 9);
  Press(chooser, "ButtonOK");
  folder_.Write("Aardvark.qss", "");
  chooser.show();
  EXPECT_EQ(chooser.Choice().SkinWhenOpened(), "Vista (internal)");
  EXPECT_EQ(chooser.Choice().HiddenList().front(), "Aardvark");
  Click(chooser, 0);
  EXPECT_EQ(skins_.Skin(), "Aardvark");
  Press(chooser, "ButtonCancel");
  EXPECT_EQ(skins_.Skin(), "Vista (internal)");
}

}  // namespace
}  // namespace trovenix
