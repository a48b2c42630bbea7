#include "presets/BankTransfers.h"

namespace qd3 {

BankTransfers::BankTransfers(DeviceSession& session)
    : mSession(session),
      mExport(session, mBuffer.Bytes()),
      mImport(session, mBuffer.Bytes()),
      mFactory(session) {}

std::optional<RoutedStep> BankTransfers::OnTick() {
  if (mSession.factoryNext) return RoutedStep{BankTransferKind::kFactoryWrite, mFactory.OnTick()};
  if (mSession.restoreActive) return RoutedStep{BankTransferKind::kImport, mImport.OnTick()};
  if (mSession.backupActive) return RoutedStep{BankTransferKind::kExport, mExport.OnTick()};
  return std::nullopt;
}

std::optional<TransferStep> BankTransfers::OnPresetDump(std::span<const uint8_t> message) {
  if (!mSession.backupActive) return std::nullopt;
  return ContinueExport(mExport.OnPresetDump(message));
}

std::optional<TransferStep> BankTransfers::OnIrMessage(DeviceCommand command,
                                                       std::span<const uint8_t> message) {
  if (!mSession.backupActive) return std::nullopt;
  if (command != kCmdIrBegin && command != kCmdIrData && command != kCmdIrEnd)
    return TransferStep{};
  return ContinueExport(mExport.OnIrMessage(command, message));
}

TransferStep BankTransfers::ContinueExport(TransferStep step) {
  // The export finishes on the tick: only requests leave from here.
  if (OnAnswer() && mSession.backupActive && mSession.backupNext) step.Then(mExport.OnTick());
  return step;
}

RoutedStep BankTransfers::OnWriteReply(DeviceCommand command) {
  // A refusal is written again on the tick, as before: the pedal gets time to recover.
  const bool goOn = OnAnswer() && command != kCmdWriteNak;
  if (mSession.restoreActive) {
    TransferStep step = command == kCmdWriteAck    ? mImport.OnWriteAck()
                        : command == kCmdWriteNext ? mImport.OnWriteNext()
                                                   : mImport.OnWriteNak();
    if (goOn && mSession.restoreActive && mSession.restoreNext && mSession.connected &&
        !mImport.NextIsIrChunk()) {
      step.Then(mImport.OnTick());
    }
    return {BankTransferKind::kImport, std::move(step)};
  }
  TransferStep step = command == kCmdWriteAck    ? mFactory.OnWriteAck()
                      : command == kCmdWriteNext ? mFactory.OnWriteNext()
                                                 : mFactory.OnWriteNak();
  if (goOn && mSession.factoryNext) step.Then(mFactory.OnTick());
  return {BankTransferKind::kFactoryWrite, std::move(step)};
}

}  // namespace qd3
