// The source list in the window: the add step's rows and cells, the list
// commands with their flags, drops of files and folders, and a batch run from
// the window's buttons to "All Conversions Completed" or a Stop.
#include <QCoreApplication>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>
#include <filesystem>
#include <fstream>

#include "WindowFixture.h"
#include "app/DroppedFiles.h"
#include "support/Fixtures.h"

namespace trovenix::test {
namespace {

namespace fs = std::filesystem;

std::string VideoClip() {
  return MakeClip("list-320x240-25fps-1s.avi",
                  "-f lavfi -i testsrc=size=320x240:rate=25 -t 1 -c:v mpeg4");
}
std::string AudioClip() {
  return MakeClip("list-sine-2s.wav", "-f lavfi -i sine=frequency=440:duration=2");
}
std::string LongClip() {
  return MakeClip("list-320x240-25fps-30s.avi",
                  "-f lavfi -i testsrc=size=320x240:rate=25 -f lavfi -i sine=duration=30 "
                  "-t 30 -c:v mpeg4 -q:v 8");
}

class FileListTest : public WindowFixture {
 protected:
  void SetUp() override { StartUp(); }

  const std::vector<TFileListRow>& Rows() { return form1->FileList().Rows(); }

  void Add(const std::vector<std::string>& chosen) {
    files.Answers.push_back(chosen);
    form1->Ui().ButtonAddVideo->click();
  }

  static bool ServeUntil(const std::function<bool()>& done, int timeoutMs = 30000) {
    return ServeEventsUntil(done, timeoutMs);
  }

  bool Informed(const std::string& text) const {
    return std::find(messages.Informations.begin(), messages.Informations.end(), text) !=
           messages.Informations.end();
  }

  std::string OutputFolder() {
    if (!outputDir) outputDir = std::make_unique<QTemporaryDir>();
    return outputDir->path().toStdString();
  }

  std::unique_ptr<QTemporaryDir> outputDir;
};

TEST_F(FileListTest, EachAddedFileGetsACheckedRowWithTheCellsOfItsProbe) {
  struct TCase {
    std::string File;
    std::string VideoSize, FrameRate, Duration, Output, Progress;
  };
  const std::vector<TCase> cases = {
      {VideoClip(), "320x240", "25", "00:00:01", "MP4", ""},
      {AudioClip(), " ", " ", "00:00:02", "MP4", ""},
      {MakeClip("list-ntsc.avi", "-f lavfi -i testsrc=size=64x48:rate=30000/1001 -t 1 -c:v mpeg4"),
       "64x48", "29.97", "00:00:01", "MP4", ""},
      {MakeClip("list-film.avi", "-f lavfi -i testsrc=size=64x48:rate=24000/1001 -t 1 -c:v mpeg4"),
       "64x48", "23.98", "00:00:01", "MP4", ""},
      {WriteFixture("list-not-media.avi", std::string(4096, 'x')), "", "", "", "", "Error"},
  };
  std::vector<std::string> chosen;
  for (const TCase& c : cases) chosen.push_back(c.File);
  Add(chosen);

  EXPECT_EQ(files.Shown, 1);
  EXPECT_FALSE(form1->Model().Run.AddingFiles);
  ASSERT_EQ(Rows().size(), cases.size());
  for (std::size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE(cases[i].File);
    const TFileListRow& row = Rows()[i];
    EXPECT_EQ(row.FileName, cases[i].File);
    EXPECT_TRUE(row.Checked);
    EXPECT_EQ(row.VideoSize, cases[i].VideoSize);
    EXPECT_EQ(row.FrameRate, cases[i].FrameRate);
    EXPECT_EQ(row.Duration, cases[i].Duration);
    EXPECT_EQ(row.Output, cases[i].Output);
    EXPECT_EQ(row.Progress, cases[i].Progress);
    EXPECT_EQ(row.Frames, "");
  }
  // No file stays open while it waits in the list.
  EXPECT_EQ(form1->Engine().TaskCount(), 0);
}

TEST_F(FileListTest, TheSameFileTwiceGivesTwoRowsAndCancellingAddsNothing) {
  Add({VideoClip(), VideoClip()});
  ASSERT_EQ(Rows().size(), 2u);
  EXPECT_EQ(Rows()[0].FileName, Rows()[1].FileName);
  Add({});
  EXPECT_EQ(Rows().size(), 2u);
}

TEST_F(FileListTest, CommandsOfTheListAndTheirFlags) {
  Add({VideoClip(), AudioClip(), VideoClip()});
  const TForm1Ui& ui = form1->Ui();

  ui.ActionUncheckAll->trigger();
  for (const TFileListRow& row : Rows()) EXPECT_FALSE(row.Checked);
  ui.ActionCheckAll->trigger();
  for (const TFileListRow& row : Rows()) EXPECT_TRUE(row.Checked);

  // Remove deletes the selected row only; nothing selected removes nothing.
  ui.ButtonRemove->click();
  EXPECT_EQ(Rows().size(), 3u);
  ui.ListView1->setCurrentIndex(form1->FileList().index(1, 0));
  ui.ActionRemoveSelected->trigger();
  ASSERT_EQ(Rows().size(), 2u);
  EXPECT_EQ(Rows()[0].FileName, VideoClip());
  EXPECT_EQ(Rows()[1].FileName, VideoClip());

  // Adding files empties the Progress and Frames cells of the rows before.
  form1->FileList().SetProgress(0, "Done");
  form1->FileList().SetFrames(0, "25");
  Add({AudioClip()});
  EXPECT_EQ(Rows()[0].Progress, "");
  EXPECT_EQ(Rows()[0].Frames, "");
  ASSERT_EQ(Rows().size(), 3u);

  // Refused while the add step runs or a batch converts.
  form1->Model().Run.AddingFiles = true;
  ui.ButtonClearAll->click();
  ui.ListView1->setCurrentIndex(form1->FileList().index(0, 0));
  ui.ButtonRemove->click();
  EXPECT_EQ(Rows().size(), 3u);
  form1->Model().Run.AddingFiles = false;
  form1->Model().Run.Converting = true;
  files.Answers.push_back({VideoClip()});
  form1->AddClick();
  EXPECT_EQ(files.Shown, 2);
  form1->Model().Run.Converting = false;

  // The format change rewrites every row's Output cell.
  const int mp3 = ui.ComboOutputFormat->findText("MP3 - Mpeg Layer3 Audio (*.mp3)");
  ASSERT_GE(mp3, 0);
  emit ui.ComboOutputFormat->activated(mp3);
  for (const TFileListRow& row : Rows()) EXPECT_EQ(row.Output, "MP3");

  ui.ActionClearAllItems->trigger();
  EXPECT_TRUE(Rows().empty());
}

TEST(DroppedFilesTest, AFolderGivesItsMediaFilesAndThoseOfItsSubfoldersInNameOrder) {
  QTemporaryDir dir;
  const fs::path root = dir.path().toStdString();
  fs::create_directories(root / "b-sub" / "deeper");
  for (const char* name : {"c.AVI", "a.mp3", "notes.txt", "b-sub/x.wav", "b-sub/deeper/y.vob",
                           "b-sub/readme", "d.mkv", "e.flv"})
    std::ofstream(root / name) << "x";
  fs::create_directories(root / "folder.avi");  // a folder, not a file
  const std::string r = root.string();
  EXPECT_EQ(MediaFilesInFolder(r, SupportedExtensions()),
            (std::vector<std::string>{r + "/a.mp3", r + "/b-sub/deeper/y.vob", r + "/b-sub/x.wav",
                                      r + "/c.AVI", r + "/e.flv"}));
  // Dropped files stay as they are, in the order dropped, beside a folder.
  EXPECT_EQ(
      ExpandDroppedPaths({r + "/notes.txt", r + "/b-sub"}),
      (std::vector<std::string>{r + "/notes.txt", r + "/b-sub/deeper/y.vob", r + "/b-sub/x.wav"}));
  EXPECT_TRUE(MediaFilesInFolder(r + "/missing", SupportedExtensions()).empty());
}

TEST_F(FileListTest, AFolderDroppedOnTheListAddsItsMediaFilesInNameOrder) {
  QTemporaryDir dir;
  const fs::path root = dir.path().toStdString();
  fs::create_directories(root / "sub");
  fs::copy_file(VideoClip(), root / "b.avi");
  fs::copy_file(AudioClip(), root / "a.wav");
  fs::copy_file(VideoClip(), root / "sub" / "c.avi");
  std::ofstream(root / "notes.txt") << "not media";

  QMimeData mime;
  mime.setUrls({QUrl::fromLocalFile(dir.path())});
  QWidget* viewport = form1->Ui().ListView1->viewport();
  // The drag enters first: it makes the list the drop's target.
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(viewport, &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(viewport, &drop);
  EXPECT_TRUE(drop.isAccepted());
  ASSERT_TRUE(ServeUntil([&] { return Rows().size() == 3; }, 10000));
  EXPECT_EQ(Rows()[0].FileName, (root / "a.wav").string());
  EXPECT_EQ(Rows()[1].FileName, (root / "b.avi").string());
  EXPECT_EQ(Rows()[2].FileName, (root / "sub" / "c.avi").string());
  EXPECT_EQ(Rows()[1].VideoSize, "320x240");

  // Refused while converting.
  form1->Model().Run.Converting = true;
  QDragEnterEvent refused(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(viewport, &refused);
  EXPECT_FALSE(refused.isAccepted());
  EXPECT_FALSE(form1->DropPaths({(root / "b.avi").string()}));
  form1->Model().Run.Converting = false;
  EXPECT_EQ(Rows().size(), 3u);
}

TEST_F(FileListTest, ABatchOfOneClipEndsDoneWithAllConversionsCompleted) {
  Add({VideoClip()});
  form1->Model().OutputFolder = OutputFolder();
  form1->Ui().ButtonConvertNow->click();
  EXPECT_FALSE(form1->Ui().ButtonAddVideo->isEnabled());
  ASSERT_TRUE(ServeUntil([&] { return Informed("All Conversions Completed"); }));
  EXPECT_EQ(Rows()[0].Progress, "Done");
  EXPECT_FALSE(Rows()[0].Frames.empty());
  EXPECT_EQ(messages.Informations, std::vector<std::string>{"All Conversions Completed"});
  EXPECT_TRUE(form1->Ui().ButtonAddVideo->isEnabled());
  EXPECT_FALSE(form1->Model().Run.Converting);
  EXPECT_EQ(form1->Ui().ProgressBar1->value(), 0);
  const fs::path output = fs::path(OutputFolder()) / "list-320x240-25fps-1s.mp4";
  EXPECT_TRUE(fs::exists(output));
  EXPECT_GT(ProbeDurationSeconds(output.string()), 0.5);
  EXPECT_TRUE(form1->Ui().StatusPanels[1]->text().startsWith("File Size : "));
}

TEST_F(FileListTest, ClearDuringABatchDoesNothingAndStopAnsweredYesAborts) {
  Add({LongClip(), VideoClip()});
  form1->Model().OutputFolder = OutputFolder();
  // PS3 Video: H.264 takes seconds where MPEG-4 takes a fraction of one, so
  // the Stop comes while the row converts.
  emit form1->Ui().ComboOutputFormat->activated(16);
  form1->Ui().ButtonConvertNow->click();
  ASSERT_TRUE(form1->BatchBusy());
  form1->ClearClick();
  form1->Ui().ActionClearAllItems->trigger();
  EXPECT_EQ(Rows().size(), 2u);

  // Stopped once something was written.
  ASSERT_TRUE(ServeUntil([&] { return Rows()[0].Progress.ends_with("%"); }))
      << "the first row shows \"" << Rows()[0].Progress << "\"";
  messages.Answer = true;
  form1->Ui().ButtonStopConvert->click();
  EXPECT_EQ(messages.Confirmations, std::vector<std::string>{"Stop all conversions?"});
  ASSERT_TRUE(ServeUntil([&] { return Rows()[0].Progress == "Abort"; }));
  // The second row is never started, and no completion message follows.
  ServeUntil([] { return false; }, 400);
  EXPECT_EQ(Rows()[1].Progress, "");
  EXPECT_FALSE(Informed("All Conversions Completed"));
  EXPECT_TRUE(form1->Ui().ButtonClearAll->isEnabled());
  EXPECT_FALSE(form1->BatchBusy());
  // What was converted up to the Stop is a complete file.
  EXPECT_GT(ProbeDurationSeconds(OutputFolder() + "/list-320x240-25fps-30s.mp4"), 0.0);
}

TEST_F(FileListTest, ConvertChecksTheListAndTheFolderFirst) {
  form1->Ui().ButtonConvertNow->click();
  Add({VideoClip()});
  form1->Model().OutputFolder = "";
  form1->Ui().ButtonConvertNow->click();
  form1->Model().OutputFolder = "/no/such/folder";
  form1->Ui().ButtonConvertNow->click();
  EXPECT_EQ(
      messages.Informations,
      (std::vector<std::string>{"Please Add Files To Convert!", "Please select an output folder!",
                                "The output folder \"/no/such/folder\"\n\rdoes not exist or "
                                "has been deleted!\n\rPlease choose a new output folder."}));
  // The folder picker opened after each of the two folder messages.
  EXPECT_EQ(folders.Headlines.size(), 2u);
  EXPECT_FALSE(form1->BatchBusy());
}

}  // namespace
}  // namespace trovenix::test
