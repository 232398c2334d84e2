// Copies every stream of one file into another with the engine, as a
// benchmark subject: stream_copy IN OUT
#include <iostream>

#include "engine/FFmpeg.h"
#include "media/FFmpegLoader.h"

int main(int argc, char** argv) {
  using namespace trovenix;
  if (argc != 3) {
    std::cerr << "usage: stream_copy IN OUT\n";
    return 2;
  }
  FFLoader().SetLibraryPath(DefaultLibraryPath());
  if (!FFLoader().LoadLibrarySet(EngineLibraries)) {
    std::cerr << FFLoader().GetLastLoadError() << "\n";
    return 1;
  }
  TCustomFFmpeg task;
  task.SetVerbose(-8);
  task.PrepareTask();
  if (!task.OpenInputFile(argv[1])) {
    std::cerr << task.LastError << "\n";
    return 1;
  }
  task.ParseOption("vcodec", "copy");
  task.ParseOption("acodec", "copy");
  if (task.OpenOutputFile(argv[2]) < 0) {
    std::cerr << task.LastError << "\n";
    return 1;
  }
  task.Start(false);
  if (task.Failed) {
    std::cerr << task.ErrorMessage << "\n";
    return 1;
  }
  return 0;
}
