#include "host/app/GlibTimer.h"

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

// The state both handles of a pair share.
struct PairState {
  std::function<void()> fast;
  std::function<void()> slow;
  unsigned slowEvery = 1;
  unsigned count = 0;
  guint source = 0;

  static gboolean OnTimeout(gpointer data) {
    PairState* state = static_cast<std::shared_ptr<PairState>*>(data)->get();
    // Slow first: the device timer's work is then on screen with this tick.
    if (state->slow && ++state->count >= state->slowEvery) {
      state->count = 0;
      state->slow();
    }
    if (state->fast) state->fast();
    return G_SOURCE_CONTINUE;
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
                             std::function<void()> slow) {
  auto state = std::make_shared<PairState>();
  state->fast = std::move(fast);
  state->slow = std::move(slow);
  state->slowEvery = slowEvery > 0 ? slowEvery : 1;
  // The source holds a reference of its own until it is removed.
  state->source = g_timeout_add_full(
      G_PRIORITY_DEFAULT, fastMs, &PairState::OnTimeout, new std::shared_ptr<PairState>(state),
      [](gpointer ref) { delete static_cast<std::shared_ptr<PairState>*>(ref); });
  return {std::make_unique<PairHandle>(state, true), std::make_unique<PairHandle>(state, false)};
}

std::unique_ptr<ITimerHandle> StartGlibTimer(unsigned intervalMs, std::function<void()> tick) {
  return std::make_unique<GlibTimer>(intervalMs, std::move(tick));
}

}  // namespace qd3
