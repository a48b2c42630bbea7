#include "host/app/GlibTimer.h"

#include <glib.h>

#include <memory>
#include <utility>

namespace qd3 {
namespace {

class GlibTimer final : public ITimerHandle {
 public:
  GlibTimer(unsigned intervalMs, std::function<void()> tick) : mTick(std::move(tick)) {
    mSource = g_timeout_add(intervalMs, &GlibTimer::OnTimeout, this);
  }
  // Removing the source on the UI thread, where it runs, means no call is in
  // progress and none follows.
  ~GlibTimer() override {
    if (mSource != 0) g_source_remove(mSource);
  }

 private:
  static gboolean OnTimeout(gpointer self) {
    static_cast<GlibTimer*>(self)->mTick();
    return G_SOURCE_CONTINUE;
  }

  std::function<void()> mTick;
  guint mSource = 0;
};

struct PairState;

// One timer of a pair: a GSource whose readiness the pair's state decides.
// Each holds a reference to the state until GLib finalises it, so the state
// outlives a source destroyed while it dispatches.
struct TickSource {
  GSource base;
  std::shared_ptr<PairState>* state;
  bool slow;
};

// Times are GLib's monotonic microseconds. Both timers fall on the grid
// base + k * fastUs (the slow one on every slowEvery-th point), which puts
// them into the same wake-up whenever both are due.
struct PairState {
  std::function<void()> fast;
  std::function<void()> slow;
  std::function<bool()> fastNeeded;
  gint64 fastUs = 0;
  gint64 slowUs = 0;
  gint64 base = 0;
  gint64 fastDue = 0;
  gint64 slowDue = 0;
  GSource* fastSource = nullptr;
  GSource* slowSource = nullptr;
  bool fastAtSlowRate = false;
  bool fastDispatching = false;
  bool hurryAsked = false;

  // The first point of the grid of `interval` after `time`.
  gint64 NextPoint(gint64 time, gint64 interval) const {
    if (time < base) return base;
    return base + ((time - base) / interval + 1) * interval;
  }

  // The slow tick waits while a fast tick it should follow is still owed, but
  // never for a fast timer that is stopped inside its own callback.
  bool Ready(bool isSlow, gint64 now) const {
    if (!isSlow) return now >= fastDue;
    if (now < slowDue) return false;
    const bool fastLive = fastSource != nullptr && !fastDispatching;
    return !(fastLive && fastDue < slowDue);
  }

  void DispatchSlow() {
    const gint64 due = slowDue;
    if (slow) slow();
    // After the callback, as for the fast tick. The device's pacing counts on
    // the interval: a late tick is not repeated.
    const gint64 now = g_get_monotonic_time();
    slowDue = due + slowUs;
    if (slowDue <= now) slowDue = NextPoint(now, slowUs);
  }

  // False once the fast timer has been stopped inside its callback.
  bool DispatchFast() {
    const gint64 due = fastDue;
    fastDispatching = true;
    if (fast) fast();
    fastDispatching = false;
    if (fastSource == nullptr) return false;
    const bool wantFast = std::exchange(hurryAsked, false) || !fastNeeded || fastNeeded();
    // After the callback: a dialog it ran may have taken any time.
    const gint64 now = g_get_monotonic_time();
    if (!wantFast) {
      fastDue = NextPoint(now, slowUs);
    } else if (fastAtSlowRate) {
      fastDue = NextPoint(now, fastUs);
    } else {
      // Ticks owed from a short delay follow at once (the slow tick counts on
      // them); after a longer one the timer starts afresh.
      fastDue = due + fastUs;
      if (fastDue <= now - slowUs) fastDue = NextPoint(now, fastUs);
    }
    fastAtSlowRate = !wantFast;
    return true;
  }

  void Hurry() {
    if (fastDispatching) {
      hurryAsked = true;
      return;
    }
    if (!fastAtSlowRate || fastSource == nullptr) return;
    fastAtSlowRate = false;
    // Called on the UI thread between dispatches: the loop computes its next
    // wait from this after the current dispatch.
    fastDue = NextPoint(g_get_monotonic_time(), fastUs);
  }
};

PairState& StateOf(GSource* source) {
  return **reinterpret_cast<TickSource*>(source)->state;
}

bool IsSlow(GSource* source) {
  return reinterpret_cast<TickSource*>(source)->slow;
}

gboolean Prepare(GSource* source, gint* timeout) {
  const PairState& state = StateOf(source);
  const gint64 now = g_source_get_time(source);
  if (state.Ready(IsSlow(source), now)) {
    *timeout = 0;
    return TRUE;
  }
  const gint64 due = IsSlow(source) ? state.slowDue : state.fastDue;
  // A slow tick waiting for owed fast ticks has a ready fast source beside it.
  *timeout = due > now ? static_cast<gint>((due - now + 999) / 1000) : 0;
  return FALSE;
}

gboolean Check(GSource* source) {
  return StateOf(source).Ready(IsSlow(source), g_source_get_time(source));
}

gboolean Dispatch(GSource* source, GSourceFunc, gpointer) {
  // A reference of our own: the callback may stop both timers.
  const std::shared_ptr<PairState> state = *reinterpret_cast<TickSource*>(source)->state;
  if (IsSlow(source)) {
    state->DispatchSlow();
    return G_SOURCE_CONTINUE;
  }
  return state->DispatchFast() ? G_SOURCE_CONTINUE : G_SOURCE_REMOVE;
}

void Finalize(GSource* source) {
  auto* tick = reinterpret_cast<TickSource*>(source);
  delete tick->state;
  tick->state = nullptr;
}

GSourceFuncs gTickSourceFuncs = {Prepare, Check, Dispatch, Finalize, nullptr, nullptr};

GSource* AttachTickSource(const std::shared_ptr<PairState>& state, bool slow) {
  GSource* source = g_source_new(&gTickSourceFuncs, sizeof(TickSource));
  auto* tick = reinterpret_cast<TickSource*>(source);
  tick->state = new std::shared_ptr<PairState>(state);
  tick->slow = slow;
  g_source_set_priority(source, G_PRIORITY_DEFAULT);
  g_source_set_name(source, slow ? "qd3 slow timer" : "qd3 fast timer");
  g_source_attach(source, nullptr);
  return source;
}

class PairHandle final : public ITimerHandle {
 public:
  PairHandle(std::shared_ptr<PairState> state, bool slow) : mState(std::move(state)), mSlow(slow) {}
  // The callback stays in the state: it may be the one running now.
  ~PairHandle() override {
    GSource*& source = mSlow ? mState->slowSource : mState->fastSource;
    if (source == nullptr) return;
    g_source_destroy(source);
    g_source_unref(source);
    source = nullptr;
  }

 private:
  std::shared_ptr<PairState> mState;
  bool mSlow;
};

}  // namespace

TimerPair StartGlibTimerPair(unsigned fastMs, unsigned slowEvery, std::function<void()> fast,
                             std::function<void()> slow, std::function<bool()> fastNeeded) {
  auto state = std::make_shared<PairState>();
  state->fast = std::move(fast);
  state->slow = std::move(slow);
  state->fastNeeded = std::move(fastNeeded);
  state->fastUs = static_cast<gint64>(fastMs > 0 ? fastMs : 1) * 1000;
  state->slowUs = state->fastUs * (slowEvery > 0 ? slowEvery : 1);
  state->base = g_get_monotonic_time();
  state->fastDue = state->base + state->fastUs;
  state->slowDue = state->base + state->slowUs;
  // Attached slow first: of two sources ready together GLib dispatches the
  // earlier one first, so the device's work is on screen with the same tick.
  if (state->slow) state->slowSource = AttachTickSource(state, true);
  if (state->fast) state->fastSource = AttachTickSource(state, false);
  std::weak_ptr<PairState> weak = state;
  return {std::make_unique<PairHandle>(state, true), std::make_unique<PairHandle>(state, false),
          [weak] {
            if (auto s = weak.lock()) s->Hurry();
          }};
}

std::unique_ptr<ITimerHandle> StartGlibTimer(unsigned intervalMs, std::function<void()> tick) {
  return std::make_unique<GlibTimer>(intervalMs, std::move(tick));
}

}  // namespace qd3
