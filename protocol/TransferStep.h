#pragma once

// What a transfer asks of the editor after it was fed a reply or a tick. Transfers
// (synchronisation, bank export and import, factory write, IR upload and fetch,
// firmware) hold no transport and no screen: they return one of these, and the editor
// sends the messages in order, shows the progress and raises the message box.

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "protocol/DeviceMessages.h"

namespace qd3 {

enum class TransferEnd : uint8_t {
  kRunning,   // still under way (or nothing happened)
  kFinished,  // ended as it should
  kFailed,    // ended early; `message` says why
};

enum class ProgressOverlay : uint8_t { kUnchanged, kShow, kHide };

struct TransferStep {
  std::vector<Bytes> messages;     // to send now, in this order
  std::optional<double> progress;  // fraction 0..1 to show, when it changed
  ProgressOverlay overlay = ProgressOverlay::kUnchanged;
  TransferEnd end = TransferEnd::kRunning;
  std::string message;  // for the player: why it failed, or what finished

  TransferStep& Send(Bytes m) {
    messages.push_back(std::move(m));
    return *this;
  }
  TransferStep& Progress(double fraction, ProgressOverlay show = ProgressOverlay::kShow) {
    progress = fraction;
    overlay = show;
    return *this;
  }
  TransferStep& Fail(std::string text) {
    end = TransferEnd::kFailed;
    message = std::move(text);
    return *this;
  }
  TransferStep& Finish(std::string text = {}) {
    end = TransferEnd::kFinished;
    message = std::move(text);
    return *this;
  }
  // `next` happens right after this step: its messages follow, and whatever it shows or
  // ends with stands over this step's.
  TransferStep& Then(TransferStep next) {
    for (Bytes& m : next.messages) messages.push_back(std::move(m));
    if (next.progress) progress = next.progress;
    if (next.overlay != ProgressOverlay::kUnchanged) overlay = next.overlay;
    if (next.end != TransferEnd::kRunning) {
      end = next.end;
      message = std::move(next.message);
    }
    return *this;
  }
  bool Empty() const {
    return messages.empty() && !progress && overlay == ProgressOverlay::kUnchanged &&
           end == TransferEnd::kRunning;
  }
};

}  // namespace qd3
