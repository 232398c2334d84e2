// The engine's events as the batch driver shows them: the cells, the status
// text and the progress bar, written on the user-interface thread in the
// order the events were raised; and several lanes over one list.
#include <filesystem>
#include <set>
#include <thread>

#include "batch/BatchDriverFixture.h"
#include "batch/LoopTimer.h"

namespace trovenix::test {
namespace {

// Raises the component's events from a thread of its own, as a task does.
void RaiseFromTaskThread(const std::function<void()>& raise) {
  std::thread(raise).join();
}

TEST_F(BatchDriverTest, ProgressReportsBecomeCellsStatusAndBar) {
  AddRows({true});
  driver->ConvertClick();
  ServeRow();
  ASSERT_TRUE(Serve([&] { return !driver->AwaitingEnds(); }));
  ASSERT_EQ(list.Rows[0].Progress, "Done");
  const struct {
    int Frame;
    int CurrentMs, TotalMs;
    std::int64_t Size;
    std::string Cell, Frames, Status;
    std::int64_t Bar;
  } cases[] = {
      {12, 250, 1000, 2500, "25%", "12", "File Size : 2 KBytes", 25},  // 2.5 kB: halves to even
      {30, 1500, 1000, 3500, "100%", "30", "File Size : 4 KBytes", 150},
      {-1, 999, 1000, 499, "99%", " ", "File Size : 0 KBytes", 99},  // no video
      // The product of many hours stays exact.
      {7, 2000000000, 36000000, 1000000, "100%", "7", "File Size : 1000 KBytes", 5555},
      {0, 100, 0, 0, "0%", "0", "File Size : 0 KBytes", 0},  // total not known
      {0, 100, -1, 0, "0%", "0", "File Size : 0 KBytes", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Cell + " " + std::to_string(c.CurrentMs));
    const std::size_t reports = view.Reports.size();
    RaiseFromTaskThread(
        [&] { component.OnProgress(0, c.Frame, 25, c.CurrentMs, 0, 0, c.Size, c.TotalMs); });
    ASSERT_TRUE(Serve([&] { return view.Reports.size() > reports; }));
    EXPECT_EQ(list.Rows[0].Progress, c.Cell);
    EXPECT_EQ(list.Rows[0].Frames, c.Frames);
    EXPECT_EQ(view.Status, c.Status);
    EXPECT_EQ(view.Bar.back(), c.Bar);
    EXPECT_EQ(list.Scrolls.back(), 0);
  }
  EXPECT_FALSE(list.OffThread);
  RunBatch();
}

TEST_F(BatchDriverTest, EventsAreShownInTheOrderTheyWereRaised) {
  AddRows({true});
  driver->ConvertClick();
  ServeRow();
  list.Writes.clear();
  RaiseFromTaskThread([&] {
    for (int frame = 1; frame <= 300; ++frame)
      component.OnProgress(0, frame, 25, frame, 0, 0, frame, 300);
    component.OnTerminate(0, false, false, "");
  });
  ASSERT_TRUE(Serve([&] { return list.Writes.size() == 601; }));
  for (int frame = 1; frame <= 300; ++frame) {
    EXPECT_EQ(list.Writes[static_cast<std::size_t>(2 * frame - 2)],
              "0:Progress=" + std::to_string(frame * 100 / 300) + "%");
    EXPECT_EQ(list.Writes[static_cast<std::size_t>(2 * frame - 1)],
              "0:Frames=" + std::to_string(frame));
  }
  EXPECT_EQ(list.Writes.back(), "0:Progress=Done");
  EXPECT_FALSE(list.OffThread);
  RunBatch();
}

// An event raised for a row's task but handled only after the driver moved
// to the next row belongs to a task it has let go of: it would mark the new
// row and end it early.
TEST_F(BatchDriverTest, EventsOfAnEarlierStepAreIgnored) {
  AddRows({true, true}, LongClip());
  list.Rows[0].Caption = ShortClip();
  driver->ConvertClick();
  ServeRow();
  RaiseFromTaskThread([&] {
    component.OnProgress(0, 5, 25, 500, 0, 0, 10, 1000);
    component.OnTerminate(0, true, false, "");
  });
  driver->IdleTimerTick();
  driver->IdleTimerTick();
  ASSERT_EQ(driver->CurrentRow(), 1);
  list.Writes.clear();
  loop.ProcessPending();
  EXPECT_TRUE(list.WritesTo(1).empty());
  EXPECT_TRUE(driver->Converting());
  RunBatch();
  EXPECT_EQ(DoneRows(), (std::vector<std::string>{"0=Done", "1=Done"}));
  EXPECT_NEAR(ProbeDurationSeconds(list.Rows[1].Output), 10.0, 0.2);
}

// The command line's jobs: lanes with a component each take the rows from
// one cursor; every checked row converts once, into a name of its own.
TEST_F(BatchDriverTest, LanesShareTheRowsAndEndTheBatchOnce) {
  TEngineComponent second(loop);
  second.SetLogLevel(TLogLevel::llQuiet);
  TBatchDriver* running = nullptr;
  TLoopTimer laneTimer(loop, 100, [&running] { running->IdleTimerTick(); });
  TBatchDriver lanes({&component, &second}, loop, list, view, messages, laneTimer);
  running = &lanes;
  driver.reset();
  AddRows({true, true, false, true, true, true});
  lanes.ConvertClick();
  EXPECT_EQ(lanes.CurrentRow(0), 0);
  EXPECT_EQ(lanes.CurrentRow(1), 1);
  ASSERT_TRUE(Serve([&] { return !lanes.BatchRunning() && !lanes.AwaitingEnds(); }));
  EXPECT_EQ(DoneRows(),
            (std::vector<std::string>{"0=Done", "1=Done", "2=", "3=Done", "4=Done", "5=Done"}));
  EXPECT_TRUE(list.WritesTo(2).empty());
  std::set<std::string> outputs;
  for (const TFakeRow& row : list.Rows)
    if (row.Checked) outputs.insert(row.Output);
  EXPECT_EQ(outputs.size(), 5u);
  for (const std::string& output : outputs) EXPECT_TRUE(std::filesystem::exists(output)) << output;
  EXPECT_EQ(messages.Infos, std::vector<std::string>{"All Conversions Completed"});
  EXPECT_EQ(view.Disabled, 1);
  EXPECT_EQ(view.Enabled, 1);
  EXPECT_FALSE(laneTimer.Enabled());
}

}  // namespace
}  // namespace trovenix::test
