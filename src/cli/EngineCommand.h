// trovenix-convert's engine mode: one input, one output, every option of the
// engine's vocabulary by name.
#pragma once

#include <string>

#include "engine/EngineOptions.h"

namespace trovenix::cli {

struct TEngineArgs {
  std::string Input, Output;
  std::string InputOptions, OutputOptions;  // name=value lines
  TLogLevel LogLevel = TLogLevel::llInfo;
  int ProgressIntervalMs = 500;
};

// Runs the conversion and returns its exit status: 0 Done, 1 Fail, 130 Abort.
int RunEngineCommand(const TEngineArgs& args);

}  // namespace trovenix::cli
