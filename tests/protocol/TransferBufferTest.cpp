#include "protocol/TransferBuffer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "protocol/SevenBit.h"
#include "tests/support/TestBytes.h"

namespace qd3 {
namespace {

using test::Hex;
using test::Noise;
using test::Repeat;

std::vector<TransferChunk> TakeAllIr(TransferBuffer& buffer, int irNumber) {
  std::vector<TransferChunk> chunks;
  for (auto chunk = buffer.TakeNextIrChunk(irNumber); chunk.kind != ChunkKind::kNone;
       chunk = buffer.TakeNextIrChunk(irNumber)) {
    chunks.push_back(std::move(chunk));
  }
  return chunks;
}

std::vector<TransferChunk> TakeAllLoader(TransferBuffer& buffer) {
  std::vector<TransferChunk> chunks;
  for (auto chunk = buffer.TakeNextLoaderChunk(); chunk.kind != ChunkKind::kNone;
       chunk = buffer.TakeNextLoaderChunk()) {
    chunks.push_back(std::move(chunk));
  }
  return chunks;
}

std::vector<std::size_t> Sizes(const std::vector<TransferChunk>& chunks) {
  std::vector<std::size_t> sizes;
  for (const auto& c : chunks) sizes.push_back(c.message.size());
  return sizes;
}

TEST(TransferBuffer, IrImageGoesOutAsFirstNineMiddleAndLastOf225) {
  TransferBuffer buffer;
  const Bytes image = Noise(2436);
  ASSERT_EQ(buffer.Pack(image), PackStatus::kPacked);
  EXPECT_EQ(buffer.Total(), 2785);
  EXPECT_EQ(buffer.Remaining(), 2785);

  ASSERT_EQ(buffer.TakeNextIrChunk(200).kind, ChunkKind::kFirst);
  EXPECT_EQ(buffer.Position(), 256);
  EXPECT_EQ(buffer.Remaining(), 2529);

  const auto rest = TakeAllIr(buffer, 200);
  ASSERT_EQ(rest.size(), 10u);
  for (std::size_t i = 0; i < 9; ++i) EXPECT_EQ(rest[i].kind, ChunkKind::kMiddle);
  EXPECT_EQ(rest[9].kind, ChunkKind::kLast);
  EXPECT_EQ(rest[9].message.size(), 225u + 10u);
  EXPECT_EQ(buffer.Position(), 2785);
  EXPECT_EQ(buffer.Remaining(), 0);
  EXPECT_FALSE(buffer.HasNextChunk());
}

TEST(TransferBuffer, ChunksCarryThePackedGroupsAndChecksum) {
  TransferBuffer buffer;
  const Bytes image = Noise(2436, 3);
  buffer.Pack(image);
  const auto chunks = TakeAllIr(buffer, 200);
  ASSERT_EQ(chunks.size(), 11u);

  // IR number 01 48 and G 00 15 61 ahead of the first groups.
  EXPECT_EQ(Bytes(chunks[0].message.begin(), chunks[0].message.begin() + 12),
            Hex("F0 00 3F 6B 03 60 0B 01 48 00 15 61"));
  Bytes sent(chunks[0].message.begin() + 12, chunks[0].message.end() - 1);
  for (std::size_t i = 1; i < 10; ++i) {
    sent.insert(sent.end(), chunks[i].message.begin() + 7, chunks[i].message.end() - 1);
  }
  const Bytes& last = chunks[10].message;
  sent.insert(sent.end(), last.begin() + 7, last.end() - 3);
  EXPECT_EQ(sent, Pack7Bit(image));

  const Checksum14Pair sum = Checksum14(sent);
  EXPECT_EQ(last[last.size() - 3], sum.hi);
  EXPECT_EQ(last[last.size() - 2], sum.lo);
  EXPECT_EQ(buffer.Checksum(), sum);
}

TEST(TransferBuffer, OneGroupPastTheIrChunkGoesInTheLastChunk) {
  TransferBuffer buffer;
  buffer.Pack(Repeat(224, 0xFF));  // 257 groups
  EXPECT_EQ(Sizes(TakeAllIr(buffer, 1)), (std::vector<std::size_t>{269, 11}));
}

TEST(TransferBuffer, LoaderChunkSequences) {
  struct Case {
    std::size_t imageBytes;
    int groups;
    std::vector<std::size_t> sizes;
  };
  const std::vector<Case> cases = {
      {210, 241, {250, 10}},       // one group past the first chunk
      {419, 479, {250, 248}},      // 239 left: the last chunk
      {420, 481, {250, 247, 10}},  // 241 left: a middle chunk, then one group
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.imageBytes);
    TransferBuffer buffer;
    ASSERT_EQ(buffer.Pack(Noise(c.imageBytes)), PackStatus::kPacked);
    EXPECT_EQ(buffer.Total(), c.groups);
    EXPECT_EQ(Sizes(TakeAllLoader(buffer)), c.sizes);
  }
}

TEST(TransferBuffer, LargestFirmwareImageFits) {
  TransferBuffer buffer;
  ASSERT_EQ(buffer.Pack(Noise(57000)), PackStatus::kPacked);
  EXPECT_EQ(buffer.Total(), 65143);
  EXPECT_EQ(TakeAllLoader(buffer).size(), 272u);
  ASSERT_EQ(buffer.Pack(Noise(57343)), PackStatus::kPacked);
  EXPECT_EQ(buffer.Total(), 65535);
}

TEST(TransferBuffer, ImageBeyondTheBufferIsRefused) {
  TransferBuffer buffer;
  buffer.Pack(Noise(100));
  EXPECT_EQ(buffer.Pack(Noise(57344)), PackStatus::kTooLarge);  // 65,537 groups
  EXPECT_EQ(buffer.Total(), 0);
  EXPECT_FALSE(buffer.HasNextChunk());
  EXPECT_EQ(buffer.TakeNextLoaderChunk().kind, ChunkKind::kNone);
  EXPECT_EQ(buffer.Pack(Noise(65535)), PackStatus::kTooLarge);
}

TEST(TransferBuffer, ShortImageSendsZerosAfterItsGroups) {
  TransferBuffer buffer;
  buffer.Pack(Repeat(2436, 0xFF));
  buffer.Pack(Repeat(7, 0xFF));  // 9 groups
  const auto chunks = TakeAllIr(buffer, 0);
  ASSERT_EQ(Sizes(chunks), (std::vector<std::size_t>{269, 10}));
  const Bytes& first = chunks[0].message;
  EXPECT_EQ(Bytes(first.begin() + 12, first.begin() + 20), Repeat(8, 0x7F));
  EXPECT_TRUE(std::all_of(first.begin() + 20, first.end() - 1, [](uint8_t g) { return g == 0; }));
  // 8 x 127 = 1016 = 07 78.
  EXPECT_EQ(chunks[1].message, Hex("F0 00 3F 6B 03 66 0B 07 78 F7"));
  EXPECT_EQ(buffer.Position(), 9);
}

TEST(TransferBuffer, PackingAgainRestartsFromTheFirstChunk) {
  TransferBuffer buffer;
  buffer.Pack(Noise(2436));
  buffer.TakeNextIrChunk(3);
  buffer.TakeNextIrChunk(3);
  buffer.Pack(Noise(2436, 9));
  EXPECT_EQ(buffer.Position(), 0);
  EXPECT_EQ(buffer.TakeNextIrChunk(3).kind, ChunkKind::kFirst);
}

TEST(TransferBuffer, NothingToSendBeforePacking) {
  TransferBuffer buffer;
  EXPECT_EQ(buffer.TakeNextIrChunk(0).kind, ChunkKind::kNone);
  EXPECT_TRUE(buffer.TakeNextIrChunk(0).message.empty());
}

}  // namespace
}  // namespace qd3
