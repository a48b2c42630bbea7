#include "presets/BankImport.h"

#include <algorithm>

#include "presets/BulkBuffer.h"
#include "protocol/MessageBuilders.h"

namespace qd3 {

BankImport::BankImport(DeviceSession& session, std::span<uint8_t> bulkBuffer)
    : mSession(session), mBuffer(bulkBuffer) {}

std::optional<std::string> BankImport::Refusal(std::span<const uint8_t> bank) {
  BankFileCheck check = ValidateBankFile(bank);
  if (check.Valid()) check = CheckBankRecords(bank);
  if (!check.Valid()) return check.reason;
  if (bank.size() > BulkBuffer::Size()) return std::string(kTextBankTooLarge);
  return std::nullopt;
}

TransferStep BankImport::Start(std::span<const uint8_t> bank) {
  TransferStep step;
  if (std::optional<std::string> refusal = Refusal(bank)) return step.Fail(std::move(*refusal));
  if (bank.size() > mBuffer.size()) return step.Fail(kTextBankTooLarge);

  std::copy(bank.begin(), bank.end(), mBuffer.begin());
  const auto held = std::span<const uint8_t>(mBuffer).first(bank.size());
  mMessages = BankMessages(held);
  mChecksums = BankRecordChecksums(held);
  mRewriter = RestoreRewriter{};
  mWatchdog.Rearm();
  mBracketOpen = false;

  mSession.bulkLength = static_cast<int>(bank.size());
  mSession.restoreTotal = static_cast<int>(mMessages.size());
  mSession.restoreIndex = 0;
  mSession.restoreActive = true;
  mSession.restoreNext = true;
  mSession.restoreFinished = false;
  mSession.bulkBeginPending = true;
  return step.Progress(0.0);
}

TransferStep BankImport::OnTick() {
  TransferStep step;
  if (!mSession.restoreActive) return step;
  if (!mSession.connected || !mSession.restoreNext) {
    if (mWatchdog.OnTick() == WatchdogVerdict::kGiveUp) return Stall();
    return step;
  }
  mWatchdog.Rearm();
  if (mSession.bulkBeginPending) {
    mSession.bulkBeginPending = false;
    mBracketOpen = true;
    return step.Send(BuildBulkBegin());
  }
  const int index = mSession.restoreIndex;
  if (index < 0 || index >= static_cast<int>(mMessages.size())) return Stall();
  mSession.restoreNext = false;
  const BankMessageSpan& m = mMessages[static_cast<std::size_t>(index)];
  Bytes message = mRewriter.Rewrite(std::span<const uint8_t>(mBuffer).subspan(m.offset, m.size));
  const bool unacknowledged = message[kCommandOffset] == kCmdRestoreIrData;
  step.Send(std::move(message));
  step.Progress(static_cast<double>(index + 1) / mSession.restoreTotal);
  if (unacknowledged) {
    ++mSession.restoreIndex;
    mSession.restoreNext = true;
  }
  return step;
}

TransferStep BankImport::Advance(bool finishOnLast) {
  TransferStep step;
  if (!mSession.restoreActive) return step;
  mWatchdog.Rearm();
  ++mSession.restoreIndex;
  if (mSession.restoreIndex < mSession.restoreTotal) {
    mSession.restoreNext = true;
    return step;
  }
  // A kCmdWriteNext for the last message leaves the import waiting for its kCmdWriteAck.
  if (!finishOnLast) return step;
  mSession.restoreActive = false;
  mSession.restoreNext = false;
  mSession.restoreFinished = true;
  mBracketOpen = false;
  step.Send(BuildBulkEnd());
  step.end = TransferEnd::kFinished;
  return step;
}

TransferStep BankImport::OnWriteAck() {
  return Advance(true);
}

TransferStep BankImport::OnWriteNext() {
  return Advance(false);
}

TransferStep BankImport::OnWriteNak() {
  TransferStep step;
  if (!mSession.restoreActive) return step;
  mSession.restoreActive = false;
  mSession.restoreNext = false;
  // The pedal must not be left inside the bracket.
  if (mBracketOpen && mSession.connected) step.Send(BuildBulkEnd());
  mBracketOpen = false;
  step.Progress(0.0, ProgressOverlay::kHide);
  return step.Fail(
      ImportRefusedText(PresetsSentBefore(mSession.restoreIndex), PresetCountOf(mChecksums)));
}

bool BankImport::NextIsIrChunk() const {
  const int index = mSession.restoreIndex;
  if (mSession.bulkBeginPending || index < 0 || index >= static_cast<int>(mMessages.size())) {
    return false;
  }
  return mBuffer[mMessages[static_cast<std::size_t>(index)].offset + kCommandOffset] == kCmdIrData;
}

int BankImport::PresetsSentBefore(int index) const {
  const auto end = mMessages.begin() + std::clamp<std::ptrdiff_t>(index, 0, mMessages.size());
  return static_cast<int>(std::count_if(mMessages.begin(), end, [this](const BankMessageSpan& m) {
    return mBuffer[m.offset + kCommandOffset] == kCmdPresetDump;
  }));
}

std::string ImportRefusedText(int presetsWritten, int presetsInFile) {
  return std::string(kTextCommunicationError) + " The pedal refused the bank file after " +
         std::to_string(presetsWritten) + " of its " + std::to_string(presetsInFile) +
         " presets had been written; those stay on the pedal and the rest was not sent.";
}

TransferStep BankImport::Stall() {
  TransferStep step;
  mSession.restoreActive = false;
  mSession.restoreNext = false;
  mSession.bulkBeginPending = false;
  // Nothing goes to a pedal the session has lost.
  if (mBracketOpen && mSession.connected) step.Send(BuildBulkEnd());
  mBracketOpen = false;
  step.Progress(0.0, ProgressOverlay::kHide);
  return step.Fail(kTextImportStalled);
}

}  // namespace qd3
