// trovenix-convert's batch mode: files converted with an output profile of
// the catalogue, as the window's Convert button does.
#pragma once

#include <string>
#include <vector>

namespace trovenix::cli {

struct TBatchArgs {
  std::string Format;  // a text or position of the output-format list; empty: the first
  std::string OutputDir;
  bool Overwrite = false;
  std::vector<std::string> Choices;  // CONTROL=ITEM
  int Volume = -1;                   // track-bar position, -1: as at start-up
  int Jobs = 1;
  std::vector<std::string> Files;
};

// Runs the batch. Returns 0 when every file converted, 130 when interrupted,
// 2 for choices the profile refuses, 1 otherwise.
int RunBatchCommand(const TBatchArgs& args);

}  // namespace trovenix::cli
