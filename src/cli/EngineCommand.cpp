#include "cli/EngineCommand.h"

#include <iostream>
#include <mutex>

#include "cli/ProgressLine.h"
#include "cli/TaskWatch.h"
#include "engine/EngineComponent.h"
#include "engine/EventLoop.h"
#include "media/FFmpegLoader.h"

namespace trovenix::cli {
namespace {

// What the task's end tells.
struct TOutcome {
  bool Ended = false;
  bool Finished = false, Failed = false;
  std::string Message;
};

}  // namespace

int RunEngineCommand(const TEngineArgs& parsed) {
  // What the task threads report; declared first, so it outlives the component.
  std::mutex lock;  // the figures and the outcome come from the task's thread
  TProgressFigures figures;
  bool fresh = false;
  TOutcome outcome;
  TEventLoop loop;
  TEngineComponent component(loop);
  const auto fail = [](const std::string& text) {
    std::cout << "Fail: " << text << std::endl;
    return 1;
  };
  // debug and all show the media libraries' own warnings and errors: the
  // causes behind a failure.
  component.SetLibraryLogMapping(TLibraryLogMapping::lmSeverity);
  component.SetLogLevel(parsed.LogLevel);
  if (!component.LoadLibraries(DefaultLibraryPath())) return fail(component.LastErrorText());
  component.SetProgressInterval(parsed.ProgressIntervalMs);

  component.OnLog = [&](int, TLogLevel level, const std::string& message) {
    if (parsed.LogLevel != TLogLevel::llQuiet && level <= parsed.LogLevel) std::cerr << message << "\n";
  };
  component.OnProgress = [&](int, int frame, int fps, int currentMs, float, float, std::int64_t size,
                             int totalMs) {
    std::lock_guard<std::mutex> guard(lock);
    figures = {frame, fps, currentMs, size, totalMs};
    fresh = true;
  };
  component.OnTerminate = [&](int index, bool finished, bool exception, const std::string& message) {
    std::lock_guard<std::mutex> guard(lock);
    if (index >= 0) {
      outcome.Finished = finished;
      outcome.Failed = exception;
      outcome.Message = message;
    } else {
      outcome.Ended = true;
    }
    loop.Wake();
  };

  TInputOptions input;
  input.ExtOptions = parsed.InputOptions;
  const int index = component.CreateTask(parsed.Input, &input);
  if (index < 0) return fail(component.LastErrorText());
  TOutputOptions output;
  output.ExtOptions = parsed.OutputOptions;
  if (!component.SetTaskOutput(index, parsed.Output, &output)) {
    const std::string error = component.LastErrorText();
    component.ClearTaskList();  // removes what the task had begun to write
    return fail(error);
  }

  TProgressDisplay display;
  // A stopped task tells that through its end, which decides the answer.
  RunTasksUntil(component, loop, 1, [&] {
    std::lock_guard<std::mutex> guard(lock);
    if (fresh && !outcome.Ended) {
      fresh = false;
      display.Show(ProgressLine(figures, ElapsedMs()));
    }
    return outcome.Ended;
  });
  display.Clear();

  std::lock_guard<std::mutex> guard(lock);
  if (outcome.Failed) return fail(outcome.Message);
  if (!outcome.Finished) {
    std::cout << "Abort" << std::endl;
    return 130;
  }
  std::cout << "Done" << std::endl;
  return 0;
}

}  // namespace trovenix::cli
