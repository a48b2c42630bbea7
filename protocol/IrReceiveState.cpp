#include "protocol/IrReceiveState.h"

#include "protocol/Checksum14.h"
#include "protocol/MessageMatch.h"

namespace qd3 {
namespace {

bool Is(std::span<const uint8_t> message, DeviceCommand command) {
  return MatchFromDevice(message) == command;
}

}  // namespace

void IrReceiveState::TakeGroups(std::span<const uint8_t> groups) {
  for (const uint8_t g : groups) {
    unpacker_.Feed(g);
    runningSum_ += g;
  }
}

IrReceiveStatus IrReceiveState::Begin(std::span<const uint8_t> message) {
  if (!Is(message, kCmdIrBegin)) return IrReceiveStatus::kMalformed;

  receiving_ = false;
  runningSum_ = 0;
  receivedChecksum_ = 0;
  irNumber_ = Read14(message, kIrNumberOffset).value_or(0);
  groupCount_ = Read21(message, kIrGroupCountOffset).value_or(0);
  expectedBytes_ = static_cast<int>(UnpackedByteCount(static_cast<std::size_t>(groupCount_)));
  if (!unpacker_.Reset(static_cast<std::size_t>(expectedBytes_))) {
    return IrReceiveStatus::kTooLarge;
  }
  receiving_ = true;
  TakeGroups(message.subspan(kIrBeginGroupsOffset, kIrChunkGroups));
  return IrReceiveStatus::kReceiving;
}

IrReceiveStatus IrReceiveState::Data(std::span<const uint8_t> message) {
  if (!Is(message, kCmdIrData)) return IrReceiveStatus::kMalformed;
  if (!receiving_) return IrReceiveStatus::kNotStarted;
  TakeGroups(message.subspan(kIrDataGroupsOffset, kIrChunkGroups));
  return IrReceiveStatus::kReceiving;
}

IrReceiveStatus IrReceiveState::End(std::span<const uint8_t> message) {
  if (!Is(message, kCmdIrEnd)) return IrReceiveStatus::kMalformed;
  if (!receiving_) return IrReceiveStatus::kNotStarted;
  // k groups at 7 .. L-4, checksum hi and lo at L-3 and L-2, F7 at L-1.
  const std::size_t k = message.size() - kIrEndOverhead;
  TakeGroups(message.subspan(kIrEndGroupsOffset, k));
  unpacker_.Flush();
  receivedChecksum_ = Read14(message, kIrEndGroupsOffset + k).value_or(0);
  receiving_ = false;
  return IrReceiveStatus::kComplete;
}

IrReceiveResult IrReceiveState::Result() const {
  return {irNumber_, unpacker_.Output(), Checksum14FromSum(runningSum_).Value(), receivedChecksum_};
}

}  // namespace qd3
