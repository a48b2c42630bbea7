#include "protocol/IrReceiveState.h"

#include <algorithm>

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
    mUnpacker.Feed(g);
    mRunningSum += g;
  }
  mGroupsReceived += static_cast<int>(groups.size());
}

bool IrReceiveState::AllGroupsReceived() const {
  return mGroupsReceived == std::max(mGroupCount, static_cast<int>(kIrChunkGroups));
}

IrReceiveStatus IrReceiveState::Begin(std::span<const uint8_t> message) {
  if (!Is(message, kCmdIrBegin)) return IrReceiveStatus::kMalformed;

  mReceiving = false;
  mRunningSum = 0;
  mGroupsReceived = 0;
  mReceivedChecksum = 0;
  mIrNumber = Read14(message, kIrNumberOffset).value_or(0);
  mGroupCount = Read21(message, kIrGroupCountOffset).value_or(0);
  mExpectedBytes = static_cast<int>(UnpackedByteCount(static_cast<std::size_t>(mGroupCount)));
  if (!mUnpacker.Reset(static_cast<std::size_t>(mExpectedBytes))) {
    return IrReceiveStatus::kTooLarge;
  }
  mReceiving = true;
  TakeGroups(message.subspan(kIrBeginGroupsOffset, kIrChunkGroups));
  return IrReceiveStatus::kReceiving;
}

IrReceiveStatus IrReceiveState::Data(std::span<const uint8_t> message) {
  if (!Is(message, kCmdIrData)) return IrReceiveStatus::kMalformed;
  if (!mReceiving) return IrReceiveStatus::kNotStarted;
  TakeGroups(message.subspan(kIrDataGroupsOffset, kIrChunkGroups));
  return IrReceiveStatus::kReceiving;
}

IrReceiveStatus IrReceiveState::End(std::span<const uint8_t> message) {
  if (!Is(message, kCmdIrEnd)) return IrReceiveStatus::kMalformed;
  if (!mReceiving) return IrReceiveStatus::kNotStarted;
  // k groups at 7 .. L-4, checksum hi and lo at L-3 and L-2, F7 at L-1.
  const std::size_t k = message.size() - kIrEndOverhead;
  TakeGroups(message.subspan(kIrEndGroupsOffset, k));
  mUnpacker.Flush();
  mReceivedChecksum = Read14(message, kIrEndGroupsOffset + k).value_or(0);
  mReceiving = false;
  return IrReceiveStatus::kComplete;
}

IrReceiveResult IrReceiveState::Result() const {
  return {mIrNumber, mUnpacker.Output(), Checksum14FromSum(mRunningSum).Value(), mReceivedChecksum};
}

}  // namespace qd3
