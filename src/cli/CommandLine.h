// trovenix-convert's command line: which mode the arguments ask for, and the
// values of that mode.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/BatchCommand.h"
#include "cli/EngineCommand.h"

namespace trovenix::cli {

enum class TMode { Probe, Engine, Batch, ListFormats, ShowChoices };

struct TCommandLine {
  TMode Mode = TMode::Probe;
  std::vector<std::string> ProbeFiles;
  TEngineArgs Engine;
  TBatchArgs Batch;  // its Format is also the one --show-choices shows
};

// Reads the arguments into line. Returns nothing when line holds a mode to
// run; otherwise the exit status the program ends with: 0 after --help or
// --version (printed on out), 2 after a usage error (the reason on err).
std::optional<int> ParseCommandLine(int argc, const char* const* argv, TCommandLine& line,
                                    std::ostream& out, std::ostream& err);

}  // namespace trovenix::cli
