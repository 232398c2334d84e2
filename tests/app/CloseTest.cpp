// Closing the window saves the settings; File > Exit ends without saving;
// during a batch the window does not close.
#include "WindowFixture.h"

namespace trovenix::test {
namespace {

class CloseTest : public WindowFixture {
 protected:
  void SetUp() override {
    StartUp();
    // The first run filled the store.
    ASSERT_EQ(Stored("Output Folder").toString(), "");
    TypeFolder("/data/converted");
  }
  void TypeFolder(const QString& folder) {
    QLineEdit* edit = form1->Ui().EditOutputFolder;
    edit->setText(folder);
    emit edit->textEdited(folder);
  }
};

TEST_F(CloseTest, CloseSavesTheCurrentChoices) {
  const TForm1Ui& ui = form1->Ui();
  const int mp3 = ui.ComboOutputFormat->findText("MP3 - Mpeg Layer3 Audio (*.mp3)");
  ui.ComboOutputFormat->setCurrentIndex(mp3);
  emit ui.ComboOutputFormat->activated(mp3);
  form4->CheckOverwrite()->setChecked(true);
  form4->SpinDropDownItems()->setValue(33);
  dialogs.SetSkin("Vista");
  EXPECT_TRUE(form1->close());
  EXPECT_EQ(Stored("Output Folder").toString(), "/data/converted");
  EXPECT_EQ(Stored("ComboOutputFormat").toInt(), mp3);
  EXPECT_EQ(Stored("Overwrite").toInt(), 1);
  EXPECT_EQ(Stored("DropDownItems").toInt(), 33);
  EXPECT_EQ(Stored("LetterBox").toInt(), 0);
  EXPECT_EQ(Stored("Skin").toString(), "Vista");
}

TEST_F(CloseTest, ExitSavesNothing) {
  form1->Ui().ActionExit->trigger();
  form4.reset();
  form1.reset();
  EXPECT_EQ(Stored("Output Folder").toString(), "");
}

TEST_F(CloseTest, WindowStaysOpenWhileABatchStepRuns) {
  form1->Model().Run.Converting = true;
  EXPECT_FALSE(form1->close());
  EXPECT_TRUE(form1->isVisible());
  EXPECT_TRUE(messages.Informations.empty());
  EXPECT_EQ(Stored("Output Folder").toString(), "");
  // After the batch the window closes and saves.
  form1->Model().Run.Converting = false;
  EXPECT_TRUE(form1->close());
  EXPECT_EQ(Stored("Output Folder").toString(), "/data/converted");
}

}  // namespace
}  // namespace trovenix::test
