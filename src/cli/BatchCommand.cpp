#include "cli/BatchCommand.h"

#include <iostream>

#include "cli/BatchRun.h"
#include "cli/ProfileCommands.h"
#include "cli/UsageError.h"
#include "profiles/VolumeControl.h"

namespace trovenix::cli {

int RunBatchCommand(const TBatchArgs& parsed) {
  const auto usage = [](const std::string& error) { return UsageError(std::cerr, error); };

  // The window's state after start-up, then the user's picks.
  TBatchRunSettings settings;
  TProfileState& state = settings.Profile;
  std::string error;
  if (!StartUpWithFormat(parsed.Format, state, error)) return usage(error);
  for (const std::string& choice : parsed.Choices)
    if (!ChooseAssignment(state, choice, error)) return usage(error);
  if (parsed.Volume >= 0) {
    state.TrackBar1Position = parsed.Volume;
    TrackBar1Change(state);
  }
  settings.OutputDir = parsed.OutputDir;
  settings.Overwrite = parsed.Overwrite;
  settings.Jobs = parsed.Jobs;
  settings.Files = parsed.Files;
  return RunBatch(settings);
}

}  // namespace trovenix::cli
