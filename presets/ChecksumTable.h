#pragma once

// The cached checksum of every slot's record and the slots the pedal must still send.
// A slot without a cache file has the pair (0, 0). The pending flags mark slots whose
// checksum on the pedal differs from the cached one.

#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "protocol/Checksum14.h"
#include "protocol/DeviceMessages.h"

namespace qd3 {

// Data bytes of a kBlockPresetChecksums block: pair n at bytes 2n (high) and 2n + 1 (low).
inline constexpr std::size_t kChecksumBlockSize = kRecordSize;
inline constexpr std::size_t kChecksumPairWidth = 2;
static_assert(kChecksumBlockSize == kChecksumPairWidth * kPresetCount);

class ChecksumTable {
 public:
  using Pairs = std::array<Checksum14Pair, kPresetCount>;

  // Slots are 0..127; anything else is a programmer error (asserted, ignored in release).
  Checksum14Pair Pair(int slot) const;
  void SetPair(int slot, Checksum14Pair pair);
  // Replaces every pair and leaves the pending flags as they are.
  void SetPairs(const Pairs& pairs) { mPairs = pairs; }
  const Pairs& AllPairs() const { return mPairs; }

  bool IsPending(int slot) const;
  void SetPending(int slot, bool pending);
  // A dump of `slot` arrived and was cached: its pair becomes `pair`, it is no longer pending.
  void StoreReceived(int slot, Checksum14Pair pair);

  // Sets pending[n] for every slot whose pair in the pedal's checksum block differs from
  // the cached pair, clears it for the others, and returns how many are pending.
  int CompareWithDevice(std::span<const uint8_t, kChecksumBlockSize> blockData);

  int PendingCount() const;
  // The lowest pending slot; nullopt when none is pending.
  std::optional<int> LowestPending() const;

 private:
  Pairs mPairs{};
  std::array<bool, kPresetCount> mPending{};
};

// The pedal's checksum block read as one pair per slot.
ChecksumTable::Pairs ChecksumPairsFromBlock(std::span<const uint8_t, kChecksumBlockSize> blockData);

}  // namespace qd3
