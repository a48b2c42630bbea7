// One slot at a time: a record or an IR fetched on request, an IR uploaded, a record stored.
#include <string>

#include "cli/ExitCodes.h"
#include "cli/SessionDriver.h"
#include "presets/BankExport.h"
#include "presets/SlotLabels.h"
#include "presets/StoreRecord.h"
#include "protocol/MessageBuilders.h"
#include "protocol/MessageMatch.h"
#include "protocol/ReplyWatchdog.h"

namespace qd3::cli {
namespace {

// A bound beyond the watchdogs of the fetch, the upload and the dump request (four tries
// of 2 s each, plus the transfer itself), so that no loop runs forever.
constexpr int kSingleMaxTicks = 600;

constexpr char kTextSingleNeverEnded[] = "The pedal stalled: the transfer did not end.";

std::string DumpMissingText(const std::string& shown) {
  return "The pedal did not send preset " + shown + ", asked four times, 2 s each.";
}

std::string DumpDamagedText(const std::string& shown) {
  return "The pedal sent preset " + shown + " damaged (wrong checksum) each time it was asked.";
}

}  // namespace

DriverOutcome SessionDriver::FetchRecord(int slot, PresetRecord& record) {
  // Paced as the bank export asks for a dump: 2 s of silence or a damaged dump is a try.
  ReplyWatchdog watchdog{kExportWaitTicks, kExportRetries};
  const Bytes request = BuildRequestPreset(slot);
  mAwaitedSlot = slot;
  mAwaitedRecord.reset();
  mDamagedDumps = 0;
  int damagedSeen = 0;
  Send(request);
  const std::string shown = SlotNumberText(slot, mPatchOffset);
  DriverOutcome outcome{kExitPedalFailed, DumpMissingText(shown)};
  for (int tick = 0; tick < kSingleMaxTicks; ++tick) {
    Tick();
    if (mAwaitedRecord) {
      record = *mAwaitedRecord;
      outcome = {};
      break;
    }
    WatchdogVerdict verdict = WatchdogVerdict::kWait;
    if (mDamagedDumps > damagedSeen) {
      damagedSeen = mDamagedDumps;
      verdict = watchdog.FailedTry();
      if (verdict == WatchdogVerdict::kGiveUp) outcome.message = DumpDamagedText(shown);
    } else {
      verdict = watchdog.OnTick();
    }
    if (verdict == WatchdogVerdict::kGiveUp) break;
    if (verdict == WatchdogVerdict::kRetry) Send(request);
  }
  mAwaitedSlot = -1;
  return outcome;
}

DriverOutcome SessionDriver::FetchIr(int number, Bytes& image) {
  mSingleEnd.reset();
  mFetchedIr.reset();
  mWantedIr = number;
  ApplySingleStep(mIrFetch.Request(number));
  const bool ended = RunSingle([this] { return mIrFetch.OnTick(); }, kSingleMaxTicks);
  mWantedIr = -1;
  if (!ended) return {kExitPedalFailed, kTextSingleNeverEnded};
  if (mSingleEnd->end != TransferEnd::kFinished || !mFetchedIr) {
    return {kExitPedalFailed, mSingleEnd->message};
  }
  image = std::move(mFetchedIr->bytes);
  return {};
}

DriverOutcome SessionDriver::UploadIr(int number, std::span<const uint8_t> image,
                                      const ProgressFn& progress) {
  mSingleEnd.reset();
  if (mUpload.Start(number, image, true) != PackStatus::kPacked) {
    return {kExitBadFile, "The IR image is too large to send."};
  }
  mProgress = progress;
  const bool ended = RunSingle([this] { return mUpload.OnTick(); }, kSingleMaxTicks);
  mProgress = nullptr;
  if (!ended) return {kExitPedalFailed, kTextSingleNeverEnded};
  if (mSingleEnd->end != TransferEnd::kFinished) return {kExitPedalFailed, mSingleEnd->message};
  return {};
}

void SessionDriver::StoreRecord(int slot, const PresetRecord& record) {
  Send(BuildStorePresetMessage(slot, record));
}

void SessionDriver::HandleAwaitedDump(std::span<const uint8_t> m) {
  if (m[kSelectorOffset] != mAwaitedSlot) return;
  if (!VerifyRecordChecksum(m)) {
    ++mDamagedDumps;
    return;
  }
  mAwaitedRecord = PresetRecord::FromPrefix(*ReadRecordData(m));
  mAwaitedSlot = -1;
}

void SessionDriver::HandleSingleIrMessage(DeviceCommand command, std::span<const uint8_t> m) {
  if (mWantedIr < 0 || mSingleEnd) return;
  if (command == kCmdIrBegin) {
    ApplySingleStep(mIrFetch.OnBegin(m));
  } else if (command == kCmdIrData) {
    ApplySingleStep(mIrFetch.OnData(m));
  } else if (command == kCmdIrEnd) {
    IrFetchEnd end = mIrFetch.OnEnd(m);
    // A whole transfer of another IR finishes nothing here.
    if (end.received && end.received->irNumber != mWantedIr) return;
    mFetchedIr = std::move(end.received);
    ApplySingleStep(end.step);
  }
}

void SessionDriver::HandleUploadReply(DeviceCommand command) {
  if (mSingleEnd) return;
  if (command == kCmdDeviceError) {
    // The pedal refuses an IR it cannot send or store; asking again would be refused again.
    if (mUpload.Active()) {
      mUpload.OnRefused();
      mSingleEnd = TransferStep{}.Fail("The pedal refused the IR upload (ERROR!).");
    } else if (mWantedIr >= 0) {
      mSingleEnd = TransferStep{}.Fail("The pedal refused to send IR " + std::to_string(mWantedIr) +
                                       " (ERROR!).");
    }
    return;
  }
  if (!mUpload.Active()) return;
  if (command == kCmdIrChunkAck) {
    mUpload.OnChunkAck();
  } else if (command == kCmdIrStored) {
    ApplySingleStep(mUpload.OnStored());
  }
}

void SessionDriver::ApplySingleStep(const TransferStep& step) {
  for (const Bytes& m : step.messages) Send(m);
  if (step.progress && mProgress) mProgress(*step.progress);
  if (step.end != TransferEnd::kRunning) mSingleEnd = step;
}

bool SessionDriver::RunSingle(const std::function<TransferStep()>& onTick, int maxTicks) {
  for (int tick = 0; tick < maxTicks && !mSingleEnd; ++tick) {
    ApplySingleStep(onTick());
    if (!mSingleEnd) Tick();
  }
  return mSingleEnd.has_value();
}

}  // namespace qd3::cli
