// File > Open Output Folder: the folder in the file manager, through the
// desktop's opener; disabled while the folder box is empty.
#include <QTemporaryDir>

#include "FakeUrlOpener.h"
#include "WindowFixture.h"

namespace trovenix::test {
namespace {

class OutputFolderMenuTest : public WindowFixture {
 protected:
  void SetUp() override {
    urls = &opener;
    StartUp();
  }
  TFakeUrlOpener opener;
};

TEST_F(OutputFolderMenuTest, OpensTheFolderAndIsDisabledWhileTheBoxIsEmpty) {
  QAction* action = form1->Ui().ActionOpenOutputFolder;
  form1->Model().OutputFolder = "";
  form1->ShowState();
  EXPECT_FALSE(action->isEnabled());
  // Typing a folder enables it, emptying the box disables it again.
  QTemporaryDir folder;
  form1->Ui().EditOutputFolder->setFocus();
  form1->Ui().EditOutputFolder->selectAll();
  emit form1->Ui().EditOutputFolder->textEdited(folder.path() + "  ");
  EXPECT_TRUE(action->isEnabled());
  emit form1->Ui().EditOutputFolder->textEdited(QStringLiteral("  "));
  EXPECT_FALSE(action->isEnabled());

  form1->Model().OutputFolder = folder.path().toStdString() + " ";
  form1->ShowState();
  ASSERT_TRUE(action->isEnabled());
  action->trigger();
  ASSERT_EQ(opener.Opened.size(), 1);
  EXPECT_EQ(opener.Opened[0], QUrl::fromLocalFile(folder.path()));
  EXPECT_TRUE(messages.Informations.empty());

  // A folder that is gone is said so, and nothing is opened.
  form1->Model().OutputFolder = "/no/such/folder";
  action->trigger();
  EXPECT_EQ(opener.Opened.size(), 1);
  ASSERT_EQ(messages.Informations.size(), 1u);
  EXPECT_NE(messages.Informations[0].find("/no/such/folder"), std::string::npos);
}

}  // namespace
}  // namespace trovenix::test
