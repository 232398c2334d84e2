#include "cli/BatchCommand.h"

#include <algorithm>
#include <iostream>

#include "cli/BatchRun.h"
#include "cli/ProfileCommands.h"
#include "profiles/VolumeControl.h"

namespace trovenix::cli {
namespace {

struct TBatchArgs {
  std::string Format;
  std::string OutputDir;
  bool OutputDirGiven = false;
  bool Overwrite = false;
  std::vector<std::string> Choices;  // CONTROL=ITEM
  int Volume = -1;                   // track-bar position, -1: as at start-up
  int Jobs = 1;
  std::vector<std::string> Files;
};

bool ReadNumber(const std::string& text, int low, int high, int& value) {
  try {
    std::size_t used = 0;
    value = std::stoi(text, &used);
    return used == text.size() && value >= low && value <= high;
  } catch (const std::exception&) {
    return false;
  }
}

std::string ParseArgs(const std::vector<std::string>& args, TBatchArgs& parsed) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--overwrite") {
      parsed.Overwrite = true;
      continue;
    }
    if (arg.rfind("--", 0) != 0) {
      parsed.Files.push_back(arg);
      continue;
    }
    if (i + 1 >= args.size()) return arg + " needs a value";
    const std::string& value = args[++i];
    if (arg == "--format") {
      parsed.Format = value;
    } else if (arg == "--output-dir") {
      parsed.OutputDir = value;
      parsed.OutputDirGiven = true;
    } else if (arg == "--choose") {
      parsed.Choices.push_back(value);
    } else if (arg == "--volume") {
      if (!ReadNumber(value, 0, 10, parsed.Volume)) return "--volume takes a position from 0 to 10";
    } else if (arg == "--jobs") {
      if (!ReadNumber(value, 1, 64, parsed.Jobs)) return "--jobs takes a number from 1 to 64";
    } else {
      return "unknown option '" + arg + "'";
    }
  }
  if (!parsed.OutputDirGiven) return "--output-dir is missing";
  return {};
}

}  // namespace

bool IsBatchCommand(const std::vector<std::string>& args) {
  return std::find(args.begin(), args.end(), "--output-dir") != args.end();
}

int RunBatchCommand(const std::vector<std::string>& args) {
  TBatchArgs parsed;
  const auto usage = [](const std::string& error) {
    std::cerr << "trovenix-convert: " << error << "\nTry 'trovenix-convert --help'.\n";
    return 2;
  };
  if (const std::string error = ParseArgs(args, parsed); !error.empty()) return usage(error);

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
