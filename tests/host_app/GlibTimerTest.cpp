// The timer pair on a real GLib main loop. Counts, not durations, carry the
// checks wherever possible, so a loaded machine does not make them flaky.
#include <glib.h>
#include <gtest/gtest.h>

#include <chrono>
#include <functional>

#include "host/app/GlibTimer.h"

namespace qd3 {
namespace {

// Runs the default main context until `done` or about ten seconds.
void RunUntil(const std::function<bool()>& done) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!done() && std::chrono::steady_clock::now() < end) g_main_context_iteration(nullptr, TRUE);
}

TEST(GlibTimerPair, WithoutAFastNeedTheFastTimerRunsFiveTimesPerSlowTick) {
  int fast = 0;
  int slow = 0;
  TimerPair pair = StartGlibTimerPair(
      2, 5, [&] { ++fast; }, [&] { ++slow; });
  RunUntil([&] { return slow >= 4; });
  EXPECT_EQ(slow, 4);
  EXPECT_EQ(fast, 20);
}

TEST(GlibTimerPair, FastWorkWithNothingToDoFallsBackToTheSlowRate) {
  int fast = 0;
  int slow = 0;
  TimerPair pair = StartGlibTimerPair(
      2, 5, [&] { ++fast; }, [&] { ++slow; }, [] { return false; });
  RunUntil([&] { return slow >= 6; });
  // The first wake-up is at the fast rate; every later one runs both once.
  EXPECT_EQ(fast, slow + 1);
}

TEST(GlibTimerPair, FastNeedKeepsTheFastRateAndItsEnd) {
  int fast = 0;
  int slow = 0;
  bool needed = true;
  TimerPair pair = StartGlibTimerPair(
      2, 5,
      [&] {
        if (++fast == 10) needed = false;
      },
      [&] { ++slow; }, [&] { return needed; });
  RunUntil([&] { return slow >= 6; });
  // Ten fast ticks (two slow) at the fast rate, then one of each per wake-up.
  EXPECT_EQ(fast, 10 + (slow - 2));
}

TEST(GlibTimerPair, HurryReturnsToTheFastRateAtOnce) {
  using Clock = std::chrono::steady_clock;
  int fast = 0;
  int slow = 0;
  bool needed = false;
  Clock::time_point hurriedAt;
  Clock::time_point fastAfterHurry;
  TimerPair pair = StartGlibTimerPair(
      5, 100,  // 5 ms fast, 500 ms slow
      [&] {
        ++fast;
        if (hurriedAt != Clock::time_point{} && fastAfterHurry == Clock::time_point{}) {
          fastAfterHurry = Clock::now();
        }
      },
      [&] { ++slow; }, [&] { return needed; });
  RunUntil([&] { return slow >= 1; });  // at the slow rate now
  hurriedAt = Clock::now();
  needed = true;
  pair.hurry();
  RunUntil([&] { return fastAfterHurry != Clock::time_point{}; });
  EXPECT_LT(fastAfterHurry - hurriedAt, std::chrono::milliseconds(250));
}

TEST(GlibTimerPair, HandlesDestroyedInsideACallbackStopTheTimer) {
  int fast = 0;
  TimerPair pair;
  pair = StartGlibTimerPair(
      2, 5,
      [&] {
        if (++fast == 3) {
          pair.fast.reset();
          pair.slow.reset();
        }
      },
      [] {}, [] { return false; });
  RunUntil([&] { return fast >= 3; });
  // Nothing runs any more: a second timer shows the loop turning.
  int later = 0;
  auto other = StartGlibTimer(2, [&] { ++later; });
  RunUntil([&] { return later >= 20; });
  EXPECT_EQ(fast, 3);
  if (pair.hurry) pair.hurry();  // harmless once stopped
}

}  // namespace
}  // namespace qd3
