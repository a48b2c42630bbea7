#pragma once

// What leaves for the pedal, and what a transfer's step asks of the screen: its
// messages in order, its progress, and the box that says why it failed. Every message
// passes the session's watch, so the session's own requests are waited on.

#include <cstdint>
#include <functional>
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

  // A message box raised while handling the pedal: shown by the next idle tick.
  void Post(std::string text);
  // The idle tick's part: shows the posted box. True when one was waiting.
  bool ShowPosted();

  // Sends what a transfer asks for, shows its progress and posts its message when it failed.
  void Apply(const TransferStep& step, const ProgressTarget& target = kCommonProgress);
  // The same with the IR fetch's rounded percentage.
  void ApplyIrFetch(const TransferStep& step);

 private:
  void ApplyRest(const TransferStep& step, const ProgressTarget& target);

  DeviceSession& mSession;
  SessionWatch& mWatch;
  ScreenWriter& mScreen;
  MessageSink mSink;
};

}  // namespace qd3
