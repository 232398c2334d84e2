// Benchmark runs of the window, asked for through the environment so that
// scripts time the real program without driving its dialogs:
//   TROVENIX_BENCH_ADD=LIST      adds the files named in LIST (one a line)
//                                through the add step, then prints the time
//                                taken and the longest pause of the UI loop;
//   TROVENIX_BENCH_CONVERT=FILE  adds FILE, converts it into the folder
//                                TROVENIX_BENCH_OUTPUT with the format
//                                selected at start-up, and prints the time
//                                from the Convert click to the end.
// Either ends the program afterwards, with status 0 when it went through.
#pragma once

#include <functional>
#include <string>

#include "batch/IMessageBoxes.h"

namespace trovenix {

class TForm1;

struct TBenchRequest {
  std::string AddList;
  std::string ConvertFile;
  std::string OutputFolder;
  bool Active() const { return !AddList.empty() || !ConvertFile.empty(); }
};

TBenchRequest BenchRequestFromEnvironment();

// Message boxes that show nothing: the benchmark reads them.
class TBenchMessages final : public IMessageBoxes {
 public:
  void Information(const std::string& text) override;
  bool Confirm(const std::string&) override { return true; }
  std::function<void(const std::string&)> OnInformation;
};

// Starts the run once the event loop runs.
void StartBench(TForm1& form, const TBenchRequest& request, TBenchMessages& messages);

}  // namespace trovenix
