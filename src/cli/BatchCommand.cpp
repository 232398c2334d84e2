#include "cli/BatchCommand.h"

#include <filesystem>
#include <iostream>
#include <mutex>
#include <set>

#include "cli/ProfileCommands.h"
#include "cli/ProgressLine.h"
#include "cli/TaskWatch.h"
#include "cli/UsageError.h"
#include "engine/EngineComponent.h"
#include "engine/OptionValues.h"
#include "engine/EventLoop.h"
#include "media/FFmpegLoader.h"
#include "profiles/BatchRules.h"
#include "profiles/FileListCells.h"
#include "profiles/RowOptions.h"
#include "profiles/VolumeControl.h"

namespace fs = std::filesystem;

namespace trovenix::cli {
namespace {

// One row of the source list.
struct TRow {
  std::string Source;
  TProbeCells Cells;  // empty when the probe could not read the file
  std::string Output;
  std::string Progress;
  std::string Error;
};

// The Convert click's checks; an empty text when the batch may start.
std::string ConvertChecks(const TBatchArgs& args) {
  if (args.Files.empty()) return "Please Add Files To Convert!";
  if (args.OutputDir.empty()) return "Please select an output folder!";
  std::error_code ec;
  if (!fs::is_directory(TrimSpaces(args.OutputDir), ec))
    return "The output folder \"" + args.OutputDir +
           "\"\n\rdoes not exist or has been deleted!\n\rPlease choose a new output folder.";
  return {};
}

}  // namespace

int RunBatchCommand(const TBatchArgs& parsed) {
  const auto usage = [](const std::string& error) { return UsageError(std::cerr, error); };

  // What the task threads report; declared first, so it outlives the component.
  std::vector<TRow> rows;
  std::mutex lock;  // the figures below come from task threads
  TProgressFigures figures;
  int figuresRow = -1;
  bool fresh = false;
  std::vector<int> ended;  // rows in the order they ended, not yet printed
  bool allEnded = false;
  std::vector<int> rowOfTask;
  TEventLoop loop;
  TEngineComponent component(loop);
  component.SetLogLevel(TLogLevel::llQuiet);
  if (!component.LoadLibraries(DefaultLibraryPath())) {
    std::cerr << "trovenix-convert: " << component.LastErrorText() << "\n";
    return 1;
  }

  // The window's state after start-up, then the user's picks.
  TProfileState state;
  std::string error;
  if (!StartUpWithFormat(parsed.Format, state, error)) return usage(error);
  for (const std::string& choice : parsed.Choices)
    if (!ChooseAssignment(state, choice, error)) return usage(error);
  if (parsed.Volume >= 0) {
    state.TrackBar1Position = parsed.Volume;
    TrackBar1Change(state);
  }
  if (const std::string refused = ConvertChecks(parsed); !refused.empty()) {
    std::cerr << refused << "\n";
    return 1;
  }

  // The add step: every file gets a row, also one the probe cannot read.
  for (const std::string& file : parsed.Files) {
    TRow row;
    row.Source = file;
    if (component.Probe().LoadFile(file)) row.Cells = ProbeCellTexts(component.Probe());
    component.Probe().Close();
    rows.push_back(row);
  }

  component.OnProgress = [&](int index, int frame, int fps, int currentMs, float, float,
                             std::int64_t size, int totalMs) {
    std::lock_guard<std::mutex> guard(lock);
    figures = {frame, fps, currentMs, size, totalMs};
    figuresRow = rowOfTask.at(static_cast<std::size_t>(index));
    fresh = true;
  };
  component.OnTerminate = [&](int index, bool finished, bool exception, const std::string& message) {
    std::lock_guard<std::mutex> guard(lock);
    if (index < 0) {
      allEnded = true;
    } else {
      const int r = rowOfTask.at(static_cast<std::size_t>(index));
      TRow& row = rows[static_cast<std::size_t>(r)];
      row.Progress = exception ? "Fail" : finished ? "Done" : "Abort";
      row.Error = message;
      ended.push_back(r);
    }
    loop.Wake();
  };

  TProgressDisplay display;
  bool interrupted = false;
  const auto printRow = [&](const TRow& row) {
    display.Clear();
    std::cout << row.Source << "\t" << row.Output << "\t" << row.Progress;
    if (row.Progress == "Fail" && !row.Error.empty()) std::cout << ": " << row.Error;
    std::cout << std::endl;
  };

  // One task per row; names already given in this batch count as taken.
  std::set<std::string> taken;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    TRow& row = rows[r];
    row.Output =
        OutputFileName(parsed.OutputDir, row.Source, state.OutputExtension, parsed.Overwrite, taken);
    taken.insert(row.Output);
    TInputOptions input = RowInputOptions(row.Source);
    const int task = component.CreateTask(row.Source, &input);
    bool ready = task >= 0;
    row.Error = component.LastErrorText();
    if (ready) {
      try {
        TOutputOptions output = RowOutputOptions(state, row.Cells.VideoSize, row.Cells.Duration);
        ready = component.SetTaskOutput(task, row.Output, &output);
        row.Error = component.LastErrorText();
      } catch (const std::exception& e) {
        // The window's message for a row it could not prepare.
        std::cerr << "Fail to add file to list!\n";
        ready = false;
        row.Error = e.what();
      }
    }
    if (!ready) {
      row.Progress = "Fail";
      if (task >= 0) component.DeleteTask(task);
      printRow(row);
      continue;
    }
    rowOfTask.push_back(static_cast<int>(r));
  }

  if (component.TaskCount() > 0)
    interrupted = RunTasksUntil(component, loop, parsed.Jobs, [&] {
      std::lock_guard<std::mutex> guard(lock);
      for (int r : ended) printRow(rows[static_cast<std::size_t>(r)]);
      ended.clear();
      if (fresh && !allEnded) {
        fresh = false;
        display.Show("[" + std::to_string(figuresRow + 1) + "/" + std::to_string(rows.size()) + "] " +
                     ProgressLine(figures, ElapsedMs()));
      }
      return allEnded;
    });
  display.Clear();
  component.ClearTaskList();
  if (interrupted) return 130;
  std::cout << "All Conversions Completed" << std::endl;
  for (const TRow& row : rows)
    if (row.Progress != "Done") return 1;
  return 0;
}

}  // namespace trovenix::cli
