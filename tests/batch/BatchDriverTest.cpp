// The batch driver's state machine with real conversions: the Convert click's
// checks, the rows it visits, the idle timer's two ticks, names, the records
// it hands to the engine, failures and Stop.
#include <algorithm>
#include <filesystem>
#include <fstream>

#include "batch/BatchDriverFixture.h"

namespace fs = std::filesystem;

namespace trovenix::test {
namespace {

const std::string AllDone = "All Conversions Completed";

// The checks before anything converts; the cells are cleared first in every case.
TEST_F(BatchDriverTest, ConvertClickRefusesWithTheExactMessages) {
  const std::string missing = view.Folder + "/gone";
  const struct {
    std::string What;
    int Rows;
    std::string Folder;
    std::string Message;  // empty: the batch starts
    int Pickers;
  } cases[] = {
      {"empty list", 0, view.Folder, "Please Add Files To Convert!", 0},
      {"no output folder", 1, "", "Please select an output folder!", 1},
      {"missing folder", 1, missing,
       "The output folder \"" + missing +
           "\"\n\rdoes not exist or has been deleted!\n\rPlease choose a new output folder.",
       1},
      {"missing folder, blanks kept as typed", 1, "  " + missing + " ",
       "The output folder \"  " + missing +
           " \"\n\rdoes not exist or has been deleted!\n\rPlease choose a new output folder.",
       1},
      {"folder with blanks around it", 1, " " + view.Folder + " ", "", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.What);
    list.Rows.clear();
    AddRows(std::vector<bool>(static_cast<std::size_t>(c.Rows), true));
    for (TFakeRow& row : list.Rows) row.Progress = "Error";
    messages.Infos.clear();
    view.Pickers = view.Disabled = 0;
    view.Folder = c.Folder;
    driver->ConvertClick();
    for (const TFakeRow& row : list.Rows) EXPECT_EQ(row.Progress, "");
    EXPECT_EQ(view.Pickers, c.Pickers);
    if (c.Message.empty()) {
      EXPECT_TRUE(messages.Infos.empty());
      EXPECT_EQ(view.Disabled, 1);
      EXPECT_EQ(view.PreviewCloses, 1);
      EXPECT_TRUE(timer.On);
      RunBatch();
      EXPECT_EQ(list.Rows[0].Progress, "Done");
    } else {
      EXPECT_EQ(messages.Infos, std::vector<std::string>{c.Message});
      EXPECT_EQ(view.Disabled, 0);
      EXPECT_FALSE(timer.On);
      EXPECT_FALSE(driver->Converting());
      EXPECT_FALSE(driver->BatchRunning());
    }
  }
  EXPECT_EQ(view.PreviewCloses, 1);
}

TEST_F(BatchDriverTest, ConvertClickDoesNothingWhileFilesAreAdded) {
  AddRows({true});
  list.Rows[0].Progress = "Error";
  view.Adding = true;
  driver->ConvertClick();
  EXPECT_EQ(list.Rows[0].Progress, "Error");
  EXPECT_TRUE(messages.Infos.empty());
  EXPECT_FALSE(driver->BatchRunning());
}

// Rows are visited in list order; unchecked ones are skipped without a cell
// change; the message follows on the tick after the last row was handled.
TEST_F(BatchDriverTest, VisitsCheckedRowsInOrderAndEndsOnTheTickAfterTheLastRow) {
  const struct {
    std::string What;
    std::vector<bool> Checked;
    int TicksToMessage;  // after the last row that converted ended
  } cases[] = {
      {"checked rows only at the end", {false, false, true, true}, 1},
      // Two ticks to visit the unchecked last row, one more for the message.
      {"last row unchecked", {true, true, false}, 3},
      // Convert visits every row at once; the first tick ends the batch.
      {"no row checked", {false, false, false}, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.What);
    list = TFakeList();
    AddRows(c.Checked);
    messages.Infos.clear();
    view.Enabled = view.Disabled = 0;
    view.Folder = Folder(std::to_string(c.Checked.size()) + (c.Checked[0] ? "a" : "b") +
                         (c.Checked.back() ? "a" : "b"));
    driver->ConvertClick();
    EXPECT_EQ(RunBatch(), c.TicksToMessage);
    EXPECT_EQ(messages.Infos, std::vector<std::string>{AllDone});
    EXPECT_EQ(view.Disabled, 1);
    EXPECT_EQ(view.Enabled, 1);
    EXPECT_FALSE(timer.On);
    EXPECT_EQ(driver->CurrentRow(), static_cast<int>(c.Checked.size()) - 1);
    int outputs = 0;
    for (std::size_t r = 0; r < c.Checked.size(); ++r) {
      SCOPED_TRACE(r);
      if (c.Checked[r]) {
        EXPECT_EQ(list.Rows[r].Progress, "Done");
        EXPECT_TRUE(fs::exists(list.Rows[r].Output));
        ++outputs;
      } else {
        EXPECT_TRUE(list.WritesTo(static_cast<int>(r)).empty());
        EXPECT_EQ(list.Rows[r].Output, "");
      }
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(view.Folder), fs::directory_iterator()),
              outputs);
  }
}

TEST_F(BatchDriverTest, OutputNamesSkipFilesAlreadyThere) {
  const std::string inputs = Folder("in");
  const std::string source = inputs + "/clip.avi";
  fs::copy_file(ShortClip(), source);
  const struct {
    bool Overwrite;
    std::string Name;
  } cases[] = {{false, "clip-2.mp4"}, {true, "clip.mp4"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    view.Folder = Folder(c.Overwrite ? "over" : "keep");
    std::ofstream(view.Folder + "/clip.mp4") << "first";
    std::ofstream(view.Folder + "/clip-1.mp4") << "second";
    view.OverwriteOn = c.Overwrite;
    list = TFakeList();
    AddRows({true}, source);
    driver->ConvertClick();
    RunBatch();
    EXPECT_EQ(list.Rows[0].Progress, "Done");
    EXPECT_EQ(list.Rows[0].Output, view.Folder + "/" + c.Name);
    EXPECT_GT(fs::file_size(view.Folder + "/" + c.Name), 100u);
    EXPECT_EQ(fs::file_size(view.Folder + "/clip-1.mp4"), 6u);
  }
}

// What the row's cells make of the record handed to the engine, and the
// percentage against the ten-hour limit.
TEST_F(BatchDriverTest, AspectRatioAndLengthLimitComeFromTheRowsCells) {
  const struct {
    std::string VideoSize, Duration, Aspect;
    int RecordingTimeMs;
  } cases[] = {
      {"720x576", "00:00:01", "1.25", -1},
      {"", "00:00:01", "1.3333", -1},   // a file the probe could not read
      {" ", "00:00:01", "1.3333", -1},  // audio only
      {"1280x720", "00:00:00", "1.7778", 36000000},
      {"640x480", "Unknown", "1.3333", 36000000},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.VideoSize + " " + c.Duration);
    list = TFakeList();
    AddRows({true});
    list.Rows[0].VideoSize = c.VideoSize;
    list.Rows[0].Duration = c.Duration;
    view.Reports.clear();
    driver->ConvertClick();
    // The record the task was given; the task is let go once the batch ends.
    ASSERT_EQ(component.TaskCount(), 1);
    const TOutputOptions record = component.Task(0).OutputOptions;
    EXPECT_EQ(record.AspectRatio, c.Aspect);
    EXPECT_EQ(record.RecordingTime, c.RecordingTimeMs);
    EXPECT_EQ(record.Volume, view.State.VolumeValue);
    ServeRow();
    ASSERT_FALSE(view.Reports.empty());
    if (c.RecordingTimeMs > 0) {
      EXPECT_EQ(view.Reports.back().TotalDurationMs, 36000000);
      EXPECT_NE(std::find(list.Writes.begin(), list.Writes.end(), "0:Progress=0%"),
                list.Writes.end());
    }
    EXPECT_EQ(list.Rows[0].Progress, "Done");
    RunBatch();
  }
}

// A row whose file the engine cannot open fails at once; the next row starts
// on the second tick. When it is the last row the batch ends at once.
TEST_F(BatchDriverTest, UnreadableRowFailsAndTheNextStartsOnTheSecondTick) {
  const std::string unreadable = WriteFixture("batch-unreadable.mp4", "not a movie");
  AddRows({true}, unreadable);
  AddRows({true, true});
  list.Rows[2].Caption = unreadable;

  driver->ConvertClick();
  EXPECT_EQ(list.Rows[0].Progress, "Fail");
  EXPECT_NE(list.Rows[0].Failure, "");
  EXPECT_FALSE(driver->Converting());
  EXPECT_EQ(component.TaskCount(), 0);
  driver->IdleTimerTick();
  EXPECT_EQ(driver->CurrentRow(), 0);
  EXPECT_EQ(driver->IdleTicks(), 1);
  driver->IdleTimerTick();
  EXPECT_EQ(driver->CurrentRow(), 1);
  EXPECT_TRUE(driver->Converting());
  ServeRow();
  EXPECT_EQ(list.Rows[1].Progress, "Done");

  // The last row fails when its step begins: the message comes without another tick.
  driver->IdleTimerTick();
  driver->IdleTimerTick();
  EXPECT_EQ(list.Rows[2].Progress, "Fail");
  EXPECT_EQ(messages.Infos, std::vector<std::string>{AllDone});
  EXPECT_FALSE(driver->BatchRunning());
  EXPECT_FALSE(timer.On);
  EXPECT_EQ(view.Enabled, 1);
}

// Options the encoder refuses fail the conversion itself; the batch goes on.
TEST_F(BatchDriverTest, ConversionThatFailsMarksTheRowAndTheBatchGoesOn) {
  SelectFormat(view.State, 28);  // MPEG-1: its audio knows no 54 kHz
  std::string error;
  ASSERT_TRUE(ChooseItem(view.State, "ComboSamplingRate", "54000 Hz", error)) << error;
  AddRows({true, true});
  driver->ConvertClick();
  RunBatch();
  EXPECT_EQ(DoneRows(), (std::vector<std::string>{"0=Fail", "1=Fail"}));
  EXPECT_NE(list.Rows[0].Failure.find("Error while opening codec"), std::string::npos)
      << list.Rows[0].Failure;
  EXPECT_EQ(messages.Infos, std::vector<std::string>{AllDone});
}

TEST_F(BatchDriverTest, StopAnsweredNoResumesTheSameTask) {
  AddRows({true}, LongClip());
  driver->ConvertClick();
  ASSERT_EQ(component.TaskCount(), 1);
  const TFFmpeg* task = &component.Task(0);
  bool pausedWhileAsking = false;
  messages.Answer = false;
  messages.WhileAsking = [&] { pausedWhileAsking = component.Task(0).Paused(); };
  driver->StopClick();
  EXPECT_EQ(messages.Questions, std::vector<std::string>{"Stop all conversions?"});
  EXPECT_TRUE(pausedWhileAsking);
  ASSERT_EQ(component.TaskCount(), 1);
  EXPECT_EQ(&component.Task(0), task);
  EXPECT_FALSE(component.Task(0).Paused());
  EXPECT_TRUE(component.Task(0).Running);
  EXPECT_TRUE(driver->Converting());
  EXPECT_TRUE(driver->BatchRunning());
  EXPECT_TRUE(timer.On);
  EXPECT_FALSE(driver->UserAborted());
  ServeRow();
  EXPECT_EQ(list.Rows[0].Progress, "Done");
  EXPECT_EQ(view.Enabled, 0);
  RunBatch();
  EXPECT_EQ(list.Rows[0].Frames, "250");
  EXPECT_NEAR(ProbeDurationSeconds(list.Rows[0].Output), 10.0, 0.2);
}

TEST_F(BatchDriverTest, StopAnsweredYesAbortsTheRowAndEndsTheBatchWithoutTheMessage) {
  component.SetProgressInterval(100);
  AddRows({true}, LongClip());
  AddRows({true});
  driver->ConvertClick();
  // Stopped once some of it is written.
  ASSERT_TRUE(
      Serve([this] { return !view.Reports.empty() && view.Reports.back().CurrentDurationMs > 0; }));
  ASSERT_TRUE(driver->Converting());
  messages.Answer = true;
  driver->StopClick();
  EXPECT_EQ(messages.Questions, std::vector<std::string>{"Stop all conversions?"});
  EXPECT_TRUE(driver->UserAborted());
  EXPECT_FALSE(driver->Converting());
  EXPECT_FALSE(driver->BatchRunning());
  EXPECT_FALSE(timer.On);
  EXPECT_EQ(view.Enabled, 1);
  EXPECT_EQ(view.Bar.back(), 0);
  // The task ends on its own thread; its end reaches the row later.
  ASSERT_TRUE(Serve([this] { return !driver->AwaitingEnds(); }));
  EXPECT_EQ(list.Rows[0].Progress, "Abort");
  EXPECT_TRUE(list.WritesTo(1).empty());
  for (int i = 0; i < 5; ++i) driver->IdleTimerTick();
  Serve([] { return false; }, std::chrono::milliseconds(300));
  EXPECT_TRUE(messages.Infos.empty());
  EXPECT_EQ(component.TaskCount(), 0);
  // What was converted until the stop is a complete file.
  const double seconds = ProbeDurationSeconds(list.Rows[0].Output);
  EXPECT_GT(seconds, 0.0);
  EXPECT_LT(seconds, 10.0);
}

TEST_F(BatchDriverTest, StopBetweenRowsEndsTheBatchWithoutAsking) {
  AddRows({true, true});
  driver->ConvertClick();
  ServeRow();
  ASSERT_EQ(list.Rows[0].Progress, "Done");
  driver->StopClick();
  EXPECT_TRUE(messages.Questions.empty());
  EXPECT_FALSE(driver->UserAborted());
  EXPECT_FALSE(driver->BatchRunning());
  EXPECT_EQ(view.Enabled, 1);
  driver->IdleTimerTick();
  driver->IdleTimerTick();
  EXPECT_TRUE(list.WritesTo(1).empty());
  EXPECT_TRUE(messages.Infos.empty());
}

// A new batch right after a Stop: the stopped task's end lands before the new
// batch begins, so it neither ends the new row early nor clears its task.
TEST_F(BatchDriverTest, ConvertRightAfterStopConvertsEveryRowAgain) {
  AddRows({true}, LongClip());
  AddRows({true});
  driver->ConvertClick();
  driver->StopClick();
  const std::string stopped = list.Rows[0].Output;
  driver->ConvertClick();
  RunBatch();
  EXPECT_EQ(DoneRows(), (std::vector<std::string>{"0=Done", "1=Done"}));
  EXPECT_NE(list.Rows[0].Output, stopped);
  EXPECT_NEAR(ProbeDurationSeconds(list.Rows[0].Output), 10.0, 0.2);
  EXPECT_EQ(messages.Infos, std::vector<std::string>{AllDone});
}

}  // namespace
}  // namespace trovenix::test
