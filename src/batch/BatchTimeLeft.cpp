#include "batch/BatchTimeLeft.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace trovenix {

void TBatchTimeLeft::Start(std::int64_t /*nowMs*/) {
  rows_.clear();
  gapsMs_ = 0;
  gaps_ = 0;
  lastEndMs_ = -1;
}

void TBatchTimeLeft::RowStarted(int row, std::int64_t expectedMs, std::int64_t nowMs) {
  TRow fresh;
  fresh.StartMs = nowMs;
  fresh.TotalMs = expectedMs > 0 ? expectedMs : -1;
  rows_[row] = fresh;
  if (lastEndMs_ >= 0) {
    gapsMs_ += std::max<std::int64_t>(0, nowMs - lastEndMs_);
    ++gaps_;
    lastEndMs_ = -1;
  }
}

void TBatchTimeLeft::RowProgress(int row, std::int64_t currentMs, std::int64_t totalMs,
                                 std::int64_t nowMs) {
  auto found = rows_.find(row);
  if (found == rows_.end()) {
    RowStarted(row, totalMs, nowMs);
    found = rows_.find(row);
  }
  TRow& r = found->second;
  if (r.Ended) return;
  if (totalMs > 0) r.TotalMs = totalMs;
  if (r.FirstMs < 0) {
    r.FirstMs = nowMs;
    r.FirstMedia = currentMs;
  }
  r.LastMedia = std::max(r.LastMedia, currentMs);
  r.Recent.emplace_back(nowMs, r.LastMedia);
  while (r.Recent.size() > 2 && nowMs - r.Recent[1].first >= RecentSpanMs) r.Recent.pop_front();
}

void TBatchTimeLeft::RowEnded(int row, std::int64_t nowMs) {
  const auto found = rows_.find(row);
  if (found == rows_.end() || found->second.Ended) return;
  found->second.Ended = true;
  found->second.EndMs = nowMs;
  lastEndMs_ = nowMs;
}

namespace {

// The speeds between consecutive reports of the span.
void AddReportSpeeds(const std::deque<std::pair<std::int64_t, std::int64_t>>& reports,
                     std::vector<double>& speeds) {
  for (std::size_t i = 1; i < reports.size(); ++i) {
    const std::int64_t wall = reports[i].first - reports[i - 1].first;
    if (wall > 0)
      speeds.push_back(static_cast<double>(reports[i].second - reports[i - 1].second) /
                       static_cast<double>(wall));
  }
}

double Median(std::vector<double>& values) {
  if (values.empty()) return 0.0;
  const std::size_t middle = values.size() / 2;
  std::nth_element(values.begin(), values.begin() + middle, values.end());
  if (values.size() % 2 == 1) return values[middle];
  const double upper = values[middle];
  return (*std::max_element(values.begin(), values.begin() + middle) + upper) / 2.0;
}

}  // namespace

double TBatchTimeLeft::Speed() const {
  // The median of the speeds between reports: the converted time is that of
  // the slowest output stream, which stands still for a while at the start of
  // a row (the sound is written at once, the pictures once the video encoder
  // has filled its queue), and such a stall must not halve the figure.
  std::vector<double> speeds;
  // The rows under way, over their latest seconds: the speed now, which a
  // machine's changing load moves away from the speed of the start.
  for (const auto& [index, r] : rows_) {
    if (r.Ended || r.Recent.size() < 2) continue;
    if (r.Recent.back().first - r.Recent.front().first < MinimumRecentSpanMs) continue;
    AddReportSpeeds(r.Recent, speeds);
  }
  if (speeds.empty())
    for (const auto& [index, r] : rows_) AddReportSpeeds(r.Recent, speeds);
  return Median(speeds);
}

std::int64_t TBatchTimeLeft::RowLeftMs(int row) const {
  const double speed = Speed();
  const auto found = rows_.find(row);
  if (speed <= 0.0 || found == rows_.end()) return -1;
  const TRow& r = found->second;
  if (r.Ended) return 0;
  if (r.TotalMs <= 0) return -1;
  const std::int64_t media = std::max<std::int64_t>(0, r.TotalMs - r.LastMedia);
  return static_cast<std::int64_t>(static_cast<double>(media) / speed);
}

std::int64_t TBatchTimeLeft::RowOverheadMs() const {
  const double speed = Speed();
  if (speed <= 0.0) return 0;
  std::int64_t sum = 0;
  int count = 0;
  for (const auto& [index, r] : rows_) {
    if (!r.Ended || r.TotalMs <= 0) continue;
    const std::int64_t converting =
        static_cast<std::int64_t>(static_cast<double>(r.LastMedia) / speed);
    sum += std::max<std::int64_t>(0, (r.EndMs - r.StartMs) - converting);
    ++count;
  }
  if (count > 0) return sum / count + (gaps_ > 0 ? gapsMs_ / gaps_ : 0);
  // No row has ended yet: the start-up of the rows under way stands in for it.
  for (const auto& [index, r] : rows_) {
    if (r.FirstMs < 0) continue;
    const std::int64_t startUp =
        (r.FirstMs - r.StartMs) -
        static_cast<std::int64_t>(static_cast<double>(r.FirstMedia) / speed);
    sum += std::max<std::int64_t>(0, startUp);
    ++count;
  }
  return count > 0 ? sum / count : 0;
}

std::int64_t TBatchTimeLeft::BatchLeftMs(std::int64_t pendingMediaMs, int pendingRows,
                                         int lanes) const {
  const double speed = Speed();
  if (speed <= 0.0) return -1;
  std::int64_t left = 0;
  for (const auto& [index, r] : rows_) {
    if (r.Ended) continue;
    const std::int64_t rowLeft = RowLeftMs(index);
    if (rowLeft < 0) return -1;
    left += rowLeft;
  }
  left += static_cast<std::int64_t>(static_cast<double>(std::max<std::int64_t>(0, pendingMediaMs)) /
                                    speed);
  left += static_cast<std::int64_t>(std::max(0, pendingRows)) * RowOverheadMs();
  return left / std::max(1, lanes);
}

std::int64_t CellDurationMs(const std::string& cell) {
  int h = 0, m = 0, sec = 0;
  char end = 0;
  if (std::sscanf(cell.c_str(), "%d:%d:%d%c", &h, &m, &sec, &end) != 3 || h < 0 || m < 0 || sec < 0)
    return -1;
  return (std::int64_t{h} * 3600 + m * 60 + sec) * 1000;
}

TPendingWork PendingWork(const IBatchList& list, int afterRow) {
  TPendingWork work;
  for (int row = std::max(0, afterRow + 1); row < list.RowCount(); ++row) {
    if (!list.Checked(row)) continue;
    ++work.Rows;
    work.MediaMs += std::max<std::int64_t>(0, CellDurationMs(list.DurationCell(row)));
  }
  return work;
}

std::string ShortDuration(std::int64_t ms) {
  const std::int64_t seconds = std::max<std::int64_t>(0, (ms + 500) / 1000);
  char text[32];
  if (seconds >= 3600)
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
                  static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
  else
    std::snprintf(text, sizeof text, "%02lld:%02lld", static_cast<long long>(seconds / 60),
                  static_cast<long long>(seconds % 60));
  return text;
}

std::string LongDuration(std::int64_t ms) {
  const std::int64_t seconds = std::max<std::int64_t>(0, (ms + 500) / 1000);
  char text[32];
  std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
                static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
  return text;
}

std::string TimeLeftStatusText(std::int64_t rowLeftMs, std::int64_t batchLeftMs) {
  const auto shown = [](std::int64_t ms) {
    return ms < 0 ? std::string("--:--") : ShortDuration(ms);
  };
  std::string text = "Left ";
  text.append(shown(rowLeftMs)).append(", all ").append(shown(batchLeftMs));
  return text;
}

}  // namespace trovenix
