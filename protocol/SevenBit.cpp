#include "protocol/SevenBit.h"

#include <algorithm>
#include <climits>

namespace qd3 {
namespace {

constexpr std::size_t kBitsPerByte = CHAR_BIT;
constexpr int kGroupBits = kBitsPer7BitByte;

uint8_t Low7(uint32_t v) {
  return static_cast<uint8_t>(v & kDataMask);
}

}  // namespace

std::array<uint8_t, 2> Split14(int n) {
  const auto u = static_cast<uint32_t>(n);
  return {Low7(u >> kGroupBits), Low7(u)};
}

std::array<uint8_t, 3> Split21(int n) {
  const auto u = static_cast<uint32_t>(n);
  return {Low7(u >> (2 * kGroupBits)), Low7(u >> kGroupBits), Low7(u)};
}

std::optional<int> Read14(std::span<const uint8_t> bytes, std::size_t offset) {
  if (offset > bytes.size() || bytes.size() - offset < 2) return std::nullopt;
  return (Low7(bytes[offset]) << kGroupBits) | Low7(bytes[offset + 1]);
}

std::optional<int> Read21(std::span<const uint8_t> bytes, std::size_t offset) {
  if (offset > bytes.size() || bytes.size() - offset < 3) return std::nullopt;
  return (((Low7(bytes[offset]) << kGroupBits) | Low7(bytes[offset + 1])) << kGroupBits) |
         Low7(bytes[offset + 2]);
}

std::size_t PackedGroupCount(std::size_t byteCount) {
  return byteCount * kBitsPerByte / kGroupBits + 1;
}

std::size_t UnpackedByteCount(std::size_t groupCount) {
  return groupCount * kGroupBits / kBitsPerByte;
}

std::optional<PackResult> Pack7Bit(std::span<const uint8_t> bytes, std::span<uint8_t> groups) {
  const std::size_t count = PackedGroupCount(bytes.size());
  if (groups.size() < count) return std::nullopt;

  // `pending` holds the `pendingBits` (at most 6 between bytes) not yet cut into a group.
  uint32_t pending = 0;
  int pendingBits = 0;
  uint32_t sum = 0;
  std::size_t out = 0;
  for (const uint8_t b : bytes) {
    pending = (pending << kBitsPerByte) | b;
    pendingBits += static_cast<int>(kBitsPerByte);
    while (pendingBits >= kGroupBits) {
      pendingBits -= kGroupBits;
      const uint8_t g = Low7(pending >> pendingBits);
      groups[out++] = g;
      sum += g;
    }
    pending &= (1u << pendingBits) - 1;
  }
  if (pendingBits > 0) {
    const uint8_t g = Low7(pending << (kGroupBits - pendingBits));
    groups[out++] = g;
    sum += g;
  }
  std::fill(groups.begin() + static_cast<std::ptrdiff_t>(out),
            groups.begin() + static_cast<std::ptrdiff_t>(count), 0);
  return PackResult{count, Checksum14FromSum(sum)};
}

Bytes Pack7Bit(std::span<const uint8_t> bytes) {
  Bytes groups(PackedGroupCount(bytes.size()));
  Pack7Bit(bytes, groups);
  return groups;
}

SevenBitUnpacker::SevenBitUnpacker(std::size_t capacity) : mBuffer(capacity) {}

bool SevenBitUnpacker::Reset(std::size_t byteCount) {
  mFill = 0;
  mBitsLeftInGroup = 0;
  mGroup = 0;
  mAssembling = 0;
  if (byteCount > mBuffer.size()) {
    mBitsToProduce = 0;
    return false;
  }
  mBitsToProduce = byteCount * kBitsPerByte;
  return true;
}

void SevenBitUnpacker::Feed(uint8_t group) {
  mGroup = Low7(group);
  mBitsLeftInGroup = kGroupBits;
  while (mBitsLeftInGroup > 0 && mBitsToProduce > 0) {
    // mBitsToProduce counts down from a multiple of 8, so its remainder is the number of
    // bits the current byte still lacks (0 meaning a fresh byte needing all 8).
    const auto missing = static_cast<int>(mBitsToProduce % kBitsPerByte);
    const int wanted = missing == 0 ? static_cast<int>(kBitsPerByte) : missing;
    const int take = std::min(mBitsLeftInGroup, wanted);
    mAssembling = (mAssembling << take) | (mGroup >> (kGroupBits - take));
    mGroup = Low7(mGroup << take);
    mBitsLeftInGroup -= take;
    mBitsToProduce -= static_cast<std::size_t>(take);
    if (mBitsToProduce % kBitsPerByte == 0) {
      mBuffer[mFill++] = static_cast<uint8_t>(mAssembling);
      mAssembling = 0;
    }
  }
}

Bytes Unpack7Bit(std::span<const uint8_t> groups) {
  const std::size_t byteCount = UnpackedByteCount(groups.size());
  SevenBitUnpacker unpacker(byteCount);
  unpacker.Reset(byteCount);
  for (const uint8_t g : groups) unpacker.Feed(g);
  unpacker.Flush();
  const auto out = unpacker.Output();
  return Bytes(out.begin(), out.end());
}

}  // namespace qd3
