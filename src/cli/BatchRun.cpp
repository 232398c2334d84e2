#include "cli/BatchRun.h"

#include <algorithm>
#include <iostream>
#include <memory>

#include "batch/BatchDriver.h"
#include "batch/BatchTimeLeft.h"
#include "batch/LoopTimer.h"
#include "cli/ConsoleBatchList.h"
#include "cli/ProgressLine.h"
#include "cli/TaskWatch.h"
#include "engine/EngineComponent.h"
#include "engine/EventLoop.h"
#include "media/FFmpegLoader.h"

namespace trovenix::cli {
namespace {

// The window's idle timer ticks every 100 ms; nobody watches this one.
constexpr int ConsoleIdleTickMs = 1;
constexpr int ConsoleBusyTickMs = 20;

// The window's side of the batch without a window: the settings as given,
// controls and player that are not there, and the progress line.
class TConsoleBatchView final : public IBatchView {
 public:
  TConsoleBatchView(const TBatchRunSettings& settings, TProgressDisplay& display,
                    const IBatchList& list, int lanes, TLoopTimer& timer)
      : settings_(settings), display_(display), list_(list), lanes_(lanes), timer_(timer) {}

  // The checks of the Convert click let the batch start.
  bool Started() const { return started_; }

  std::string OutputFolderText() const override { return settings_.OutputDir; }
  bool Overwrite() const override { return settings_.Overwrite; }
  const TProfileState& Profile() const override { return settings_.Profile; }
  bool AddingFiles() const override { return false; }
  void DisableControls() override { started_ = true; }
  void EnableControls() override {}
  void OpenFolderPicker() override {}
  void ClosePreviewPlayer() override {}
  void SetProgressBar(std::int64_t) override {}
  void SetStatusText(const std::string&) override {}
  void BatchStarted() override {
    timeLeft_.Start(ElapsedMs());
    lastStarted_ = -1;
    converting_ = 0;
    TickFitting();
  }
  void RowStarted(int row) override {
    timeLeft_.RowStarted(row, CellDurationMs(list_.DurationCell(row)), ElapsedMs());
    lastStarted_ = std::max(lastStarted_, row);
    ++converting_;
    TickFitting();
  }
  void RowEnded(int row) override {
    timeLeft_.RowEnded(row, ElapsedMs());
    converting_ = std::max(0, converting_ - 1);
    TickFitting();
  }
  void RowProgress(int row, const TRowProgress& report) override {
    const std::int64_t now = ElapsedMs();
    timeLeft_.RowProgress(row, report.CurrentDurationMs, report.TotalDurationMs, now);
    // Appended piece by piece: GCC 12 at -O3 takes "literal" + std::string
    // for an overlapping copy (-Wrestrict).
    std::string line = "[";
    line.append(std::to_string(row + 1))
        .append("/")
        .append(std::to_string(list_.RowCount()))
        .append("] ");
    line.append(ProgressLine({report.FrameNumber, report.FramesPerSecond, report.CurrentDurationMs,
                              report.CurrentSize, report.TotalDurationMs},
                             now));
    const TPendingWork pending = PendingWork(list_, lastStarted_);
    const std::int64_t batchLeft = timeLeft_.BatchLeftMs(pending.MediaMs, pending.Rows, lanes_);
    line.append(" batch left ").append(batchLeft < 0 ? "--:--:--" : LongDuration(batchLeft));
    display_.Show(line);
  }

 private:
  // The idle timer ticks often while a lane waits for its next row (or the
  // batch for its end), so that no pause between rows dominates the run of a
  // short file; while every lane converts it has nothing to do.
  void TickFitting() {
    timer_.SetInterval(converting_ < lanes_ ? ConsoleIdleTickMs : ConsoleBusyTickMs);
  }

  const TBatchRunSettings& settings_;
  TProgressDisplay& display_;
  const IBatchList& list_;
  const int lanes_;
  TLoopTimer& timer_;
  TBatchTimeLeft timeLeft_;
  int lastStarted_ = -1;
  int converting_ = 0;
  bool started_ = false;
};

// "All Conversions Completed" is the batch's last line of output; the other
// messages explain a refusal or a row that could not be prepared. The only
// question, "Stop all conversions?", comes from Ctrl-C, which has answered it.
class TConsoleMessages final : public IMessageBoxes {
 public:
  explicit TConsoleMessages(TProgressDisplay& display) : display_(display) {}
  void Information(const std::string& text) override {
    display_.Clear();
    (text == "All Conversions Completed" ? std::cout : std::cerr) << text << std::endl;
  }
  bool Confirm(const std::string&) override { return true; }

 private:
  TProgressDisplay& display_;
};

}  // namespace

int RunBatch(const TBatchRunSettings& settings) {
  TEventLoop loop;
  // One component per job: each lane of the driver clears and starts the
  // task list of its own component.
  std::vector<std::unique_ptr<TEngineComponent>> components;
  std::vector<TEngineComponent*> lanes;
  for (int job = 0; job < (settings.Jobs < 1 ? 1 : settings.Jobs); ++job) {
    components.push_back(std::make_unique<TEngineComponent>(loop));
    TEngineComponent& component = *components.back();
    component.SetLogLevel(TLogLevel::llQuiet);
    if (!component.LoadLibraries(DefaultLibraryPath())) {
      std::cerr << "trovenix-convert: " << component.LastErrorText() << "\n";
      return 1;
    }
    lanes.push_back(&component);
  }

  TProgressDisplay display;
  TConsoleBatchList list(std::cout, display);
  // The add step: every file gets a row, also one the probe cannot read. Only
  // the cells are kept; the file is closed again at once.
  TAVProbe& probe = components.front()->Probe();
  for (const std::string& file : settings.Files) {
    const bool probed = probe.LoadFile(file);
    list.AddRow(file, probed ? ProbeCellTexts(probe) : TProbeCells{}, probed);
    probe.Close();
  }

  std::unique_ptr<TBatchDriver> driver;
  TLoopTimer timer(loop, ConsoleIdleTickMs, [&driver] {
    if (driver) driver->IdleTimerTick();
  });
  TConsoleBatchView view(settings, display, list, static_cast<int>(lanes.size()), timer);
  TConsoleMessages messages(display);
  driver = std::make_unique<TBatchDriver>(lanes, loop, list, view, messages, timer);

  const bool interrupted = ServeUntil(
      loop, [&] { driver->ConvertClick(); }, [&] { driver->StopClick(); },
      [&] { return !driver->BatchRunning() && !driver->AwaitingEnds(); });
  display.Clear();
  for (auto& component : components) component->ClearTaskList();
  driver.reset();
  if (!view.Started()) return 1;
  if (interrupted) return 130;
  return list.AllDone() ? 0 : 1;
}

}  // namespace trovenix::cli
