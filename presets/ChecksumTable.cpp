#include "presets/ChecksumTable.h"

#include <algorithm>
#include <cassert>

namespace qd3 {
namespace {

bool IsSlot(int slot) {
  return slot >= 0 && slot < kPresetCount;
}

std::size_t Index(int slot) {
  return static_cast<std::size_t>(slot);
}

}  // namespace

Checksum14Pair ChecksumTable::Pair(int slot) const {
  assert(IsSlot(slot));
  return IsSlot(slot) ? mPairs[Index(slot)] : Checksum14Pair{};
}

void ChecksumTable::SetPair(int slot, Checksum14Pair pair) {
  assert(IsSlot(slot));
  if (IsSlot(slot)) mPairs[Index(slot)] = pair;
}

bool ChecksumTable::IsPending(int slot) const {
  assert(IsSlot(slot));
  return IsSlot(slot) && mPending[Index(slot)];
}

void ChecksumTable::SetPending(int slot, bool pending) {
  assert(IsSlot(slot));
  if (IsSlot(slot)) mPending[Index(slot)] = pending;
}

void ChecksumTable::StoreReceived(int slot, Checksum14Pair pair) {
  SetPair(slot, pair);
  SetPending(slot, false);
}

ChecksumTable::Pairs ChecksumPairsFromBlock(
    std::span<const uint8_t, kChecksumBlockSize> blockData) {
  ChecksumTable::Pairs pairs{};
  for (std::size_t n = 0; n < pairs.size(); ++n) {
    pairs[n] = {blockData[kChecksumPairWidth * n], blockData[kChecksumPairWidth * n + 1]};
  }
  return pairs;
}

int ChecksumTable::CompareWithDevice(std::span<const uint8_t, kChecksumBlockSize> blockData) {
  const Pairs device = ChecksumPairsFromBlock(blockData);
  for (std::size_t n = 0; n < mPairs.size(); ++n) mPending[n] = device[n] != mPairs[n];
  return PendingCount();
}

int ChecksumTable::PendingCount() const {
  return static_cast<int>(std::count(mPending.begin(), mPending.end(), true));
}

std::optional<int> ChecksumTable::LowestPending() const {
  const auto it = std::find(mPending.begin(), mPending.end(), true);
  if (it == mPending.end()) return std::nullopt;
  return static_cast<int>(it - mPending.begin());
}

}  // namespace qd3
