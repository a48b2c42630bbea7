#pragma once

#include <functional>
#include <memory>

#include "toolkit/api/ITimerHandle.h"

namespace qd3 {

// A GLib timeout on the default main context, calling `tick` every intervalMs
// on the UI thread until the handle is destroyed.
std::unique_ptr<ITimerHandle> StartGlibTimer(unsigned intervalMs, std::function<void()> tick);

// Two timers whose intervals are multiples of each other on one GLib timeout:
// `fast` every fastMs, `slow` on every slowEvery-th of those ticks, in the same
// wake-up. An idle program pays for one wake-up per fast tick instead of one
// per tick of either. Each handle stops its own timer; the timeout goes with
// the last of them.
//
// With `fastNeeded`, asked after every wake-up, the pair falls back to the slow
// rate while the fast work has nothing to do: both then run once per slow
// period, and an idle program wakes only at the slow rate. `hurry` returns to
// the fast rate at once (UI thread; safe from inside either callback).
struct TimerPair {
  std::unique_ptr<ITimerHandle> slow;
  std::unique_ptr<ITimerHandle> fast;
  std::function<void()> hurry;
};
TimerPair StartGlibTimerPair(unsigned fastMs, unsigned slowEvery, std::function<void()> fast,
                             std::function<void()> slow,
                             std::function<bool()> fastNeeded = nullptr);

}  // namespace qd3
