// The acknowledged writes of a factory-bank update and a bank import.
//
// Factory-bank writes (kCmdWriteFactoryPreset) go to the bank a preset reset copies from
// and are answered with the alternate codes 0x7D (taken) and 0x7E (refused). Bank-import
// writes are answered with 0x71 (taken), 0x72 (refused) and 0x73: a preset
// (kCmdRestorePreset) and the end of an IR (kCmdRestoreIrEnd) are whole items and get
// kCmdWriteAck; the begin of an IR (kCmdRestoreIrBegin) only opens one and gets
// kCmdWriteNext; its data chunks (kCmdRestoreIrData) get nothing. A bank therefore always
// ends on a kCmdWriteAck, whichever kind of item comes last.

#include <algorithm>

#include "protocol/Checksum14.h"
#include "protocol/DeviceReplies.h"
#include "protocol/MessageMatch.h"
#include "protocol/SevenBit.h"
#include "simulator/PedalModel.h"

namespace qd3::sim {
namespace {

// The record of a 267-byte write, when its checksum holds and it is a format 1.0 record.
const uint8_t* GoodRecord(std::span<const uint8_t> message) {
  if (!VerifyRecordChecksum(message)) return nullptr;
  const auto data = *ReadRecordData(message);
  return IsValidRecord(data) ? data.data() : nullptr;
}

// A restore chunk with the command byte of the IR transfer it was recorded from, so that
// the transfer collector takes it.
Bytes AsIrTransfer(std::span<const uint8_t> message, DeviceCommand transferCommand) {
  Bytes copy(message.begin(), message.end());
  copy[kCommandOffset] = transferCommand;
  return copy;
}

}  // namespace

void PedalModel::WriteFactoryPreset(std::span<const uint8_t> message) {
  const uint8_t* record = GoodRecord(message);
  if (record == nullptr) {
    Note("refused: bad record");
    return AnswerStatus(kCmdWriteNakAlt);
  }
  if (TakeRefusal()) {
    Note("refused by fault");
    return AnswerStatus(kCmdWriteNakAlt);
  }
  const std::size_t slot = message[kSelectorOffset] & kDataMask;
  std::copy(record, record + kRecordSize, state_.factoryPresets.at(slot).begin());
  AnswerStatus(kCmdWriteAckAlt);
}

void PedalModel::RestorePreset(std::span<const uint8_t> message) {
  const uint8_t* record = GoodRecord(message);
  if (record == nullptr) {
    Note("refused: bad record");
    return AnswerStatus(kCmdWriteNak);
  }
  if (PresetProtectionOn(state_)) {
    Note("refused: preset protection is on");
    return AnswerStatus(kCmdWriteNak);
  }
  if (TakeRefusal()) {
    Note("refused by fault");
    return AnswerStatus(kCmdWriteNak);
  }
  const std::size_t slot = message[kSelectorOffset] & kDataMask;
  std::copy(record, record + kRecordSize, state_.presets.at(slot).begin());
  if (static_cast<int>(slot) == state_.currentPreset) state_.editBuffer = state_.presets[slot];
  AnswerStatus(kCmdWriteAck);
}

void PedalModel::RestoreIr(DeviceCommand command, std::span<const uint8_t> message) {
  if (command == kCmdRestoreIrBegin) {
    restoreActive_ = false;
    const int number = Read14(message, kIrNumberOffset).value_or(-1);
    const Bytes chunk = AsIrTransfer(message, kCmdIrBegin);
    if (!IsWritableIr(number) || restore_.Begin(chunk) != IrReceiveStatus::kReceiving ||
        restore_.groupCount() != kIrImageGroups) {
      Note("refused: not a writable IR image");
      return AnswerStatus(kCmdWriteNak);
    }
    restoreActive_ = true;
    return AnswerStatus(kCmdWriteNext);
  }
  if (command == kCmdRestoreIrData) {
    if (!restoreActive_) return Ignore("no IR restore under way");
    restore_.Data(AsIrTransfer(message, kCmdIrData));
    return;
  }
  if (!restoreActive_) {
    Note("refused: no IR restore under way");
    return AnswerStatus(kCmdWriteNak);
  }
  restoreActive_ = false;
  const bool complete =
      restore_.End(AsIrTransfer(message, kCmdIrEnd)) == IrReceiveStatus::kComplete;
  const IrReceiveResult result = restore_.Result();
  if (!complete || !result.ChecksumMatches() || result.bytes.size() != kIrImageSize) {
    Note("refused: bad IR checksum or length");
    return AnswerStatus(kCmdWriteNak);
  }
  if (TakeRefusal()) {
    Note("refused by fault");
    return AnswerStatus(kCmdWriteNak);
  }
  IrImage* target = FindIr(state_, result.irNumber);
  std::copy(result.bytes.begin(), result.bytes.end(), target->begin());
  AnswerStatus(kCmdWriteAck);
}

}  // namespace qd3::sim
