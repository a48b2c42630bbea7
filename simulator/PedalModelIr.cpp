// Impulse responses: uploads from the editor, full transfers on request, name groups.

#include <algorithm>
#include <array>
#include <string>

#include "protocol/DeviceReplies.h"
#include "protocol/SevenBit.h"
#include "protocol/TransferBuffer.h"
#include "simulator/PedalModel.h"

namespace qd3::sim {

void PedalModel::UploadIr(DeviceCommand command, std::span<const uint8_t> message) {
  if (command == kCmdIrBegin) {
    mUploadActive = false;
    const int number = Read14(message, kIrNumberOffset).value_or(-1);
    if (!IsWritableIr(number)) {
      Note("refused: IR " + std::to_string(number) + " cannot be written");
      return AnswerStatus(kCmdDeviceError);
    }
    if (mUpload.Begin(message) != IrReceiveStatus::kReceiving ||
        mUpload.GroupCount() != kIrImageGroups) {
      Note("refused: not one IR image");
      return AnswerStatus(kCmdDeviceError);
    }
    mUploadActive = true;
    return AnswerStatus(kCmdIrChunkAck);
  }
  if (!mUploadActive) return Ignore("no IR upload under way");
  if (command == kCmdIrData) {
    mUpload.Data(message);
    return;
  }
  mUploadActive = false;
  const bool complete = mUpload.End(message) == IrReceiveStatus::kComplete;
  const IrReceiveResult result = mUpload.Result();
  if (!complete || !result.ChecksumMatches() || result.bytes.size() != kIrImageSize) {
    Note("refused: bad IR checksum or length");
    return AnswerStatus(kCmdDeviceError);
  }
  if (TakeRefusal()) {
    Note("refused by fault");
    return AnswerStatus(kCmdDeviceError);
  }
  IrImage* target = FindIr(mState, result.irNumber);
  std::copy(result.bytes.begin(), result.bytes.end(), target->begin());
  mWroteThis = true;
  AnswerStatus(kCmdIrStored);
}

void PedalModel::SendIr(int number) {
  const IrImage* image = FindIr(mState, number);
  if (image == nullptr) {
    Note("refused: no IR " + std::to_string(number));
    return AnswerStatus(kCmdDeviceError);
  }
  TransferBuffer transfer;
  transfer.Pack(*image);
  for (TransferChunk chunk = transfer.TakeNextIrChunk(number); chunk.kind != ChunkKind::kNone;
       chunk = transfer.TakeNextIrChunk(number)) {
    Answer(std::move(chunk.message));
  }
}

void PedalModel::SendIrNames(int group) {
  if (group >= kIrNameGroupCount) return Ignore("no such name group");
  std::array<std::string, kIrNamesPerGroup> names;
  for (std::size_t k = 0; k < names.size(); ++k) {
    const int number = group * static_cast<int>(kIrNamesPerGroup) + static_cast<int>(k);
    if (const IrImage* image = FindIr(mState, number)) {
      const auto field = IrName(*image);
      names[k].assign(field.begin(), field.end());
    }
  }
  Answer(BuildIrNames(group, names));
}

}  // namespace qd3::sim
