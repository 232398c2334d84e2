// trovenix-convert's batch mode: files converted with an output profile of
// the catalogue, as the window's Convert button does.
#pragma once

#include <string>
#include <vector>

namespace trovenix::cli {

// True when the arguments ask for the batch mode (they name --output-dir).
bool IsBatchCommand(const std::vector<std::string>& args);

// Runs the batch. Returns 0 when every file converted, 130 when interrupted,
// 2 for usage errors, 1 otherwise.
int RunBatchCommand(const std::vector<std::string>& args);

}  // namespace trovenix::cli
