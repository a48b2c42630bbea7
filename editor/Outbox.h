#pragma once

// What leaves for the pedal, and what a transfer's step asks of the screen: its
// messages in order, its progress, and the box that says why it failed. Every message
// passes the session's watch, so the session's own requests are waited on.

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "editor/ScreenWriter.h"
#include "protocol/DeviceSession.h"
#include "protocol/SessionWatch.h"
#include "protocol/TransferStep.h"

namespace qd3 {

class Outbox {
 public:
  using MessageSink = std::function<void(std::span<const uint8_t>)>;

  Outbox(DeviceSession& session, SessionWatch& watch, ScreenWriter& screen)
      : mSession(session), mWatch(watch), mScreen(screen) {}

  // Where outgoing SysEx goes; without a sink messages are dropped.
  void SetSink(MessageSink sink) { mSink = std::move(sink); }
  void Send(std::span<const uint8_t> message);

  // A box opened from the device timer or from a message handler would run its modal
  // loop inside that GLib source and hold it for as long as the box is open: no poll,
  // no transfer step, no reply handled. So they wait here for the idle tick, in order.
  // A message box raised while handling the pedal.
  void Post(std::string text);
  // Anything that may open a box, a question or a file dialog.
  void Later(std::function<void()> action);
  // The idle tick's part: runs the oldest waiting item. True when one was waiting.
  bool ShowPosted();

  // Sends what a transfer asks for, shows its progress and posts its message when it failed.
  void Apply(const TransferStep& step, const ProgressTarget& target = kCommonProgress);
  // The same with the IR fetch's rounded percentage.
  void ApplyIrFetch(const TransferStep& step);

  // A transfer that moves on each answer reports progress for every message; the bar is
  // redrawn at most every kProgressEveryMs, the value in between kept for the next
  // timer. The idle tick (20 ms) and the device timer (100 ms) tell how much time passed.
  static constexpr int kProgressEveryMs = 50;
  void PassTime(int ms);
  bool ProgressWaiting() const { return mWaitingProgress.has_value(); }

 private:
  struct WaitingProgress {
    double fraction;
    ProgressTarget target;
  };
  void ApplyRest(const TransferStep& step, const ProgressTarget& target);
  void ShowProgress(double fraction, const ProgressTarget& target);

  DeviceSession& mSession;
  SessionWatch& mWatch;
  ScreenWriter& mScreen;
  MessageSink mSink;
  std::deque<std::function<void()>> mWaiting;
  std::optional<WaitingProgress> mWaitingProgress;
  int mMsSinceProgress = kProgressEveryMs;
  bool mProgressShown = false;  // since the bar was last hidden
};

}  // namespace qd3
