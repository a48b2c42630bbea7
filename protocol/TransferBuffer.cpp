#include "protocol/TransferBuffer.h"

#include <algorithm>

#include "protocol/MessageBuilders.h"
#include "protocol/SevenBit.h"

namespace qd3 {

TransferBuffer::TransferBuffer() : mGroups(kTransferBufferSize, 0) {}

PackStatus TransferBuffer::Pack(std::span<const uint8_t> image) {
  mStage = Stage::kIdle;
  mPosition = 0;
  mRemaining = 0;
  mTotal = 0;
  mChecksum = {};
  if (PackedGroupCount(image.size()) > mGroups.size()) return PackStatus::kTooLarge;

  std::fill(mGroups.begin(), mGroups.end(), 0);
  const auto packed = Pack7Bit(image, mGroups);
  mTotal = static_cast<int>(packed->groupCount);
  mRemaining = mTotal;
  mChecksum = packed->checksum;
  mStage = Stage::kFirst;
  return PackStatus::kPacked;
}

std::span<const uint8_t> TransferBuffer::Groups() const {
  return std::span<const uint8_t>(mGroups).first(static_cast<std::size_t>(mTotal));
}

TransferBuffer::Step TransferBuffer::Advance(std::size_t chunkGroups) {
  const std::span<const uint8_t> all(mGroups);
  const auto chunk = static_cast<int>(chunkGroups);
  switch (mStage) {
    case Stage::kIdle:
      return {};
    case Stage::kFirst:
      mStage = Stage::kFollowing;
      mPosition = std::min(chunk, mTotal);
      mRemaining = mTotal - mPosition;
      return {ChunkKind::kFirst, all.first(chunkGroups)};
    case Stage::kFollowing:
      break;
  }
  const auto start = static_cast<std::size_t>(mPosition);
  if (mRemaining > chunk) {
    mPosition += chunk;
    mRemaining -= chunk;
    return {ChunkKind::kMiddle, all.subspan(start, chunkGroups)};
  }
  const auto count = static_cast<std::size_t>(mRemaining);
  mPosition = mTotal;
  mRemaining = 0;
  mStage = Stage::kIdle;
  return {ChunkKind::kLast, all.subspan(start, count)};
}

TransferChunk TransferBuffer::TakeNextIrChunk(int irNumber) {
  const Step step = Advance(kIrChunkGroups);
  switch (step.kind) {
    case ChunkKind::kNone:
      return {};
    case ChunkKind::kFirst:
      return {step.kind, BuildIrBegin(irNumber, mTotal, step.groups)};
    case ChunkKind::kMiddle:
      return {step.kind, BuildIrData(step.groups)};
    case ChunkKind::kLast:
      return {step.kind, BuildIrEnd(step.groups, mChecksum)};
  }
  return {};
}

TransferChunk TransferBuffer::TakeNextLoaderChunk() {
  const Step step = Advance(kLoaderChunkGroups);
  switch (step.kind) {
    case ChunkKind::kNone:
      return {};
    case ChunkKind::kFirst:
      return {step.kind, BuildLoaderBegin(mTotal, step.groups)};
    case ChunkKind::kMiddle:
      return {step.kind, BuildLoaderData(step.groups)};
    case ChunkKind::kLast:
      return {step.kind, BuildLoaderLast(step.groups, mChecksum)};
  }
  return {};
}

}  // namespace qd3
