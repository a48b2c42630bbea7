#include "presets/PresetSync.h"

#include <algorithm>
#include <string>

#include "presets/SlotLabels.h"
#include "protocol/Checksum14.h"
#include "protocol/MessageBuilders.h"

namespace qd3 {

PresetSync::PresetSync(DeviceSession& session, ChecksumTable& checksums)
    : mSession(session), mChecksums(checksums) {}

TransferStep PresetSync::OnChecksumBlock(std::span<const uint8_t, kChecksumBlockSize> data) {
  TransferStep step;
  mWatchdog.Rearm();
  if (mChecksums.CompareWithDevice(data) == 0) {
    // A run cut short by a reconnect has nothing left to read; left active, it would
    // take the next current-preset dump for one of its own.
    mSession.readAllActive = false;
    return step.Send(BuildRequestBlock(kBlockGlobalSettings));
  }
  mSession.readAllActive = true;
  mSession.readIndex = -1;
  mCancelledSlot = -1;
  mSession.bulkBeginPending = true;
  return step;
}

TransferStep PresetSync::OnTick() {
  TransferStep step;
  if (!mSession.readAllActive) return step;
  if (mSession.readIndex == -1) {
    // The run opens with the bracket alone; its first request follows on the next tick.
    if (mSession.bulkBeginPending) {
      mSession.bulkBeginPending = false;
      return step.Send(BuildBulkBegin());
    }
    return Start();
  }
  switch (mWatchdog.OnTick()) {
    case WatchdogVerdict::kWait:
      return step;
    case WatchdogVerdict::kRetry:
      return step.Send(BuildRequestPreset(mSession.readIndex));
    case WatchdogVerdict::kGiveUp:
      break;
  }
  // The slots still pending are fetched at the next connection. A pedal that answers no
  // dump would not answer the global-settings request either, and a second message would
  // say the same again: the run ends without it, and the editor looks for the pedal anew.
  TransferStep end = Finish();
  end.messages.clear();
  end.end = TransferEnd::kFailed;
  end.message = kTextSyncGaveUp;
  return end;
}

TransferStep PresetSync::Start() {
  mSkipped.clear();
  mBadDumps = 0;
  const auto first = mChecksums.LowestPending();
  if (!first) return Finish();
  mSession.readTotal = mChecksums.PendingCount();
  mSession.readDone = 0;
  mSession.readIndex = *first;
  mWatchdog.Rearm();
  TransferStep step;
  step.Send(BuildRequestPreset(*first));
  return step.Progress(0.0);
}

PresetSync::DumpResult PresetSync::OnDump(std::span<const uint8_t> message, int patchOffset) {
  DumpResult result;
  if (!VerifyRecordChecksum(message)) {
    mWatchdog.RestartWait();
    if (++mBadDumps < kSyncMaxBadDumps) {
      result.step.Send(BuildRequestPreset(mSession.readIndex));
      return result;
    }
    // This slot keeps coming damaged: leave it pending for the next connection.
    mSkipped.push_back(mSession.readIndex);
    result.step = Next(patchOffset);
    return result;
  }
  mBadDumps = 0;
  const int slot = message[kSelectorOffset];
  if (slot >= kPresetCount) return result;
  mSession.readIndex = slot;
  mChecksums.StoreReceived(slot, {message[kChecksumHiOffset], message[kChecksumLoOffset]});
  result.storedSlot = slot;
  result.step = Next(patchOffset);
  return result;
}

TransferStep PresetSync::Next(int patchOffset) {
  const auto next = LowestPendingNotSkipped();
  if (!next) {
    TransferStep end = Finish();
    end.end = TransferEnd::kFinished;
    if (!mSkipped.empty()) {
      std::string text = "The QD3 sent ";
      for (size_t i = 0; i < mSkipped.size(); ++i) {
        text += (i == 0 ? "preset " : ", ") + SlotNumberText(mSkipped[i], patchOffset);
      }
      end.Fail(text + " damaged five times; it will be read again at the next connection.");
    }
    return end;
  }
  mSession.readIndex = *next;
  mSession.readDone += 1;
  mBadDumps = 0;
  mWatchdog.Rearm();
  TransferStep step;
  step.Progress(static_cast<double>(mSession.readDone) / mSession.readTotal);
  return step.Send(BuildRequestPreset(*next));
}

std::optional<int> PresetSync::LowestPendingNotSkipped() const {
  for (int slot = 0; slot < kPresetCount; ++slot) {
    if (mChecksums.IsPending(slot) &&
        std::find(mSkipped.begin(), mSkipped.end(), slot) == mSkipped.end()) {
      return slot;
    }
  }
  return std::nullopt;
}

TransferStep PresetSync::Cancel() {
  if (!mSession.readAllActive) return {};
  mCancelledSlot = mSession.readIndex;
  mCancelledTicks = kSyncWaitTicks;
  TransferStep end = Finish();
  end.end = TransferEnd::kFailed;
  end.message = kTextSyncCancelled;
  return end;
}

void PresetSync::AgeLateDump() {
  if (mCancelledSlot >= 0 && --mCancelledTicks <= 0) mCancelledSlot = -1;
}

bool PresetSync::DropLateDump(std::span<const uint8_t> message) {
  if (mCancelledSlot < 0 || message.size() <= kSelectorOffset ||
      message[kSelectorOffset] != mCancelledSlot) {
    return false;
  }
  mCancelledSlot = -1;
  return true;
}

TransferStep PresetSync::Finish() {
  mSession.readAllActive = false;
  mSession.applyingDeviceValues = false;
  TransferStep step;
  step.Progress(1.0, ProgressOverlay::kHide);
  return step.Send(BuildRequestBlock(kBlockGlobalSettings));
}

}  // namespace qd3
