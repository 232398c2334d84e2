// A conversion task with the libraries loaded and its log collected.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "engine/FFmpeg.h"
#include "support/Fixtures.h"
#include "support/LogCapture.h"

namespace trovenix::test {

class TaskTest : public ::testing::Test {
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

  TCustomFFmpeg task;
  std::vector<std::pair<int, std::string>> log;
};

}  // namespace trovenix::test
