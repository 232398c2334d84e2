// The file list kept on disk: the journal's text, its atomic writing and the
// recovery of an interrupted row; the window that writes every change, brings
// a list back after a run that did not close, and forgets it on a normal close.
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "WindowFixture.h"
#include "app/ListJournal.h"
#include "engine/MediaFiles.h"
#include "support/Fixtures.h"

namespace trovenix::test {
namespace {

namespace fs = std::filesystem;

TFileListRow Row(const std::string& file, const std::string& progress) {
  TFileListRow row;
  row.FileName = file;
  row.VideoSize = "320x240";
  row.FrameRate = "25";
  row.Duration = "00:00:01";
  row.Output = "MP4";
  row.Progress = progress;
  return row;
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteAll(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

bool SameRow(const TFileListRow& a, const TFileListRow& b) {
  return a.FileName == b.FileName && a.Checked == b.Checked && a.VideoSize == b.VideoSize &&
         a.FrameRate == b.FrameRate && a.Duration == b.Duration && a.Output == b.Output &&
         a.Progress == b.Progress && a.Frames == b.Frames && a.Reason == b.Reason &&
         a.OutputFile == b.OutputFile && a.Converting == b.Converting;
}

TEST(ListJournalTest, RowsComeBackAsTheyWereAndDamagedTextsAreRefused) {
  std::vector<TFileListRow> rows = {Row("/v/plain.avi", "Done"),
                                    Row("/v/odd\tname\\with\nbreaks\r.avi", "Fail")};
  rows[1].Checked = false;
  rows[1].Reason = "Invalid value \"x\"\nfor s";
  rows[1].Frames = " ";
  rows[0].OutputFile = "/out/plain.mp4";
  rows[0].Converting = true;
  const std::string text = SerialiseList(rows);
  const auto back = ParseList(text);
  ASSERT_TRUE(back);
  ASSERT_EQ(back->size(), 2u);
  for (std::size_t i = 0; i < rows.size(); ++i) EXPECT_TRUE(SameRow((*back)[i], rows[i])) << i;
  EXPECT_TRUE(ParseList(SerialiseList({}))->empty());

  const std::vector<std::string> damaged = {
      "",
      "some other file\n",
      text.substr(0, text.size() - 1),                        // cut short
      text.substr(0, text.size() / 2),                        // cut in a line
      "trovenix file list 1\n2\t0\t/a\t\t\t\t\t\t\t\t\n",     // a check box of 2
      "trovenix file list 1\n1\t0\t/a\t\t\t\t\t\t\t\n",       // a field short
      "trovenix file list 1\n1\t0\t/a\\q\t\t\t\t\t\t\t\t\n",  // a broken escape
      "trovenix file list 1\n1\t0\t\t\t\t\t\t\t\t\t\n",       // no path
  };
  for (const std::string& t : damaged) EXPECT_FALSE(ParseList(t)) << t;
}

TEST(ListJournalTest, WriteReplacesTheFileAndAnUnreadableFileIsMovedAside) {
  QTemporaryDir dir;
  const std::string path = dir.path().toStdString() + "/state/trovenix/file-list";
  const TListJournal journal(path);
  EXPECT_FALSE(journal.Read());  // none yet
  ASSERT_TRUE(journal.Write({Row("/v/a.avi", "")}));
  ASSERT_TRUE(journal.Write({Row("/v/a.avi", "Done"), Row("/v/b.avi", "")}));
  auto rows = journal.Read();
  ASSERT_TRUE(rows);
  EXPECT_EQ(rows->size(), 2u);
  EXPECT_FALSE(fs::exists(path + ".new"));

  WriteAll(path, "trovenix file list 1\n1\t0\t/v/a.avi");  // cut short
  EXPECT_FALSE(journal.Read());
  EXPECT_FALSE(fs::exists(path));
  EXPECT_EQ(ReadAll(path + ".unreadable"), "trovenix file list 1\n1\t0\t/v/a.avi");
  journal.Write({});
  journal.Remove();
  EXPECT_FALSE(fs::exists(path));

  // One claim at a time; the next once the first lets go.
  auto first = std::make_unique<TListJournal>(path);
  TListJournal second(path);
  EXPECT_TRUE(first->Claim());
  EXPECT_FALSE(second.Claim());
  first.reset();
  EXPECT_TRUE(second.Claim());
}

// Only the temporary files of the interrupted row's own output go: the file
// at its final name, the temporary files of other names and other files stay.
TEST(ListJournalTest, TheInterruptedRowShowsAbortAndItsTemporaryOutputIsRemoved) {
  QTemporaryDir dir;
  const std::string out = dir.path().toStdString();
  const std::string final = out + "/clip.mp4";
  const std::string temporary = TemporaryOutputName(final, "0123456789ab");
  const std::vector<std::string> kept = {final,
                                         TemporaryOutputName(out + "/other.mp4", "0123456789ab"),
                                         out + "/.clip.mp4.trovenix-xyz.part", out + "/notes.txt"};
  for (const std::string& f : kept) WriteAll(f, "kept");
  WriteAll(temporary, "half written");
  EXPECT_TRUE(IsTemporaryOutputOf(final, temporary));
  EXPECT_FALSE(IsTemporaryOutputOf(final, kept[1]));
  EXPECT_FALSE(IsTemporaryOutputOf(final, kept[2]));

  std::vector<TFileListRow> rows = {Row("/v/a.avi", "Done"), Row("/v/clip.avi", "41%"),
                                    Row("/v/c.avi", "")};
  rows[1].OutputFile = final;
  rows[1].Converting = true;
  RecoverInterruptedRows(rows);
  EXPECT_EQ(rows[0].Progress, "Done");
  EXPECT_EQ(rows[1].Progress, "Abort");
  EXPECT_FALSE(rows[1].Converting);
  EXPECT_EQ(rows[2].Progress, "");
  EXPECT_FALSE(fs::exists(temporary));
  for (const std::string& f : kept) EXPECT_EQ(ReadAll(f), "kept") << f;
}

class ListKeeperTest : public WindowFixture {
 protected:
  ListKeeperTest() { listJournalPath = state.path().toStdString() + "/trovenix/file-list"; }

  std::optional<std::vector<TFileListRow>> Kept() { return TListJournal(listJournalPath).Read(); }

  QTemporaryDir state;
};

TEST_F(ListKeeperTest, EveryChangeIsWrittenAndANormalCloseForgetsTheList) {
  StartUp();
  const std::string clip =
      MakeClip("keeper-160x120-1s.avi", "-f lavfi -i testsrc=size=160x120:rate=25 -t 1 -c:v mpeg4");
  files.Answers.push_back({clip, clip});
  form1->Ui().ButtonAddVideo->click();
  QCoreApplication::processEvents();
  auto kept = Kept();
  ASSERT_TRUE(kept);
  ASSERT_EQ(kept->size(), 2u);
  EXPECT_EQ((*kept)[0].FileName, clip);
  EXPECT_EQ((*kept)[0].Duration, "00:00:01");

  form1->FileList().setData(form1->FileList().index(1, 0), Qt::Unchecked, Qt::CheckStateRole);
  QCoreApplication::processEvents();
  EXPECT_FALSE(Kept()->at(1).Checked);

  QTemporaryDir out;
  form1->Model().OutputFolder = out.path().toStdString();
  form1->Ui().ButtonConvertNow->click();
  ASSERT_TRUE(ServeEventsUntil([&] { return Informed("All Conversions Completed"); }));
  QCoreApplication::processEvents();
  kept = Kept();
  EXPECT_EQ(kept->at(0).Progress, "Done");
  EXPECT_FALSE(kept->at(0).Converting);
  EXPECT_EQ(kept->at(1).Progress, "");

  ASSERT_TRUE(form1->close());
  EXPECT_FALSE(fs::exists(listJournalPath));
  // Nothing written after the close brings it back.
  form1->FileList().SetAllChecked(true);
  QCoreApplication::processEvents();
  EXPECT_FALSE(fs::exists(listJournalPath));
}

TEST_F(ListKeeperTest, AListLeftBehindComesBackWithItsConvertingRowAborted) {
  QTemporaryDir out;
  const std::string final = out.path().toStdString() + "/b.mp4";
  const std::string temporary = TemporaryOutputName(final, "00aa00bb00cc");
  WriteAll(temporary, "half");
  std::vector<TFileListRow> rows = {Row("/v/a.avi", "Done"), Row("/v/b.avi", "57%"),
                                    Row("/v/c.avi", "")};
  rows[1].OutputFile = final;
  rows[1].Converting = true;
  rows[2].Checked = false;
  ASSERT_TRUE(TListJournal(listJournalPath).Write(rows));

  StartUp();
  const auto& shown = form1->FileList().Rows();
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[0].Progress, "Done");
  EXPECT_EQ(shown[1].Progress, "Abort");
  EXPECT_EQ(shown[2].Progress, "");
  EXPECT_FALSE(shown[2].Checked);
  EXPECT_FALSE(fs::exists(temporary));
  // What was recovered is on disk at once.
  EXPECT_EQ(Kept()->at(1).Progress, "Abort");
  EXPECT_TRUE(messages.Informations.empty());
}

// A second program started while the first runs finds the first's list: it
// is no list left behind, so the second keeps none and touches nothing.
TEST_F(ListKeeperTest, ASecondRunningWindowLeavesTheFirstsListAndOutputsAlone) {
  StartUp();
  ASSERT_TRUE(form1->Keeper()->Active());
  QTemporaryDir out;
  const std::string final = out.path().toStdString() + "/b.mp4";
  const std::string temporary = TemporaryOutputName(final, "00aa00bb00cc");
  WriteAll(temporary, "being written");
  std::vector<TFileListRow> rows = {Row("/v/b.avi", "12%")};
  rows[0].OutputFile = final;
  rows[0].Converting = true;
  ASSERT_TRUE(TListJournal(listJournalPath).Write(rows));

  TForm1Services services{dialogs, messages, folders, Store(), {}, {}, &files};
  services.ListJournalPath = listJournalPath;
  TForm1 second(std::move(services), ui);
  EXPECT_FALSE(second.Keeper()->Active());
  EXPECT_EQ(second.FileList().rowCount(), 0);
  EXPECT_EQ(ReadAll(temporary), "being written");
  EXPECT_EQ(Kept()->at(0).Progress, "12%");
  ASSERT_TRUE(second.close());
  EXPECT_TRUE(fs::exists(listJournalPath)) << "the first's list stays";
}

TEST_F(ListKeeperTest, AnUnreadableFileIsMovedAsideWithoutAMessage) {
  fs::create_directories(fs::path(listJournalPath).parent_path());
  WriteAll(listJournalPath, "\x01\x02 not a list");
  StartUp();
  EXPECT_EQ(form1->FileList().rowCount(), 0);
  EXPECT_TRUE(messages.Informations.empty());
  EXPECT_TRUE(fs::exists(listJournalPath + ".unreadable"));
}

}  // namespace
}  // namespace trovenix::test
