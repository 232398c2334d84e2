// Two-pass encoding and the video statistics file.
#include <ctime>
#include <filesystem>

#include "engine/FFmpeg.h"

namespace trovenix {
namespace {

// The folder of the running executable with a trailing separator; empty (the
// current folder) when it cannot be found.
std::string ProgramFolder() {
  std::error_code error;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return {};
  std::string folder = exe.parent_path().string();
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

}  // namespace

void TCustomFFmpeg::SetPass(int pass) {
  if (pass != 1 && pass != 2) throw FFmpegException("pass number can be only 1 or 2");
  PassNumber = pass;
}

void TCustomFFmpeg::SetVstatsFile(const std::string& name) {
  VstatsFileName = name;
}

// A file name of its own per start time, beside the program.
void TCustomFFmpeg::SetVstats(bool on) {
  VstatsFileName.clear();
  if (!on) return;
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char stamp[16] = {};
  std::strftime(stamp, sizeof stamp, "%H%M%S", &local);
  VstatsFileName = ProgramFolder() + "vstats_" + stamp + ".log";
}

}  // namespace trovenix
