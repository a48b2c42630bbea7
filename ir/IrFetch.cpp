#include "ir/IrFetch.h"

#include <cstdio>

#include "protocol/MessageBuilders.h"

namespace qd3 {
namespace {

constexpr double kPercent = 100.0;

}  // namespace

std::string IrFetchPercentText(double fraction) {
  char text[16];
  std::snprintf(text, sizeof text, "%.0f %%", fraction * kPercent);
  return text;
}

TransferStep IrFetch::Request(int n) {
  mOutstanding = n;
  mBadTransfers = 0;
  mWatchdog.Rearm();
  return TransferStep{}.Send(BuildRequestIr(n));
}

TransferStep IrFetch::OnBegin(std::span<const uint8_t> message) {
  // A refused begin (kTooLarge) drops the transfer whole; its chunks find no transfer and
  // are dropped too, and the watchdog asks again.
  if (mReceive.Begin(message) != IrReceiveStatus::kReceiving) return {};
  mWatchdog.RestartWait();
  mOverlayShown = true;
  return TransferStep{}.Progress(0.0);
}

TransferStep IrFetch::OnData(std::span<const uint8_t> message) {
  if (mReceive.Data(message) != IrReceiveStatus::kReceiving) return {};
  mWatchdog.RestartWait();
  const int expected = mReceive.ExpectedBytes();
  const double fraction =
      expected > 0 ? static_cast<double>(mReceive.ProducedBytes()) / expected : 0.0;
  return TransferStep{}.Progress(fraction);
}

IrFetchEnd IrFetch::OnEnd(std::span<const uint8_t> message) {
  if (mReceive.End(message) != IrReceiveStatus::kComplete) return {};
  const IrReceiveResult result = mReceive.Result();
  const bool whole = static_cast<int>(result.bytes.size()) == mReceive.ExpectedBytes();
  if (result.ChecksumMatches() && whole && mReceive.AllGroupsReceived()) {
    if (mOutstanding == result.irNumber) mOutstanding.reset();
    mOverlayShown = false;
    IrFetchEnd end;
    end.step.Progress(1.0, ProgressOverlay::kHide).Finish();
    end.received = ReceivedIr{result.irNumber, Bytes(result.bytes.begin(), result.bytes.end())};
    return end;
  }
  // A bad transfer of the IR asked for counts against that request; one nobody asked for
  // is asked for once, as a fresh request.
  if (mOutstanding != result.irNumber) {
    mOutstanding = result.irNumber;
    mBadTransfers = 0;
    mWatchdog.Rearm();
  }
  if (++mBadTransfers >= kIrFetchBadTransfers) return {Fail(kTextCommunicationError), {}};
  mWatchdog.RestartWait();
  TransferStep step;
  step.Progress(0.0);
  return {step.Send(BuildRequestIr(result.irNumber)), {}};
}

TransferStep IrFetch::OnTick() {
  if (!mOutstanding) return {};
  switch (mWatchdog.OnTick()) {
    case WatchdogVerdict::kWait:
      return {};
    case WatchdogVerdict::kRetry:
      return TransferStep{}.Send(BuildRequestIr(*mOutstanding));
    case WatchdogVerdict::kGiveUp:
      break;
  }
  return Fail(kTextIrFetchNoAnswer);
}

TransferStep IrFetch::Fail(std::string text) {
  mOutstanding.reset();
  mBadTransfers = 0;
  TransferStep step;
  if (mOverlayShown) step.Progress(0.0, ProgressOverlay::kHide);
  mOverlayShown = false;
  return step.Fail(std::move(text));
}

}  // namespace qd3
