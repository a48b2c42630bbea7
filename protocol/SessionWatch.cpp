#include "protocol/SessionWatch.h"

#include <utility>

#include "protocol/MessageBuilders.h"

namespace qd3 {

void SessionWatch::NoteSent(std::span<const uint8_t> message) {
  // Live edits pass here too: look no further than the command byte for them.
  if (message.size() <= kCommandOffset) return;
  const uint8_t command = message[kCommandOffset];
  if (command == kCmdRequestIrNames) {
    Sent(SessionRequest::kIrNames, Bytes(message.begin(), message.end()));
    return;
  }
  if (command != kCmdRequestBlock) return;
  const Bytes m(message.begin(), message.end());
  static constexpr std::pair<SessionRequest, DataBlockType> kBlocks[] = {
      {SessionRequest::kChecksums, kBlockPresetChecksums},
      {SessionRequest::kGlobalSettings, kBlockGlobalSettings},
      {SessionRequest::kControllerMap, kBlockControllerMap},
      {SessionRequest::kProgramMap, kBlockProgramMap},
  };
  for (const auto& [what, block] : kBlocks) {
    if (m == BuildRequestBlock(block)) {
      Sent(what, m);
      return;
    }
  }
}

void SessionWatch::Sent(SessionRequest what, Bytes message) {
  // The watch's own repeat of the request keeps the retries it has used.
  if (mWaiting && mWaiting->what == what && mWaiting->message == message) return;
  mWaiting = Outstanding{what, std::move(message)};
  mWatchdog.Rearm();
}

void SessionWatch::Answered(SessionRequest what) {
  if (mWaiting && mWaiting->what == what) mWaiting.reset();
}

TransferStep SessionWatch::OnTick() {
  TransferStep step;
  if (!mWaiting) return step;
  switch (mWatchdog.OnTick()) {
    case WatchdogVerdict::kWait:
      return step;
    case WatchdogVerdict::kRetry:
      return step.Send(mWaiting->message);
    case WatchdogVerdict::kGiveUp:
      break;
  }
  const SessionRequest what = mWaiting->what;
  mWaiting.reset();
  return step.Fail(SessionGaveUpText(what));
}

std::string SessionGaveUpText(SessionRequest what) {
  const char* item = "";
  switch (what) {
    case SessionRequest::kChecksums:
      item = "its preset checksums";
      break;
    case SessionRequest::kGlobalSettings:
      item = "its global settings";
      break;
    case SessionRequest::kCurrentPreset:
      item = "its current preset";
      break;
    case SessionRequest::kControllerMap:
      item = "its controller map";
      break;
    case SessionRequest::kProgramMap:
      item = "its program map";
      break;
    case SessionRequest::kIrNames:
      item = "the names of its IRs";
      break;
  }
  return std::string("The QD3 did not answer the request for ") + item +
         ". Check the MIDI connection; the editor looks for the pedal again, or press "
         "RECONNECT.";
}

}  // namespace qd3
