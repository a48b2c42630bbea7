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
  std::copy(record, record + kRecordSize, mState.factoryPresets.at(slot).begin());
  mWroteThis = true;
  AnswerStatus(kCmdWriteAckAlt);
}

void PedalModel::RestorePreset(std::span<const uint8_t> message) {
  const uint8_t* record = GoodRecord(message);
  if (record == nullptr) {
    Note("refused: bad record");
    return AnswerStatus(kCmdWriteNak);
  }
  if (PresetProtectionOn(mState)) {
    Note("refused: preset protection is on");
    return AnswerStatus(kCmdWriteNak);
  }
  if (TakeRefusal()) {
    Note("refused by fault");
    return AnswerStatus(kCmdWriteNak);
  }
  const std::size_t slot = message[kSelectorOffset] & kDataMask;
  std::copy(record, record + kRecordSize, mState.presets.at(slot).begin());
  if (static_cast<int>(slot) == mState.currentPreset) mState.editBuffer = mState.presets[slot];
  mWroteThis = true;
  AnswerStatus(kCmdWriteAck);
}

void PedalModel::RestoreIr(DeviceCommand command, std::span<const uint8_t> message) {
  if (command == kCmdRestoreIrBegin) {
    mRestoreActive = false;
    const int number = Read14(message, kIrNumberOffset).value_or(-1);
    const Bytes chunk = AsIrTransfer(message, kCmdIrBegin);
    if (!IsWritableIr(number) || mRestore.Begin(chunk) != IrReceiveStatus::kReceiving ||
        mRestore.GroupCount() != kIrImageGroups) {
      Note("refused: not a writable IR image");
      return AnswerStatus(kCmdWriteNak);
    }
    mRestoreActive = true;
    return AnswerStatus(kCmdWriteNext);
  }
  if (command == kCmdRestoreIrData) {
    if (!mRestoreActive) return Ignore("no IR restore under way");
    mRestore.Data(AsIrTransfer(message, kCmdIrData));
    return;
  }
  if (!mRestoreActive) {
    Note("refused: no IR restore under way");
    return AnswerStatus(kCmdWriteNak);
  }
  mRestoreActive = false;
  const bool complete =
      mRestore.End(AsIrTransfer(message, kCmdIrEnd)) == IrReceiveStatus::kComplete;
  const IrReceiveResult result = mRestore.Result();
  if (!complete || !result.ChecksumMatches() || result.bytes.size() != kIrImageSize) {
    Note("refused: bad IR checksum or length");
    return AnswerStatus(kCmdWriteNak);
  }
  if (TakeRefusal()) {
    Note("refused by fault");
    return AnswerStatus(kCmdWriteNak);
  }
  IrImage* target = FindIr(mState, result.irNumber);
  std::copy(result.bytes.begin(), result.bytes.end(), target->begin());
  mWroteThis = true;
  AnswerStatus(kCmdWriteAck);
}

}  // namespace qd3::sim
