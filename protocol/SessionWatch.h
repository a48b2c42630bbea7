#pragma once

// The requests the session itself sends and then waits on (the checksum block, the
// global settings, the current preset, the two maps, the IR name groups). A reply lost
// on the wire would otherwise leave the handshake waiting for good: the request is sent
// again after 2 s of silence, at most three times, and then the session gives up with a
// message that says what the pedal did not answer.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "protocol/DeviceMessages.h"
#include "protocol/ReplyWatchdog.h"
#include "protocol/TransferStep.h"

namespace qd3 {

enum class SessionRequest : uint8_t {
  kChecksums,
  kGlobalSettings,
  kCurrentPreset,
  kControllerMap,
  kProgramMap,
  kIrNames,
};

inline constexpr int kSessionWaitTicks = 20;
inline constexpr int kSessionRetries = 3;

class SessionWatch {
 public:
  // `message` left for `what`; it replaces any request still waited on.
  void Sent(SessionRequest what, Bytes message);
  // Every message the editor sends passes here: a request of the session's own starts
  // its watch, anything else (live edits, transfers) is looked at no further.
  void NoteSent(std::span<const uint8_t> message);
  // The pedal answered `what`; an answer to something else changes nothing.
  void Answered(SessionRequest what);
  // Nothing is waited on any more (the session was reset).
  void Clear() { mWaiting.reset(); }
  // The 100 ms tick while connected: the same request again after silence, or, when
  // the retries are used up, a failed step with the text for the player.
  TransferStep OnTick();

  std::optional<SessionRequest> Waiting() const {
    return mWaiting ? std::optional(mWaiting->what) : std::nullopt;
  }

 private:
  struct Outstanding {
    SessionRequest what;
    Bytes message;
  };
  std::optional<Outstanding> mWaiting;
  ReplyWatchdog mWatchdog{kSessionWaitTicks, kSessionRetries};
};

// "The QD3 did not answer the request for its preset checksums. ..." and so on.
std::string SessionGaveUpText(SessionRequest what);

}  // namespace qd3
