// How long the rest of a batch will take, from the media durations of its
// rows and the speed the conversions have shown so far (seconds of media per
// second of wall time). The speed is the median of the speeds between the
// reports of the latest seconds of the rows under way once they span a second
// or more, else of the latest reports of every row; either way opening files
// and setting up the encoders do not count as slow conversion. That fixed
// cost of a row, and the pause between rows, are counted once per row still
// to come. Times are milliseconds of a steady clock the caller reads. Free of
// Qt.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <utility>

#include "batch/IBatchList.h"

namespace trovenix {

class TBatchTimeLeft {
 public:
  // A batch starts: everything measured before is forgotten.
  void Start(std::int64_t nowMs);
  // The batch moves to a row (its output was chosen); expectedMs: its media
  // duration as the list shows it, -1 when not known.
  void RowStarted(int row, std::int64_t expectedMs, std::int64_t nowMs);
  // A progress report of the row: media converted and its total, in ms.
  void RowProgress(int row, std::int64_t currentMs, std::int64_t totalMs, std::int64_t nowMs);
  // The row ended (done, failed or stopped).
  void RowEnded(int row, std::int64_t nowMs);

  // Media ms converted per wall ms; 0 until two reports of a row came.
  double Speed() const;
  // Time left of the row; -1 when not known yet.
  std::int64_t RowLeftMs(int row) const;
  // Time left of the batch: the running rows' rest, plus pendingMediaMs of
  // rows not started yet (pendingRows of them), shared among lanes that
  // convert side by side; -1 when not known yet.
  std::int64_t BatchLeftMs(std::int64_t pendingMediaMs, int pendingRows, int lanes = 1) const;

 private:
  struct TRow {
    std::int64_t StartMs = 0;
    std::int64_t FirstMs = -1;  // wall time of the first report
    std::int64_t FirstMedia = 0;
    std::int64_t LastMedia = 0;
    std::int64_t TotalMs = -1;
    bool Ended = false;
    std::int64_t EndMs = 0;
    // The latest reports (wall ms, media ms), RecentSpanMs of them.
    std::deque<std::pair<std::int64_t, std::int64_t>> Recent;
  };
  static constexpr std::int64_t RecentSpanMs = 3000;
  static constexpr std::int64_t MinimumRecentSpanMs = 1000;
  // The fixed cost of one row: what its wall time holds beyond its media
  // converted at the measured speed, and the pause before the next.
  std::int64_t RowOverheadMs() const;

  std::map<int, TRow> rows_;
  std::int64_t gapsMs_ = 0;  // pauses between a row's end and the next start
  int gaps_ = 0;
  std::int64_t lastEndMs_ = -1;
};

// A Duration cell ("00:04:31") in ms; -1 for "Unknown" or anything else.
std::int64_t CellDurationMs(const std::string& cell);

// The checked rows after afterRow, which the batch has still to reach.
struct TPendingWork {
  std::int64_t MediaMs = 0;
  int Rows = 0;
};
TPendingWork PendingWork(const IBatchList& list, int afterRow);

// "mm:ss", or "h:mm:ss" from an hour on.
std::string ShortDuration(std::int64_t ms);
// "hh:mm:ss".
std::string LongDuration(std::int64_t ms);
// The status bar's first panel during a batch: "Left 00:42, all 03:10";
// a figure not known yet shows as "--:--".
std::string TimeLeftStatusText(std::int64_t rowLeftMs, std::int64_t batchLeftMs);

}  // namespace trovenix
