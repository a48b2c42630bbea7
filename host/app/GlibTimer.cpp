#include "host/app/GlibTimer.h"

#include <utility>

#include <glib.h>

#include <memory>

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

// The state both handles of a pair share. Each GLib source holds a reference of
// its own until it is removed, so the state outlives a source removed while it
// dispatches.
struct PairState : std::enable_shared_from_this<PairState> {
  std::function<void()> fast;
  std::function<void()> slow;
  std::function<bool()> fastNeeded;
  unsigned fastMs = 0;
  unsigned slowEvery = 1;
  unsigned count = 0;
  guint source = 0;
  bool atSlowRate = false;
  bool dispatching = false;
  bool hurryAsked = false;

  void Arm(bool slowRate) {
    atSlowRate = slowRate;
    count = 0;
    source = g_timeout_add_full(
        G_PRIORITY_DEFAULT, slowRate ? fastMs * slowEvery : fastMs, &PairState::OnTimeout,
        new std::shared_ptr<PairState>(shared_from_this()),
        [](gpointer ref) { delete static_cast<std::shared_ptr<PairState>*>(ref); });
  }

  void Hurry() {
    if (dispatching) {
      hurryAsked = true;
      return;
    }
    if (!atSlowRate || source == 0) return;
    g_source_remove(source);
    Arm(false);
  }

  // Whether the running source goes on; otherwise a new one has been armed.
  bool KeepRate() {
    const bool wantFast = std::exchange(hurryAsked, false) || !fastNeeded || fastNeeded();
    if (wantFast != atSlowRate) return true;
    Arm(!wantFast);
    return false;
  }

  static gboolean OnTimeout(gpointer data) {
    PairState* state = static_cast<std::shared_ptr<PairState>*>(data)->get();
    state->dispatching = true;
    // Slow first: the device timer's work is then on screen with this tick.
    if (state->slow && (state->atSlowRate || ++state->count >= state->slowEvery)) {
      state->count = 0;
      state->slow();
    }
    if (state->fast) state->fast();
    state->dispatching = false;
    // A handle destroyed in a callback has removed the source already.
    if (state->source == 0) return G_SOURCE_REMOVE;
    return state->KeepRate() ? G_SOURCE_CONTINUE : G_SOURCE_REMOVE;
  }
};

class PairHandle final : public ITimerHandle {
 public:
  PairHandle(std::shared_ptr<PairState> state, bool slow) : mState(std::move(state)), mSlow(slow) {}
  ~PairHandle() override {
    (mSlow ? mState->slow : mState->fast) = nullptr;
    if (!mState->slow && !mState->fast && mState->source != 0) {
      g_source_remove(mState->source);
      mState->source = 0;
    }
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
  state->fastMs = fastMs;
  state->slowEvery = slowEvery > 0 ? slowEvery : 1;
  state->Arm(false);
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
