// The engine's calls on the window's event loop: from another thread they
// run on the user-interface thread while the caller waits; delayed calls
// run there after their delay.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <atomic>
#include <stdexcept>
#include <thread>

#include "app/QtUiThread.h"

namespace trovenix::test {
namespace {

// Serves the event loop until done or two seconds passed.
bool RunEventsUntil(const std::function<bool()>& done) {
  QElapsedTimer clock;
  clock.start();
  while (!done() && clock.elapsed() < 2000)
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
  return done();
}

TEST(QtUiThreadTest, CallFromAnotherThreadRunsOnTheUiThreadWhileTheCallerWaits) {
  TQtUiThread ui;
  EXPECT_TRUE(ui.IsCurrent());
  const auto uiThread = std::this_thread::get_id();
  std::atomic<bool> ranOnUi{false}, callerWaited{false}, finished{false};
  int value = 0;
  std::thread worker([&] {
    EXPECT_FALSE(ui.IsCurrent());
    ui.Invoke([&] {
      ranOnUi = std::this_thread::get_id() == uiThread;
      value = 42;
    });
    callerWaited = value == 42;
    try {
      ui.Invoke([] { throw std::runtime_error("refused"); });
    } catch (const std::runtime_error& e) {
      EXPECT_STREQ(e.what(), "refused");
    }
    finished = true;
  });
  EXPECT_TRUE(RunEventsUntil([&] { return finished.load(); }));
  worker.join();
  EXPECT_TRUE(ranOnUi);
  EXPECT_TRUE(callerWaited);
}

TEST(QtUiThreadTest, WaitingUiThreadServesCallsThroughProcessPending) {
  TQtUiThread ui;
  std::atomic<bool> finished{false};
  std::thread worker([&] {
    ui.Invoke([] {});
    finished = true;
  });
  // No event loop runs here, as when the engine waits for a task to end.
  QElapsedTimer clock;
  clock.start();
  while (!finished && clock.elapsed() < 2000) {
    ui.ProcessPending();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  worker.join();
  EXPECT_TRUE(finished);
}

TEST(QtUiThreadTest, CallOnTheUiThreadRunsAtOnce) {
  TQtUiThread ui;
  bool ran = false;
  ui.Invoke([&] { ran = true; });
  EXPECT_TRUE(ran);
}

TEST(QtUiThreadTest, DelayedCallsRunOnTheUiThreadAfterTheirDelay) {
  TQtUiThread ui;
  const auto uiThread = std::this_thread::get_id();
  QElapsedTimer clock;
  clock.start();
  std::atomic<int> ran{0};
  std::atomic<bool> onUi{true};
  qint64 firstAt = -1;
  ui.PostDelayed(
      [&] {
        firstAt = clock.elapsed();
        onUi = onUi && std::this_thread::get_id() == uiThread;
        ++ran;
      },
      60);
  std::thread worker([&] {
    ui.PostDelayed(
        [&] {
          onUi = onUi && std::this_thread::get_id() == uiThread;
          ++ran;
        },
        10);
  });
  worker.join();
  EXPECT_TRUE(RunEventsUntil([&] { return ran == 2; }));
  EXPECT_GE(firstAt, 55);
  EXPECT_TRUE(onUi);
}

}  // namespace
}  // namespace trovenix::test
