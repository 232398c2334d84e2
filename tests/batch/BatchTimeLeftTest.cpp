// The time left of a row and of a batch, from a clock the test sets.
#include "batch/BatchTimeLeft.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace trovenix {
namespace {

TEST(BatchTimeLeftTest, SpeedLeavesTheRowsStartUpOut) {
  TBatchTimeLeft left;
  left.Start(0);
  left.RowStarted(0, 10000, 0);
  EXPECT_EQ(left.RowLeftMs(0), -1);  // no speed yet
  EXPECT_EQ(left.BatchLeftMs(20000, 1), -1);
  // 2 s of start-up, then 2 s of media per second of wall time.
  left.RowProgress(0, 1000, 10000, 2500);
  EXPECT_EQ(left.RowLeftMs(0), -1);  // one report gives no speed
  left.RowProgress(0, 3000, 10000, 3500);
  EXPECT_DOUBLE_EQ(left.Speed(), 2.0);
  EXPECT_EQ(left.RowLeftMs(0), 3500);
  // The rest of this row, the next row's 20 s at 2x, and its start-up once:
  // the first report came 2.5 s in with 1 s of media, so 2 s of start-up.
  EXPECT_EQ(left.BatchLeftMs(20000, 1), 3500 + 10000 + 2000);
  // Two lanes share the work.
  EXPECT_EQ(left.BatchLeftMs(20000, 1, 2), (3500 + 10000 + 2000) / 2);
}

TEST(BatchTimeLeftTest, AnEndedRowGivesTheOverheadOfTheRowsToCome) {
  TBatchTimeLeft left;
  left.Start(0);
  left.RowStarted(0, -1, 0);
  left.RowProgress(0, 0, 4000, 1000);
  left.RowProgress(0, 4000, 4000, 3000);  // 2x
  left.RowEnded(0, 3500);                 // 1.5 s beyond its 2 s of media
  left.RowStarted(1, 6000, 3700);         // and 0.2 s between the rows
  EXPECT_EQ(left.RowLeftMs(0), 0);
  // Row 1 before its first report: its 6 s from the list at 2x.
  EXPECT_EQ(left.RowLeftMs(1), 3000);
  EXPECT_EQ(left.BatchLeftMs(8000, 2), 3000 + 8000 / 2 + 2 * (1500 + 200));
  // The running row counts once its speed is known from its own reports too.
  left.RowProgress(1, 1000, 6000, 4500);
  left.RowProgress(1, 3000, 6000, 5500);
  EXPECT_EQ(left.RowLeftMs(1), 1500);
}

// A machine whose load changes: the latest seconds count, not the start.
TEST(BatchTimeLeftTest, TheSpeedFollowsTheLatestSecondsOfTheRow) {
  TBatchTimeLeft left;
  left.Start(0);
  left.RowStarted(0, 60000, 0);
  std::int64_t media = 0;
  for (std::int64_t t = 500; t <= 4000; t += 500) left.RowProgress(0, media += 500, 60000, t);
  EXPECT_DOUBLE_EQ(left.Speed(), 1.0);
  for (std::int64_t t = 4500; t <= 8000; t += 500) left.RowProgress(0, media += 1500, 60000, t);
  EXPECT_DOUBLE_EQ(left.Speed(), 3.0);
  EXPECT_EQ(left.RowLeftMs(0), (60000 - media) / 3);
}

// The converted time stands still while the video encoder fills its queue
// (the sound alone was written), then moves on at the row's speed.
TEST(BatchTimeLeftTest, AStallAtTheStartOfARowDoesNotLowerTheSpeed) {
  TBatchTimeLeft left;
  left.Start(0);
  left.RowStarted(0, 10000, 0);
  const std::vector<std::pair<std::int64_t, std::int64_t>> reports = {
      {500, 1700}, {1000, 1650}, {1500, 3700}, {2000, 5700}, {2500, 7700}};
  for (const auto& [wall, media] : reports) left.RowProgress(0, media, 10000, wall);
  EXPECT_DOUBLE_EQ(left.Speed(), 4.0);
  EXPECT_EQ(left.RowLeftMs(0), (10000 - 7700) / 4);
}

TEST(BatchTimeLeftTest, ReportsOfAnEndedRowAndAStartAgainAreHandled) {
  TBatchTimeLeft left;
  left.Start(0);
  left.RowStarted(0, 1000, 0);
  left.RowProgress(0, 0, 1000, 100);
  left.RowProgress(0, 1000, 1000, 600);
  left.RowEnded(0, 700);
  left.RowProgress(0, 5000, 1000, 900);  // late, ignored
  EXPECT_DOUBLE_EQ(left.Speed(), 2.0);
  left.Start(1000);
  EXPECT_EQ(left.Speed(), 0.0);
  EXPECT_EQ(left.BatchLeftMs(0, 0), -1);
}

TEST(BatchTimeLeftTest, Texts) {
  struct TCase {
    std::int64_t Ms;
    const char* Short;
    const char* Long;
  };
  const std::vector<TCase> cases = {{0, "00:00", "00:00:00"},
                                    {1499, "00:01", "00:00:01"},
                                    {61500, "01:02", "00:01:02"},
                                    {3600000, "1:00:00", "01:00:00"},
                                    {-5, "00:00", "00:00:00"}};
  for (const TCase& c : cases) {
    EXPECT_EQ(ShortDuration(c.Ms), c.Short) << c.Ms;
    EXPECT_EQ(LongDuration(c.Ms), c.Long) << c.Ms;
  }
  EXPECT_EQ(TimeLeftStatusText(42000, 190000), "Left 00:42, all 03:10");
  EXPECT_EQ(TimeLeftStatusText(-1, -1), "Left --:--, all --:--");
  EXPECT_EQ(CellDurationMs("00:04:31"), 271000);
  EXPECT_EQ(CellDurationMs("Unknown"), -1);
  EXPECT_EQ(CellDurationMs("00:04:31x"), -1);
}

}  // namespace
}  // namespace trovenix
