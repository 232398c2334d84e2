// trovenix-convert: Trovenix's converter without a window.
#include <iostream>
#include <string>

#include "cli/BatchCommand.h"
#include "cli/CommandLine.h"
#include "cli/EngineCommand.h"
#include "cli/ProbeCommand.h"
#include "cli/ProfileCommands.h"

int main(int argc, char** argv) {
  using namespace trovenix::cli;
  TCommandLine line;
  if (const auto status = ParseCommandLine(argc, argv, line, std::cout, std::cerr)) return *status;
  switch (line.Mode) {
    case TMode::Engine:
      return RunEngineCommand(line.Engine);
    case TMode::Batch:
      return RunBatchCommand(line.Batch);
    case TMode::ListFormats:
      return RunListFormats(std::cout);
    case TMode::ShowChoices:
      return RunShowChoices(line.Batch.Format, std::cout, std::cerr);
    case TMode::Probe:
      break;
  }
  std::string error;
  if (!LoadProbeLibraries(error)) {
    std::cerr << "trovenix-convert: " << error << "\n";
    return 1;
  }
  return RunProbe(line.ProbeFiles, std::cout);
}
