#pragma once

// Fetches one IR from the pedal: kCmdRequestIr, then the pedal's kCmdIrBegin, kCmdIrData
// chunks and kCmdIrEnd, collected by an IrReceiveState. A good transfer is handed to the
// caller to cache; progress runs 0 at the begin, produced / expected bytes on each data
// chunk, 1.0 with the overlay hidden at the end.
//
// What can go wrong is bounded:
//   - a begin announcing more than the 4096-byte receive buffer is refused whole;
//   - a transfer whose computed checksum differs from the pedal's, or that produced fewer
//     bytes than its begin announced, is not handed out; the IR is requested once more and
//     a second bad transfer ends with "Communication error!";
//   - 20 ticks (2 s) without any chunk re-request the IR, at most 3 times, then the fetch
//     ends as failed.
// Transfers arrive also unrequested (they are collected the same way); only a request
// arms the watchdog.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "protocol/DeviceMessages.h"
#include "protocol/IrReceiveState.h"
#include "protocol/ReplyWatchdog.h"
#include "protocol/TransferStep.h"
#include "protocol/TransferTexts.h"

namespace qd3 {

inline constexpr int kIrFetchWaitTicks = 20;
inline constexpr int kIrFetchRetries = 3;
inline constexpr int kIrFetchBadTransfers = 2;  // the second bad transfer ends the fetch
inline constexpr char kTextIrFetchNoAnswer[] =
    "QD3 did not send the requested IR. Please check the connection.";
inline constexpr char kTextIrFetchDroppedHere[] =
    "The requested IR did not arrive whole: this computer dropped incoming MIDI messages "
    "(receive queue full). Please try again.";

struct ReceivedIr {
  int irNumber = 0;
  Bytes bytes;  // floor(7G / 8) bytes, normally one 2436-byte image
};

struct IrFetchEnd {
  TransferStep step;
  std::optional<ReceivedIr> received;  // only for a complete transfer with a good checksum
};

// The progress text of a fetch: "%.0f %%" of fraction * 100.
std::string IrFetchPercentText(double fraction);

class IrFetch {
 public:
  // The kCmdRequestIr for IR n, watched from now on. A request replaces one outstanding.
  TransferStep Request(int n);

  TransferStep OnBegin(std::span<const uint8_t> message);
  TransferStep OnData(std::span<const uint8_t> message);
  IrFetchEnd OnEnd(std::span<const uint8_t> message);
  // The 100 ms tick: re-requests or gives up after silence while a request is outstanding.
  TransferStep OnTick();

  bool Waiting() const { return mOutstanding.has_value(); }
  std::optional<int> Outstanding() const { return mOutstanding; }
  const IrReceiveState& ReceiveState() const { return mReceive; }

 private:
  TransferStep Fail(std::string text);

  IrReceiveState mReceive;
  std::optional<int> mOutstanding;  // IR number requested and not yet received
  int mBadTransfers = 0;            // of the outstanding request
  bool mOverlayShown = false;
  ReplyWatchdog mWatchdog{kIrFetchWaitTicks, kIrFetchRetries};
};

}  // namespace qd3
