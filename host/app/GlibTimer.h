#pragma once

#include <functional>
#include <memory>

#include "toolkit/api/ITimerHandle.h"

namespace qd3 {

// A GLib timeout on the default main context, calling `tick` every intervalMs
// on the UI thread until the handle is destroyed.
std::unique_ptr<ITimerHandle> StartGlibTimer(unsigned intervalMs, std::function<void()> tick);

// Two timers whose intervals are multiples of each other: `fast` every fastMs,
// `slow` every slowEvery-th of those periods. Each has a GLib source of its
// own, so a callback that runs a nested main loop (a modal dialog) stops only
// its own timer: the other one keeps running inside that loop. Both follow one
// grid of times, so when both are due they run in the same wake-up, `slow`
// first, and `fast` has caught up with the ticks it owes before `slow` runs.
// A late `slow` tick skips what it missed rather than running twice in a row.
// Each handle stops its own timer.
//
// With `fastNeeded`, asked after every fast tick, the fast timer falls back to
// the slow rate while it has nothing to do: both then run once per slow period
// in the same wake-up, and an idle program wakes only at the slow rate. `hurry`
// returns to the fast rate at once (UI thread; safe from inside either callback).
struct TimerPair {
  std::unique_ptr<ITimerHandle> slow;
  std::unique_ptr<ITimerHandle> fast;
  std::function<void()> hurry;
};
TimerPair StartGlibTimerPair(unsigned fastMs, unsigned slowEvery, std::function<void()> fast,
                             std::function<void()> slow,
                             std::function<bool()> fastNeeded = nullptr);

}  // namespace qd3
