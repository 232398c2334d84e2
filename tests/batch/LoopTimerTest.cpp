// The command line's repeating timer on its event loop.
#include "batch/LoopTimer.h"

#include <gtest/gtest.h>

#include <chrono>

#include "engine/EventLoop.h"

namespace trovenix {
namespace {

using namespace std::chrono_literals;

TEST(LoopTimerTest, TicksWhileEnabledAndAShorterIntervalCountsAtOnce) {
  TEventLoop loop;
  int ticks = 0;
  TLoopTimer timer(loop, 60000, [&ticks] { ++ticks; });
  timer.SetEnabled(true);
  EXPECT_FALSE(loop.RunUntil([&] { return ticks > 0; }, 100ms));
  // The tick already on its way, a minute out, does not hold the new one back.
  timer.SetInterval(2);
  EXPECT_TRUE(loop.RunUntil([&] { return ticks >= 3; }, 5000ms));
  timer.SetEnabled(false);
  const int stopped = ticks;
  loop.RunUntil([] { return false; }, 50ms);
  EXPECT_EQ(ticks, stopped);
  // A disabled timer keeps the interval for the time it is enabled again.
  timer.SetInterval(60000);
  timer.SetInterval(2);
  timer.SetEnabled(true);
  EXPECT_TRUE(loop.RunUntil([&] { return ticks >= stopped + 2; }, 5000ms));
}

}  // namespace
}  // namespace trovenix
