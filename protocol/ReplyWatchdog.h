#pragma once

// Counts the 100 ms ticks a transfer has waited for the pedal's answer. After
// `waitTicks` silent ticks the request is due again, at most `maxRetries` times; after
// that the transfer gives up. A whole answer re-arms it; a part of one only restarts the
// wait, so an answer that never ends still uses up the retries.

namespace qd3 {

// Silence after which a transfer waiting for the pedal counts as stalled: 5 s of 100 ms
// ticks.
inline constexpr int kReplyStallTicks = 50;

enum class WatchdogVerdict : unsigned char {
  kWait,    // keep waiting
  kRetry,   // send the outstanding request again
  kGiveUp,  // retries used up: end the transfer with a message
};

class ReplyWatchdog {
 public:
  constexpr ReplyWatchdog(int waitTicks, int maxRetries)
      : mWaitTicks(waitTicks), mMaxRetries(maxRetries) {}

  // An answer came (or a new request left): start counting from zero, retries reset.
  void Rearm() {
    mTicks = 0;
    mRetries = 0;
  }
  // A new request left after a retry: count again from zero, keep the retries used.
  void RestartWait() { mTicks = 0; }

  WatchdogVerdict OnTick() {
    if (++mTicks <= mWaitTicks) return WatchdogVerdict::kWait;
    mTicks = 0;
    if (mRetries < mMaxRetries) {
      ++mRetries;
      return WatchdogVerdict::kRetry;
    }
    return WatchdogVerdict::kGiveUp;
  }

  // The answer came but was unusable (cut short, damaged): a try used up at once, without
  // waiting out the silence.
  WatchdogVerdict FailedTry() {
    mTicks = 0;
    if (mRetries >= mMaxRetries) return WatchdogVerdict::kGiveUp;
    ++mRetries;
    return WatchdogVerdict::kRetry;
  }

  int Retries() const { return mRetries; }

 private:
  int mWaitTicks;
  int mMaxRetries;
  int mTicks = 0;
  int mRetries = 0;
};

}  // namespace qd3
