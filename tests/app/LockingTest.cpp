// The locking rule while a batch runs, and the folder picker it refuses.
#include <QMenuBar>

#include "WindowFixture.h"

namespace trovenix::test {
namespace {

class LockingTest : public WindowFixture {
 protected:
  void SetUp() override { StartUp(); }

  std::vector<QWidget*> LockedWidgets() const {
    const TForm1Ui& ui = form1->Ui();
    return {ui.ButtonAddVideo,    ui.ButtonRemove,    ui.ButtonClearAll,    ui.ButtonConvertNow,
            ui.ComboOutputFormat, ui.ComboVideoSize,  ui.ComboVideoBitrate, ui.ComboVideoFramerate,
            ui.ComboVideoCodec,   ui.ComboLetterBox,  ui.ComboAudioBitrate, ui.ComboAudioChannels,
            ui.ComboSamplingRate, ui.ComboAudioCodec, ui.TrackBar1,         ui.ComboAspectRatio};
  }
  std::vector<QAction*> LockedMenus() const {
    const TForm1Ui& ui = form1->Ui();
    return {ui.MenuFile->menuAction(), ui.MenuOptions->menuAction(), ui.ActionSkins,
            ui.MenuHelp->menuAction()};
  }
  std::vector<QWidget*> UntouchedWidgets() const {
    const TForm1Ui& ui = form1->Ui();
    return {ui.ButtonStopConvert, ui.ButtonPlay,   ui.ButtonPause,
            ui.ButtonStop,        ui.ButtonVolume, ui.ButtonSnapshot};
  }
};

TEST_F(LockingTest, DisableLocksEveryListedControlAndEnableUnlocksThem) {
  form1->DisableControls();
  for (QWidget* w : LockedWidgets())
    EXPECT_FALSE(w->isEnabled()) << w->accessibleName().toStdString();
  for (QAction* a : LockedMenus()) EXPECT_FALSE(a->isEnabled()) << a->text().toStdString();
  for (QWidget* w : UntouchedWidgets())
    EXPECT_TRUE(w->isEnabled()) << w->accessibleName().toStdString();
  EXPECT_FALSE(form1->Model().Commands.ListContextMenu);

  form1->EnableControls();
  for (QWidget* w : LockedWidgets())
    EXPECT_TRUE(w->isEnabled()) << w->accessibleName().toStdString();
  for (QAction* a : LockedMenus()) EXPECT_TRUE(a->isEnabled()) << a->text().toStdString();
  for (QWidget* w : UntouchedWidgets())
    EXPECT_TRUE(w->isEnabled()) << w->accessibleName().toStdString();
  EXPECT_TRUE(form1->Model().Commands.ListContextMenu);
}

TEST_F(LockingTest, VideoListsAreEnabledAgainAfterABatchWithMp3) {
  const TForm1Ui& ui = form1->Ui();
  const int mp3 = ui.ComboOutputFormat->findText("MP3 - Mpeg Layer3 Audio (*.mp3)");
  ui.ComboOutputFormat->setCurrentIndex(mp3);
  emit ui.ComboOutputFormat->activated(mp3);
  ASSERT_FALSE(ui.ComboVideoSize->isEnabled());
  form1->DisableControls();
  form1->EnableControls();
  for (QComboBox* box : {ui.ComboVideoSize, ui.ComboVideoBitrate, ui.ComboVideoFramerate,
                         ui.ComboVideoCodec, ui.ComboLetterBox})
    EXPECT_TRUE(box->isEnabled()) << box->accessibleName().toStdString();
}

TEST_F(LockingTest, BrowseOpensAtTheFolderPickedLastAndIsRefusedWhileConverting) {
  form1->Model().OutputFolder = "/home/user/out";
  form1->ShowState();
  folders.Answers = {std::string("/tmp/first"), std::nullopt};
  form1->Ui().ButtonBrowse->click();
  ASSERT_EQ(folders.Starts.size(), 1u);
  EXPECT_EQ(folders.Headlines[0], "Choose the required output directory below :");
  EXPECT_EQ(folders.Starts[0], "/home/user/out");
  EXPECT_EQ(form1->Ui().EditOutputFolder->text(), "/tmp/first");
  EXPECT_EQ(form1->Model().OutputFolder, "/tmp/first");

  // Cancelled: the box keeps its text; the picker opened at the last pick.
  form1->BrowseClick();
  ASSERT_EQ(folders.Starts.size(), 2u);
  EXPECT_EQ(folders.Starts[1], "/tmp/first");
  EXPECT_EQ(form1->Model().OutputFolder, "/tmp/first");

  form1->Model().Run.Converting = true;
  form1->BrowseClick();
  EXPECT_EQ(folders.Starts.size(), 2u);
  form1->Model().Run.Converting = false;
}

}  // namespace
}  // namespace trovenix::test
