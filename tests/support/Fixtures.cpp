#include "support/Fixtures.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace trovenix::test {

std::string FixturePath(const std::string& name) {
  fs::create_directories(TROVENIX_FIXTURE_DIR);
  return (fs::path(TROVENIX_FIXTURE_DIR) / name).string();
}

std::string ShellQuote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

CommandResult RunCommand(const std::string& command) {
  CommandResult result;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return result;
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.Output.append(buffer, n);
  const int status = pclose(pipe);
  result.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

std::string MakeClip(const std::string& name, const std::string& ffmpegArgs) {
  const std::string path = FixturePath(name);
  if (fs::exists(path)) return path;
  // Made under a private name, then renamed: concurrent test processes never
  // see half a file. The extension stays last so ffmpeg picks the container.
  const std::string temp = FixturePath("tmp" + std::to_string(getpid()) + "-" + name);
  const CommandResult made =
      RunCommand("ffmpeg -nostdin -v error -y " + ffmpegArgs + " " + ShellQuote(temp) + " 2>&1");
  if (made.Status != 0) {
    ADD_FAILURE() << "ffmpeg could not make " << name << ": " << made.Output;
    return path;
  }
  fs::rename(temp, path);
  return path;
}

std::string WriteFixture(const std::string& name, const std::string& bytes) {
  const std::string path = FixturePath(name);
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
  return path;
}

void LoadLibrariesOrFail(TLibrarySet set) {
  TFFmpegLoader& loader = FFLoader();
  loader.SetLibraryPath("");
  ASSERT_TRUE(loader.LoadLibrarySet(set)) << loader.GetLastLoadError();
}

double ProbeDurationSeconds(const std::string& file) {
  const auto result =
      RunCommand("ffprobe -v error -show_entries format=duration -of csv=p=0 " + ShellQuote(file));
  return result.Status == 0 && !result.Output.empty() ? std::stod(result.Output) : -1.0;
}

}  // namespace trovenix::test
