// trovenix-convert's engine mode: one input, one output, every option of the
// engine's vocabulary by name.
#pragma once

#include <string>
#include <vector>

namespace trovenix::cli {

// Runs the engine mode with the arguments after the program name. Usage
// errors return 2 with a message on standard error; otherwise the exit
// status of the conversion: 0 Done, 1 Fail, 130 Abort.
int RunEngineCommand(const std::vector<std::string>& args);

}  // namespace trovenix::cli
