#include "protocol/TransferBuffer.h"

#include <algorithm>

#include "protocol/MessageBuilders.h"
#include "protocol/SevenBit.h"

namespace qd3 {

TransferBuffer::TransferBuffer() : groups_(kTransferBufferSize, 0) {}

PackStatus TransferBuffer::Pack(std::span<const uint8_t> image) {
  stage_ = Stage::kIdle;
  position_ = 0;
  remaining_ = 0;
  total_ = 0;
  checksum_ = {};
  if (PackedGroupCount(image.size()) > groups_.size()) return PackStatus::kTooLarge;

  std::fill(groups_.begin(), groups_.end(), 0);
  const auto packed = Pack7Bit(image, groups_);
  total_ = static_cast<int>(packed->groupCount);
  remaining_ = total_;
  checksum_ = packed->checksum;
  stage_ = Stage::kFirst;
  return PackStatus::kPacked;
}

std::span<const uint8_t> TransferBuffer::Groups() const {
  return std::span<const uint8_t>(groups_).first(static_cast<std::size_t>(total_));
}

TransferBuffer::Step TransferBuffer::Advance(std::size_t chunkGroups) {
  const std::span<const uint8_t> all(groups_);
  const auto chunk = static_cast<int>(chunkGroups);
  switch (stage_) {
    case Stage::kIdle:
      return {};
    case Stage::kFirst:
      stage_ = Stage::kFollowing;
      position_ = std::min(chunk, total_);
      remaining_ = total_ - position_;
      return {ChunkKind::kFirst, all.first(chunkGroups)};
    case Stage::kFollowing:
      break;
  }
  const auto start = static_cast<std::size_t>(position_);
  if (remaining_ > chunk) {
    position_ += chunk;
    remaining_ -= chunk;
    return {ChunkKind::kMiddle, all.subspan(start, chunkGroups)};
  }
  const auto count = static_cast<std::size_t>(remaining_);
  position_ = total_;
  remaining_ = 0;
  stage_ = Stage::kIdle;
  return {ChunkKind::kLast, all.subspan(start, count)};
}

TransferChunk TransferBuffer::TakeNextIrChunk(int irNumber) {
  const Step step = Advance(kIrChunkGroups);
  switch (step.kind) {
    case ChunkKind::kNone:
      return {};
    case ChunkKind::kFirst:
      return {step.kind, BuildIrBegin(irNumber, total_, step.groups)};
    case ChunkKind::kMiddle:
      return {step.kind, BuildIrData(step.groups)};
    case ChunkKind::kLast:
      return {step.kind, BuildIrEnd(step.groups, checksum_)};
  }
  return {};
}

TransferChunk TransferBuffer::TakeNextLoaderChunk() {
  const Step step = Advance(kLoaderChunkGroups);
  switch (step.kind) {
    case ChunkKind::kNone:
      return {};
    case ChunkKind::kFirst:
      return {step.kind, BuildLoaderBegin(total_, step.groups)};
    case ChunkKind::kMiddle:
      return {step.kind, BuildLoaderData(step.groups)};
    case ChunkKind::kLast:
      return {step.kind, BuildLoaderLast(step.groups, checksum_)};
  }
  return {};
}

}  // namespace qd3
