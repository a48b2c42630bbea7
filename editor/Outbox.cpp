#include "editor/Outbox.h"

#include <utility>

namespace qd3 {

void Outbox::Send(std::span<const uint8_t> message) {
  mWatch.NoteSent(message);
  if (mSink) mSink(message);
}

void Outbox::Post(std::string text) {
  mSession.pendingMessage = text;
  Later([this, text = std::move(text)] { mScreen.ShowBox(text); });
}

void Outbox::Later(std::function<void()> action) {
  mWaiting.push_back(std::move(action));
  mSession.messagePending = true;
}

bool Outbox::ShowPosted() {
  if (mWaiting.empty()) return false;
  // Taken off first: the item may post more, or run a loop in which the idle tick
  // cannot come back here (its source is busy), but the device timer can.
  std::function<void()> action = std::move(mWaiting.front());
  mWaiting.pop_front();
  mSession.messagePending = !mWaiting.empty();
  action();
  return true;
}

void Outbox::Apply(const TransferStep& step, const ProgressTarget& target) {
  if (step.progress) {
    // The first value after the bar appears is shown at once, never an old one.
    if (!mProgressShown || mMsSinceProgress >= kProgressEveryMs) {
      ShowProgress(*step.progress, target);
    } else {
      mWaitingProgress = WaitingProgress{*step.progress, target};
    }
  }
  ApplyRest(step, target);
}

void Outbox::ShowProgress(double fraction, const ProgressTarget& target) {
  mScreen.ShowProgress(fraction, target);
  mWaitingProgress.reset();
  mMsSinceProgress = 0;
  mProgressShown = true;
}

void Outbox::PassTime(int ms) {
  mMsSinceProgress += ms;
  if (mWaitingProgress && mMsSinceProgress >= kProgressEveryMs) {
    const WaitingProgress waiting = *mWaitingProgress;
    ShowProgress(waiting.fraction, waiting.target);
  }
}

void Outbox::ApplyIrFetch(const TransferStep& step) {
  if (step.progress) mScreen.ShowIrFetchProgress(*step.progress);
  ApplyRest(step, kIrFetchProgress);
}

void Outbox::ApplyRest(const TransferStep& step, const ProgressTarget& target) {
  if (step.overlay != ProgressOverlay::kUnchanged) {
    const bool show = step.overlay == ProgressOverlay::kShow;
    mScreen.ShowProgressPanel(target, show);
    if (!show) {
      // The bar's last value stands in it, for the next time it is shown.
      if (mWaitingProgress) ShowProgress(mWaitingProgress->fraction, mWaitingProgress->target);
      mProgressShown = false;
    }
  }
  for (const Bytes& message : step.messages) Send(message);
  if (step.end == TransferEnd::kFailed && !step.message.empty()) Post(step.message);
}

}  // namespace qd3
