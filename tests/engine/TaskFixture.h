// A conversion task with the libraries loaded and its log collected.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "engine/FFmpeg.h"
#include "support/Fixtures.h"
#include "support/LogCapture.h"

namespace trovenix::test {

// A task of type Task with the libraries loaded and its log collected.
template <class Task>
class BasicTaskTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LoadLibrariesOrFail();
    task.ResetOptions();
    task.LogCallback = [this](int level, const std::string& text) {
      log.emplace_back(level, text);
    };
  }
  bool Logged(const std::string& text) const {
    for (const auto& line : log)
      if (line.second == text) return true;
    return false;
  }
  // Converts input into the fixture folder outFolder under name, with the
  // output options given, and returns the output's path; configure runs once
  // the output is open, just before the start.
  std::string StartInto(const std::string& outFolder, const std::string& input,
                        const std::string& name,
                        const std::vector<std::pair<std::string, std::string>>& options,
                        const std::function<void()>& configure = {}) {
    const std::filesystem::path dir = FixturePath(outFolder);
    std::filesystem::create_directories(dir);
    const std::string output = (dir / name).string();
    std::filesystem::remove(output);
    task.PrepareTask();
    EXPECT_TRUE(task.OpenInputFile(input)) << task.LastError;
    for (const auto& [option, value] : options) task.ParseOption(option, value);
    EXPECT_GE(task.OpenOutputFile(output), 0) << task.LastError;
    if (configure) configure();
    task.Start(false);
    return output;
  }

  Task task;
  std::vector<std::pair<int, std::string>> log;
};

class TaskTest : public BasicTaskTest<TCustomFFmpeg> {
 protected:
  // As StartInto; the task must succeed.
  std::string ConvertInto(const std::string& outFolder, const std::string& input,
                          const std::string& name,
                          const std::vector<std::pair<std::string, std::string>>& options) {
    const std::string output = StartInto(outFolder, input, name, options);
    EXPECT_FALSE(task.Failed) << name << ": " << task.ErrorMessage;
    return output;
  }
};

}  // namespace trovenix::test
