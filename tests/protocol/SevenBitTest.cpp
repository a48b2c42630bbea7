#include "protocol/SevenBit.h"

#include <gtest/gtest.h>

#include <array>
#include <utility>
#include <vector>

#include "tests/support/TestBytes.h"

namespace qd3 {
namespace {

using test::Hex;
using test::Noise;
using test::Repeat;

TEST(Clamp7, HoldsAValueToOneDataByte) {
  const std::vector<std::pair<int, int>> cases = {
      {0, 0}, {1, 1}, {127, 127}, {128, 127}, {200, 127}, {255, 127}, {-1, 0}, {-128, 0},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(Clamp7(in), out) << in;
}

TEST(Split, MostSignificantSevenBitsFirst) {
  EXPECT_EQ(Split14(200), (std::array<uint8_t, 2>{0x01, 0x48}));
  EXPECT_EQ(Split14(16383), (std::array<uint8_t, 2>{0x7F, 0x7F}));
  EXPECT_EQ(Split21(2785), (std::array<uint8_t, 3>{0x00, 0x15, 0x61}));
  EXPECT_EQ(Split21(65143), (std::array<uint8_t, 3>{0x03, 0x7C, 0x77}));
}

TEST(Read, JoinsSevenBitBytesAtOffset) {
  const Bytes bytes = Hex("F7 01 48 03 7C 77");
  EXPECT_EQ(Read14(bytes, 1), 200);
  EXPECT_EQ(Read21(bytes, 3), 65143);
}

TEST(Read, GarbledHighBitIsIgnored) {
  EXPECT_EQ(Read14(Hex("81 C8"), 0), 200);
}

TEST(Read, MissingBytesGiveNothing) {
  const Bytes bytes = Hex("01 48 03");
  EXPECT_FALSE(Read14(bytes, 2).has_value());
  EXPECT_FALSE(Read14(bytes, 7).has_value());
  EXPECT_FALSE(Read21(bytes, 1).has_value());
  EXPECT_TRUE(Read21(bytes, 0).has_value());
}

TEST(PackedGroupCount, OneMoreThanWholeGroups) {
  const std::array<std::pair<std::size_t, std::size_t>, 7> table = {{
      {0, 1},
      {1, 2},
      {7, 9},
      {8, 10},
      {2436, 2785},
      {57000, 65143},
      {57343, 65535},
  }};
  for (const auto& [bytes, groups] : table) {
    EXPECT_EQ(PackedGroupCount(bytes), groups) << bytes << " bytes";
    EXPECT_EQ(UnpackedByteCount(groups), bytes) << groups << " groups";
  }
}

TEST(Pack7Bit, HandPackedVectors) {
  // 11111111 -> 1111111 | 1(000000)
  EXPECT_EQ(Pack7Bit(Hex("FF")), Hex("7F 40"));
  // 10000000 00000001 -> 1000000 | 0000000 | 01(00000)
  EXPECT_EQ(Pack7Bit(Hex("80 01")), Hex("40 00 20"));
  // 56 bits fill 8 groups exactly; the ninth is the extra zero group.
  EXPECT_EQ(Pack7Bit(Repeat(7, 0xFF)), (test::Join({Repeat(8, 0x7F), Hex("00")})));
}

TEST(Pack7Bit, ChecksumCoversAllGroups) {
  std::array<uint8_t, 9> groups{};
  const auto packed = Pack7Bit(Repeat(7, 0xFF), groups);
  ASSERT_TRUE(packed.has_value());
  EXPECT_EQ(packed->groupCount, 9u);
  // 8 x 127 = 1016 = 7 * 128 + 120.
  EXPECT_EQ(packed->checksum, (Checksum14Pair{0x07, 0x78}));
}

TEST(Pack7Bit, RefusesTooSmallOutputWithoutWriting) {
  std::array<uint8_t, 9> groups;
  groups.fill(0x55);
  EXPECT_FALSE(Pack7Bit(Repeat(8, 0xFF), groups).has_value());
  EXPECT_EQ(groups, (std::array<uint8_t, 9>{0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55}));
}

TEST(Pack7Bit, PaddingAfterLastBitsIsZero) {
  // 8 bytes = 64 bits: 9 whole groups and one bit, then zero padding in group 10.
  const Bytes groups = Pack7Bit(Repeat(8, 0xFF));
  ASSERT_EQ(groups.size(), 10u);
  EXPECT_EQ(groups[9], 0x40);
}

TEST(Unpack7Bit, HandVector) {
  EXPECT_EQ(Unpack7Bit(Hex("40 00 20")), Hex("80 01"));
}

TEST(Unpack7Bit, RoundTripsTheEdgeSizes) {
  for (const std::size_t size : {7u, 8u, 2436u}) {
    const Bytes image = Noise(size, static_cast<uint32_t>(size));
    const Bytes groups = Pack7Bit(image);
    EXPECT_EQ(groups.size(), PackedGroupCount(size));
    EXPECT_EQ(Unpack7Bit(groups), image) << size << " bytes";
  }
}

TEST(Unpack7Bit, RoundTripsEveryPhaseOfTheBitStream) {
  for (std::size_t size = 0; size < 64; ++size) {
    const Bytes image = Noise(size, 7);
    EXPECT_EQ(Unpack7Bit(Pack7Bit(image)), image) << size << " bytes";
  }
}

TEST(SevenBitUnpacker, FlushCompletesAByteTheSenderCutShort) {
  SevenBitUnpacker unpacker(1);
  ASSERT_TRUE(unpacker.Reset(1));
  unpacker.Feed(0x7F);
  EXPECT_TRUE(unpacker.Output().empty());
  unpacker.Flush();
  ASSERT_EQ(unpacker.Output().size(), 1u);
  EXPECT_EQ(unpacker.Output()[0], 0xFE);
  EXPECT_TRUE(unpacker.Complete());
}

TEST(SevenBitUnpacker, SurplusGroupsNeverGrowTheOutput) {
  SevenBitUnpacker unpacker(4);
  ASSERT_TRUE(unpacker.Reset(2));
  for (int i = 0; i < 100; ++i) unpacker.Feed(0x7F);
  EXPECT_EQ(unpacker.Output().size(), 2u);
}

TEST(SevenBitUnpacker, RefusesMoreThanItsCapacity) {
  SevenBitUnpacker unpacker(4);
  EXPECT_FALSE(unpacker.Reset(5));
  for (int i = 0; i < 10; ++i) unpacker.Feed(0x7F);
  EXPECT_TRUE(unpacker.Output().empty());
  EXPECT_TRUE(unpacker.Reset(4));
}

TEST(SevenBitUnpacker, ResetDropsEarlierOutput) {
  SevenBitUnpacker unpacker(4);
  unpacker.Reset(1);
  unpacker.Feed(0x7F);
  unpacker.Feed(0x00);
  unpacker.Reset(1);
  unpacker.Feed(0x00);
  unpacker.Feed(0x40);
  EXPECT_EQ(Bytes(unpacker.Output().begin(), unpacker.Output().end()), Hex("01"));
}

}  // namespace
}  // namespace qd3
