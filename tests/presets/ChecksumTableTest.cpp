#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "presets/ChecksumTable.h"

namespace qd3 {
namespace {

using Block = std::array<uint8_t, kChecksumBlockSize>;

Checksum14Pair PairOf(int slot) {
  return {static_cast<uint8_t>(slot / 3), static_cast<uint8_t>(127 - slot)};
}

// A table whose pair n is PairOf(n), and the pedal block that matches it exactly.
ChecksumTable FilledTable() {
  ChecksumTable table;
  for (int n = 0; n < kPresetCount; ++n) table.SetPair(n, PairOf(n));
  return table;
}

Block MatchingBlock() {
  Block block{};
  for (int n = 0; n < kPresetCount; ++n) {
    block[static_cast<std::size_t>(2 * n)] = PairOf(n).hi;
    block[static_cast<std::size_t>(2 * n + 1)] = PairOf(n).lo;
  }
  return block;
}

TEST(ChecksumTable, StartsEmpty) {
  const ChecksumTable table;
  for (int n = 0; n < kPresetCount; ++n) {
    EXPECT_EQ(table.Pair(n), (Checksum14Pair{0, 0}));
    EXPECT_FALSE(table.IsPending(n));
  }
  EXPECT_EQ(table.PendingCount(), 0);
  EXPECT_EQ(table.LowestPending(), std::nullopt);
}

TEST(ChecksumTable, IdenticalBlockMarksNothingAndClearsOldFlags) {
  ChecksumTable table = FilledTable();
  table.SetPending(10, true);
  EXPECT_EQ(table.CompareWithDevice(MatchingBlock()), 0);
  EXPECT_EQ(table.LowestPending(), std::nullopt);
}

TEST(ChecksumTable, DifferingHighOrLowByteMarksTheSlot) {
  ChecksumTable table = FilledTable();
  Block block = MatchingBlock();
  block[2 * 77] ^= 1;       // high byte of slot 77
  block[2 * 3 + 1] ^= 1;    // low byte of slot 3
  block[2 * 127 + 1] ^= 1;  // low byte of the last slot
  EXPECT_EQ(table.CompareWithDevice(block), 3);
  for (int n = 0; n < kPresetCount; ++n) {
    EXPECT_EQ(table.IsPending(n), n == 3 || n == 77 || n == 127) << n;
  }
  EXPECT_EQ(table.LowestPending(), 3);
}

TEST(ChecksumTable, EmptyCacheAgainstNonZeroPedalMarksEverySlot) {
  ChecksumTable table;
  Block block{};
  block.fill(1);
  EXPECT_EQ(table.CompareWithDevice(block), kPresetCount);
  EXPECT_EQ(table.LowestPending(), 0);
}

TEST(ChecksumTable, PairsAreReadHighByteFirst) {
  ChecksumTable table;
  table.SetPair(0, {1, 2});
  Block block{};
  block[0] = 2;  // the pair swapped
  block[1] = 1;
  table.CompareWithDevice(block);
  EXPECT_TRUE(table.IsPending(0));
  block[0] = 1;
  block[1] = 2;
  table.CompareWithDevice(block);
  EXPECT_FALSE(table.IsPending(0));
}

TEST(ChecksumTable, StoringReceivedDumpsWalksThePendingSlotsInOrder) {
  ChecksumTable table;
  table.SetPending(90, true);
  table.SetPending(12, true);
  EXPECT_EQ(table.PendingCount(), 2);
  EXPECT_EQ(table.LowestPending(), 12);
  table.StoreReceived(12, {5, 6});
  EXPECT_EQ(table.Pair(12), (Checksum14Pair{5, 6}));
  EXPECT_EQ(table.LowestPending(), 90);
  table.StoreReceived(90, {7, 8});
  EXPECT_EQ(table.LowestPending(), std::nullopt);
  EXPECT_EQ(table.PendingCount(), 0);
}

TEST(ChecksumTable, SetPairsLeavesPendingFlagsAlone) {
  ChecksumTable table;
  table.SetPending(4, true);
  ChecksumTable::Pairs pairs{};
  pairs[4] = {1, 1};
  table.SetPairs(pairs);
  EXPECT_TRUE(table.IsPending(4));
  EXPECT_EQ(table.Pair(4), (Checksum14Pair{1, 1}));
}

}  // namespace
}  // namespace qd3
