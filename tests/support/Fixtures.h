// Test fixtures: synthetic media files made with the ffmpeg program, and the
// media libraries loaded for a test.
#pragma once

#include <string>

#include "media/FFmpegLoader.h"

namespace trovenix::test {

// Path of a file in the build tree's fixture folder.
std::string FixturePath(const std::string& name);

// Makes (once per build tree) a clip with `ffmpeg -v error -y ARGS FILE` and
// returns its path. Safe when several test processes ask for the same clip.
std::string MakeClip(const std::string& name, const std::string& ffmpegArgs);

// Writes a file with the given bytes (replacing it) and returns its path.
std::string WriteFixture(const std::string& name, const std::string& bytes);

// Loads a library set from the default search or fails the test.
void LoadLibrariesOrFail(TLibrarySet set = EngineLibraries);

// Runs a shell command, returning its exit status and standard output.
struct CommandResult {
  int Status = -1;
  std::string Output;
};
CommandResult RunCommand(const std::string& command);

// Quotes a text for the shell.
std::string ShellQuote(const std::string& text);

// The file's duration in seconds as ffprobe reads it; -1 when it cannot.
double ProbeDurationSeconds(const std::string& file);

}  // namespace trovenix::test
