// The batch driver on a real engine component and a small event loop, with
// the fakes of BatchFakes.h and tiny clips.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "batch/BatchDriver.h"
#include "batch/BatchFakes.h"
#include "engine/EngineComponent.h"
#include "engine/EventLoop.h"
#include "profiles/FormatCatalogue.h"
#include "support/Fixtures.h"

namespace trovenix::test {

class BatchDriverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LoadLibrariesOrFail();
    ASSERT_TRUE(component.LoadLibraries("")) << component.LastErrorText();
    component.SetLogLevel(TLogLevel::llQuiet);
    // The window after start-up: the first entry, iPod (*.mp4), selected.
    view.State = MakeStartUpState();
    ComboOutputFormatChange(view.State);
    view.Folder = Folder("out");
    driver = std::make_unique<TBatchDriver>(std::vector<TEngineComponent*>{&component}, loop, list,
                                            view, messages, timer);
  }
  void TearDown() override {
    driver.reset();
    component.ClearTaskList();
  }

  // 64x48 with sound, 0.2 s: converts in a blink.
  static std::string ShortClip() {
    return MakeClip("batch-short.mp4",
                    "-f lavfi -i testsrc=size=64x48:rate=25 -f lavfi -i sine=sample_rate=44100 "
                    "-t 0.2 -c:v mpeg4 -c:a aac -shortest");
  }
  // Ten seconds: still converting when the test presses Stop.
  static std::string LongClip() {
    return MakeClip("batch-long.mp4",
                    "-f lavfi -i testsrc=size=64x48:rate=25 -f lavfi -i sine=sample_rate=44100 "
                    "-t 10 -c:v mpeg4 -c:a aac -shortest");
  }
  // An empty folder of the test's own.
  std::string Folder(const std::string& name) {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::filesystem::path dir = FixturePath("batch-driver") + "/" + info->test_suite_name() +
                                      "." + info->name() + "/" + name;
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir.string();
  }
  void AddRows(const std::vector<bool>& checked, const std::string& source = ShortClip()) {
    for (bool on : checked) {
      TFakeRow row;
      row.Caption = source;
      row.Checked = on;
      list.Rows.push_back(row);
    }
  }
  bool Serve(const std::function<bool()>& until,
             std::chrono::milliseconds timeout = std::chrono::seconds(60)) {
    return loop.RunUntil(until, timeout);
  }
  // Serves the loop until the running row has ended.
  void ServeRow() {
    ASSERT_TRUE(Serve([this] { return !driver->Converting(); }));
  }
  // Runs the batch to its end, ticking the timer whenever no row converts.
  // Returns the ticks since the last row that started a task ended.
  int RunBatch() {
    int ticks = 0;
    for (int guard = 0; driver->BatchRunning() && guard < 200; ++guard) {
      ServeRow();
      if (!driver->BatchRunning()) break;
      driver->IdleTimerTick();
      ++ticks;
      if (driver->Converting()) ticks = 0;
    }
    EXPECT_FALSE(driver->BatchRunning());
    EXPECT_TRUE(Serve([this] { return !driver->AwaitingEnds(); }));
    return ticks;
  }
  std::vector<std::string> DoneRows() const {
    std::vector<std::string> done;
    for (std::size_t r = 0; r < list.Rows.size(); ++r)
      done.push_back(std::to_string(r) + "=" + list.Rows[r].Progress);
    return done;
  }

  TEventLoop loop;
  TEngineComponent component{loop};
  TFakeList list;
  TFakeView view;
  TFakeMessages messages;
  TFakeTimer timer;
  std::unique_ptr<TBatchDriver> driver;
};

}  // namespace trovenix::test
