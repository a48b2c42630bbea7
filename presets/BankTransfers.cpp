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
  return mExport.OnPresetDump(message);
}

std::optional<TransferStep> BankTransfers::OnIrMessage(DeviceCommand command,
                                                       std::span<const uint8_t> message) {
  if (!mSession.backupActive) return std::nullopt;
  if (command != kCmdIrBegin && command != kCmdIrData && command != kCmdIrEnd)
    return TransferStep{};
  return mExport.OnIrMessage(command, message);
}

RoutedStep BankTransfers::OnWriteReply(DeviceCommand command) {
  if (mSession.restoreActive) {
    return {BankTransferKind::kImport, command == kCmdWriteAck    ? mImport.OnWriteAck()
                                       : command == kCmdWriteNext ? mImport.OnWriteNext()
                                                                  : mImport.OnWriteNak()};
  }
  return {BankTransferKind::kFactoryWrite, command == kCmdWriteAck    ? mFactory.OnWriteAck()
                                           : command == kCmdWriteNext ? mFactory.OnWriteNext()
                                                                      : mFactory.OnWriteNak()};
}

}  // namespace qd3
