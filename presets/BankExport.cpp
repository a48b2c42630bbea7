#include "presets/BankExport.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "presets/PresetRecord.h"
#include "protocol/Checksum14.h"
#include "protocol/MessageBuilders.h"

namespace qd3 {
namespace {

constexpr int kIrHighWeight = 128;

// A dump's user-IR reference: "IR Mode" byte and the two number bytes, as message offsets.
struct IrReference {
  std::size_t mode;
  std::size_t high;
  std::size_t low;
};
constexpr IrReference kPosition7 = {kRecordOffset + kParamBytesOffset + kParamIrMode7,
                                    kRecordOffset + kParamBytesOffset + kParamUserIr7High,
                                    kRecordOffset + kParamBytesOffset + kParamUserIr7Low};
constexpr IrReference kPosition8 = {kRecordOffset + kParamBytesOffset + kParamIrMode8,
                                    kRecordOffset + kParamBytesOffset + kParamUserIr8High,
                                    kRecordOffset + kParamBytesOffset + kParamUserIr8Low};
static_assert(kPosition7.mode == 82 && kPosition7.high == 95 && kPosition8.low == 98);

}  // namespace

std::string ExportIrIncompleteText(int irNumber) {
  char text[128];
  std::snprintf(text, sizeof text,
                "QD3 did not send impulse response %d completely. The export was stopped and "
                "no file was written.",
                irNumber);
  return text;
}

BankExport::BankExport(DeviceSession& session, std::span<uint8_t> bulkBuffer)
    : mSession(session), mBuffer(bulkBuffer) {}

void BankExport::Start() {
  mSession.backupActive = true;
  mSession.backupNext = true;
  mSession.backupPresetIndex = 0;
  mSession.backupIrIndex = 0;
  mSession.bulkLength = 0;
  mSession.backupIrWanted.fill(false);
  mWatchdog.Rearm();
  mBadDumps = 0;
  mRequestedIr = -1;
  mIrPartSeen = false;
  mCollecting = false;
}

TransferStep BankExport::OnTick() {
  TransferStep step;
  if (!mSession.backupActive) return step;
  if (!mSession.connected) {
    mSession.backupActive = false;
    mSession.backupNext = false;
    step.overlay = ProgressOverlay::kHide;
    step.end = TransferEnd::kFailed;
    return step;
  }
  if (!mSession.backupNext) {
    const WatchdogVerdict verdict = mWatchdog.OnTick();
    if (verdict == WatchdogVerdict::kWait) return step;
    return TryAgain(verdict);
  }
  mWatchdog.Rearm();
  mRequestStart = mSession.bulkLength;
  mRequestedIr = -1;
  mIrPartSeen = false;
  mCollecting = false;
  mOtherIrUnderWay = false;
  if (mSession.backupPresetIndex < kPresetCount) {
    mLastRequest = BuildRequestPreset(mSession.backupPresetIndex);
    step.Send(mLastRequest);
    ++mSession.backupPresetIndex;
    mSession.backupNext = false;
    return step;
  }
  if (mSession.backupIrIndex < kNumUserIrs) {
    const auto begin = mSession.backupIrWanted.begin() + mSession.backupIrIndex;
    const auto found = std::find(begin, mSession.backupIrWanted.end(), true);
    if (found == mSession.backupIrWanted.end()) {
      // Nothing left to fetch: the next tick finishes.
      mSession.backupIrIndex = kNumUserIrs;
      return step;
    }
    *found = false;
    const int n = static_cast<int>(found - mSession.backupIrWanted.begin());
    mSession.backupIrIndex = n + 1;
    mRequestedIr = n;
    mLastRequest = BuildRequestIr(n);
    step.Send(mLastRequest);
    mSession.backupNext = false;
    return step;
  }
  mSession.backupActive = false;
  mSession.backupNext = false;
  step.overlay = ProgressOverlay::kHide;
  step.Finish(kTextFinished);
  return step;
}

int BankExport::AwaitedSlot() const {
  const bool awaiting = mSession.backupActive && !mSession.backupNext && !WaitingForIr();
  return awaiting && mSession.backupPresetIndex > 0 ? mSession.backupPresetIndex - 1 : -1;
}

TransferStep BankExport::OnPresetDump(std::span<const uint8_t> message) {
  if (!mSession.backupActive || message.size() != kRecordMessageSize) return {};
  // Only the slot asked for, while it is awaited: a late repeat of the one before would
  // otherwise stand in the file in the place of this one.
  if (mSession.backupNext || WaitingForIr() ||
      message[kSelectorOffset] != mSession.backupPresetIndex - 1) {
    return {};
  }
  if (!VerifyRecordChecksum(message)) {
    if (++mBadDumps > kExportBadDumpRetries) return Stop(kTextExportDumpDamaged);
    mSession.backupPresetIndex = std::max(mSession.backupPresetIndex - 1, 0);
    mSession.backupNext = true;
    return {};
  }
  mBadDumps = 0;
  for (const IrReference& ref : {kPosition7, kPosition8}) {
    if (message[ref.mode] == 0) continue;
    const int n = message[ref.high] * kIrHighWeight + message[ref.low];
    if (n < kNumUserIrs) mSession.backupIrWanted[static_cast<std::size_t>(n)] = true;
  }
  TransferStep step = Append(message);
  if (step.end != TransferEnd::kRunning) return step;
  step.Progress(static_cast<double>(mSession.backupPresetIndex) / kPresetCount);
  mSession.backupNext = true;
  return step;
}

TransferStep BankExport::OnIrMessage(DeviceCommand command, std::span<const uint8_t> message) {
  // Only while the requested IR is awaited: anything else would land between two dumps.
  if (!mSession.backupActive || mSession.backupNext || !WaitingForIr()) return {};
  switch (command) {
    case kCmdIrBegin: {
      // A begin restarts the transfer: what came before it is not part of this one. A
      // late answer for another IR is not collected at all.
      mSession.bulkLength = mRequestStart;
      const bool begun = mIr.Begin(message) == IrReceiveStatus::kReceiving;
      mCollecting = begun && mIr.IrNumber() == mRequestedIr;
      mOtherIrUnderWay = begun && !mCollecting;
      if (!mCollecting) return {};
      mIrPartSeen = true;
      mWatchdog.RestartWait();
      return Append(message);
    }
    case kCmdIrData:
      // A chunk without its begin is not kept; the end then fails the try.
      if (!mCollecting || mIr.Data(message) != IrReceiveStatus::kReceiving) return {};
      mWatchdog.RestartWait();
      return Append(message);
    case kCmdIrEnd: {
      const bool collected = std::exchange(mCollecting, false);
      if (std::exchange(mOtherIrUnderWay, false)) return {};
      // An end whose begin never came is a failed try at once.
      mIrPartSeen = true;
      if (!collected || mIr.End(message) != IrReceiveStatus::kComplete ||
          !mIr.AllGroupsReceived() || !mIr.Result().ChecksumMatches()) {
        return TryAgain(mWatchdog.FailedTry());
      }
      TransferStep step = Append(message);
      if (step.end != TransferEnd::kRunning) return step;
      step.Progress(static_cast<double>(mSession.backupIrIndex) / kNumUserIrs);
      mSession.backupNext = true;
      return step;
    }
    default:
      return {};
  }
}

TransferStep BankExport::TryAgain(WatchdogVerdict verdict) {
  // Whatever part of the answer arrived is dropped, so the file never holds a half or
  // damaged transfer.
  mSession.bulkLength = mRequestStart;
  if (verdict == WatchdogVerdict::kGiveUp) {
    return Stop(WaitingForIr() && mIrPartSeen ? ExportIrIncompleteText(mRequestedIr)
                                              : std::string(kTextExportStalled));
  }
  mCollecting = false;
  TransferStep step;
  step.Send(mLastRequest);
  mWatchdog.RestartWait();
  return step;
}

std::span<const uint8_t> BankExport::FileBytes() const {
  const auto length = std::clamp<std::size_t>(
      static_cast<std::size_t>(std::max(mSession.bulkLength, 0)), 0, mBuffer.size());
  return std::span<const uint8_t>(mBuffer).first(length);
}

TransferStep BankExport::Append(std::span<const uint8_t> message) {
  const auto length = static_cast<std::size_t>(std::max(mSession.bulkLength, 0));
  if (length > mBuffer.size() || message.size() > mBuffer.size() - length) {
    return Stop(kTextExportTooLarge);
  }
  std::copy(message.begin(), message.end(), mBuffer.begin() + static_cast<std::ptrdiff_t>(length));
  mSession.bulkLength = static_cast<int>(length + message.size());
  return {};
}

TransferStep BankExport::Stop(const std::string& text) {
  mSession.backupActive = false;
  mSession.backupNext = false;
  mSession.bulkLength = 0;
  TransferStep step;
  step.overlay = ProgressOverlay::kHide;
  step.Fail(text);
  return step;
}

}  // namespace qd3
