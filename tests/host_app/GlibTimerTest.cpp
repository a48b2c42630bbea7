// The timer pair on a real GLib main loop. Counts, not durations, carry the
// checks wherever possible, so a loaded machine does not make them flaky.
#include <glib.h>
#include <gtest/gtest.h>

#include <glib-unix.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <thread>
#include <vector>

#include "host/app/GlibTimer.h"
#include "host/app/IncomingSysexQueue.h"

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

// What a modal dialog does inside the callback that raises it: a main loop of
// its own on the default context, here for `ms` milliseconds.
void RunNestedLoop(unsigned ms) {
  GMainLoop* loop = g_main_loop_new(nullptr, FALSE);
  g_timeout_add(
      ms,
      [](gpointer l) {
        g_main_loop_quit(static_cast<GMainLoop*>(l));
        return G_SOURCE_REMOVE;
      },
      loop);
  g_main_loop_run(loop);
  g_main_loop_unref(loop);
}

// The editor's rates: 20 ms idle tick, 100 ms device timer.
struct BoxCase {
  const char* name;
  bool boxFromSlow;  // else from the fast tick
  bool fastNeeded;   // false: the idle editor, fast tick at the slow rate
};

// Regression: both timers shared one source, so a message box raised by the idle
// tick stopped the device timer (no polling, no transfers) until it was closed.
TEST(GlibTimerPair, ABoxOpenedFromOneTimerLetsTheOtherRun) {
  const BoxCase cases[] = {{"box from the fast tick", false, true},
                           {"box from the fast tick at the slow rate", false, false},
                           {"box from the slow tick", true, true}};
  for (const BoxCase& c : cases) {
    SCOPED_TRACE(c.name);
    int fast = 0;
    int slow = 0;
    int otherDuringBox = -1;
    bool reentered = false;
    bool inBox = false;
    const auto box = [&](int& own, int& other) {
      if (inBox) reentered = true;
      if (++own != 2 || otherDuringBox >= 0) return;
      inBox = true;
      const int before = other;
      RunNestedLoop(500);
      otherDuringBox = other - before;
      inBox = false;
    };
    TimerPair pair = StartGlibTimerPair(
        20, 5, [&] { c.boxFromSlow ? void(++fast) : box(fast, slow); },
        [&] { c.boxFromSlow ? box(slow, fast) : void(++slow); }, [&] { return c.fastNeeded; });
    RunUntil([&] { return otherDuringBox >= 0; });
    // 500 ms hold five slow ticks or 25 fast ones; a loaded machine may lose some.
    EXPECT_GE(otherDuringBox, c.boxFromSlow && c.fastNeeded ? 12 : 3);
    EXPECT_FALSE(reentered);  // the timer that raised the box waits for it
  }
}

TEST(GlibTimerPair, TheTimerThatRaisedABoxRunsOnWithoutABurstAfterIt) {
  int fast = 0;
  int slow = 0;
  int fastAtClose = -1;
  int slowAtClose = -1;
  TimerPair pair = StartGlibTimerPair(
      20, 5,
      [&] {
        if (++fast == 1) {
          RunNestedLoop(300);
          fastAtClose = fast;
          slowAtClose = slow;
        }
      },
      [&] { ++slow; });
  RunUntil([&] { return slowAtClose >= 0 && slow >= slowAtClose + 2; });
  // Two slow ticks are at most two slow periods: ten fast ticks, and fewer than
  // five owed from before. The fifteen the box held are not made up for.
  const int fastAfter = fast - fastAtClose;
  EXPECT_GE(fastAfter, 1);
  EXPECT_LE(fastAfter, 15);
}

TEST(GlibTimerPair, ALateSlowTickIsNotRepeatedToCatchUp) {
  using Clock = std::chrono::steady_clock;
  std::vector<Clock::time_point> slowTicks;
  TimerPair pair = StartGlibTimerPair(
      10, 5, [] {},
      [&] {
        slowTicks.push_back(Clock::now());
        // The loop is held for three slow periods once.
        if (slowTicks.size() == 2) g_usleep(150 * 1000);
      },
      [] { return false; });
  RunUntil([&] { return slowTicks.size() >= 4; });
  ASSERT_GE(slowTicks.size(), 4u);
  // A load can only make the gap longer; a catch-up would make it about zero.
  EXPECT_GE(slowTicks[2] - slowTicks[1], std::chrono::milliseconds(150 + 20));
  EXPECT_GE(slowTicks[3] - slowTicks[2], std::chrono::milliseconds(20));
}

// The pedal's messages reach the UI thread through the queue's own descriptor, not
// through either timer: they are handled while a box raised by a timer is open.
TEST(GlibTimerPair, IncomingMessagesAreHandledWhileABoxIsOpen) {
  IncomingSysexQueue queue;
  int handled = 0;
  int handledDuringBox = -1;
  struct Watch {
    IncomingSysexQueue* queue;
    int* handled;
  } watch{&queue, &handled};
  const guint source = g_unix_fd_add(
      queue.WakeFd(), G_IO_IN,
      [](gint, GIOCondition, gpointer data) -> gboolean {
        auto* w = static_cast<Watch*>(data);
        w->queue->Drain([w](const uint8_t*, size_t) { ++*w->handled; });
        return G_SOURCE_CONTINUE;
      },
      &watch);
  std::thread pedal;
  TimerPair pair = StartGlibTimerPair(
      20, 5,
      [&] {
        if (handledDuringBox >= 0 || pedal.joinable()) return;
        pedal = std::thread([&queue] {
          const uint8_t message[] = {0xF0, 0x00, 0x20, 0x1F, 0xF7};
          for (int i = 0; i < 11; ++i) queue.Push(message, sizeof message);
        });
        RunNestedLoop(300);
        handledDuringBox = handled;
      },
      [] {});
  RunUntil([&] { return handledDuringBox >= 0; });
  pedal.join();
  g_source_remove(source);
  EXPECT_EQ(handledDuringBox, 11);
}

}  // namespace
}  // namespace qd3
