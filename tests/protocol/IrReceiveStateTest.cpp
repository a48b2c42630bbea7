#include "protocol/IrReceiveState.h"

#include <gtest/gtest.h>

#include "protocol/MessageBuilders.h"
#include "protocol/TransferBuffer.h"
#include "tests/support/TestBytes.h"

namespace qd3 {
namespace {

using test::Hex;
using test::Noise;
using test::Ramp;
using test::Repeat;

// Feeds every chunk of a packed transfer, as the pedal would send it, to `state`.
IrReceiveStatus Receive(IrReceiveState& state, TransferBuffer& buffer, int irNumber) {
  IrReceiveStatus status = IrReceiveStatus::kMalformed;
  for (auto chunk = buffer.TakeNextIrChunk(irNumber); chunk.kind != ChunkKind::kNone;
       chunk = buffer.TakeNextIrChunk(irNumber)) {
    switch (chunk.kind) {
      case ChunkKind::kFirst:
        status = state.Begin(chunk.message);
        break;
      case ChunkKind::kMiddle:
        status = state.Data(chunk.message);
        break;
      default:
        status = state.End(chunk.message);
        break;
    }
  }
  return status;
}

TEST(IrReceiveState, ReceivesAPackedImage) {
  const Bytes image = Noise(2436, 5);
  TransferBuffer buffer;
  buffer.Pack(image);
  IrReceiveState state;
  ASSERT_EQ(Receive(state, buffer, 200), IrReceiveStatus::kComplete);

  const IrReceiveResult result = state.Result();
  EXPECT_EQ(result.irNumber, 200);
  EXPECT_EQ(state.ExpectedBytes(), 2436);
  EXPECT_EQ(Bytes(result.bytes.begin(), result.bytes.end()), image);
  EXPECT_EQ(result.computedChecksum, buffer.Checksum().Value());
  EXPECT_TRUE(result.ChecksumMatches());
}

// Whether every chunk arrived: a whole transfer of any size, and one that lost a middle
// chunk, or got one twice (the checksum alone would miss a lost chunk of zeros).
TEST(IrReceiveState, CountsTheGroupsTheBeginAnnounced) {
  struct Case {
    std::size_t bytes;
    int skipChunk;    // -1: none
    int repeatChunk;  // -1: none
    bool whole;
  };
  const Case cases[] = {
      {300, -1, -1, true},  {448, -1, -1, true},  {2436, -1, -1, true},
      {2436, 3, -1, false}, {2436, -1, 2, false}, {2436, 9, -1, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    TransferBuffer buffer;
    ASSERT_EQ(buffer.Pack(Repeat(c.bytes, 0)), PackStatus::kPacked);
    IrReceiveState state;
    IrReceiveStatus status = IrReceiveStatus::kMalformed;
    int index = 0;
    for (auto chunk = buffer.TakeNextIrChunk(9); chunk.kind != ChunkKind::kNone;
         chunk = buffer.TakeNextIrChunk(9), ++index) {
      if (index == c.skipChunk) continue;
      const int times = index == c.repeatChunk ? 2 : 1;
      for (int t = 0; t < times; ++t) {
        if (chunk.kind == ChunkKind::kFirst) status = state.Begin(chunk.message);
        if (chunk.kind == ChunkKind::kMiddle) status = state.Data(chunk.message);
        if (chunk.kind == ChunkKind::kLast) status = state.End(chunk.message);
      }
    }
    ASSERT_EQ(status, IrReceiveStatus::kComplete);
    EXPECT_TRUE(state.Result().ChecksumMatches()) << "zeros sum to zero either way";
    EXPECT_EQ(state.AllGroupsReceived(), c.whole);
  }
}

TEST(IrReceiveState, CorruptedGroupShowsAsChecksumMismatch) {
  TransferBuffer buffer;
  buffer.Pack(Noise(2436));
  IrReceiveState state;
  state.Begin(buffer.TakeNextIrChunk(7).message);
  Bytes data = buffer.TakeNextIrChunk(7).message;
  data[100] ^= 0x01;
  state.Data(data);
  while (buffer.Remaining() > static_cast<int>(kIrChunkGroups)) {
    state.Data(buffer.TakeNextIrChunk(7).message);
  }
  ASSERT_EQ(state.End(buffer.TakeNextIrChunk(7).message), IrReceiveStatus::kComplete);
  EXPECT_FALSE(state.Result().ChecksumMatches());
}

TEST(IrReceiveState, ReadsChecksumAndGroupsOfTheEndMessage) {
  IrReceiveState state;
  // G = 260 -> 227 bytes; the begin's groups are all zero.
  ASSERT_EQ(state.Begin(BuildIrBegin(3, 260, Repeat(256, 0))), IrReceiveStatus::kReceiving);
  ASSERT_EQ(state.End(Hex("F0 00 3F 6B 03 66 0B 01 02 03 04 12 34 F7")),
            IrReceiveStatus::kComplete);
  const IrReceiveResult result = state.Result();
  EXPECT_EQ(result.computedChecksum, 10);
  EXPECT_EQ(result.receivedChecksum, 0x12 * 128 + 0x34);
  EXPECT_EQ(result.bytes.size(), 227u);
}

// Used to write floor(7G / 8) bytes into the 4096-byte buffer whatever G announced.
TEST(IrReceiveState, OversizeBeginIsRefused) {
  IrReceiveState state;
  // 4683 groups would make 4097 bytes.
  EXPECT_EQ(state.Begin(BuildIrBegin(1, 4683, Ramp(256))), IrReceiveStatus::kTooLarge);
  EXPECT_FALSE(state.Receiving());
  EXPECT_EQ(state.Data(BuildIrData(Ramp(256))), IrReceiveStatus::kNotStarted);
  EXPECT_EQ(state.End(BuildIrEnd(Ramp(10), {})), IrReceiveStatus::kNotStarted);
  EXPECT_EQ(state.ProducedBytes(), 0);
}

TEST(IrReceiveState, LargestAcceptedTransferStopsAtTheBuffer) {
  IrReceiveState state;
  // 4682 groups make exactly 4096 bytes; send far more groups than that.
  ASSERT_EQ(state.Begin(BuildIrBegin(1, 4682, Repeat(256, 0x7F))), IrReceiveStatus::kReceiving);
  for (int i = 0; i < 30; ++i) state.Data(BuildIrData(Repeat(256, 0x7F)));
  ASSERT_EQ(state.End(BuildIrEnd(Repeat(256, 0x7F), {})), IrReceiveStatus::kComplete);
  EXPECT_EQ(state.ProducedBytes(), 4096);
  EXPECT_EQ(state.Result().bytes.back(), 0xFF);
}

TEST(IrReceiveState, TruncatedMessagesAreDroppedWithoutReading) {
  IrReceiveState state;
  const Bytes begin = BuildIrBegin(1, 2785, Ramp(256));
  EXPECT_EQ(state.Begin(Bytes(begin.begin(), begin.begin() + 100)), IrReceiveStatus::kMalformed);
  EXPECT_EQ(state.Begin(Bytes(begin.begin(), begin.begin() + 5)), IrReceiveStatus::kMalformed);
  ASSERT_EQ(state.Begin(begin), IrReceiveStatus::kReceiving);

  const Bytes data = BuildIrData(Ramp(256));
  EXPECT_EQ(state.Data(Bytes(data.begin(), data.end() - 1)), IrReceiveStatus::kMalformed);
  EXPECT_EQ(state.End(Hex("F0 00 3F 6B 03 66 0B 00 F7")), IrReceiveStatus::kMalformed);
  EXPECT_EQ(state.End(BuildIrData(Ramp(256))), IrReceiveStatus::kMalformed);
  EXPECT_EQ(state.ProducedBytes(), 224);  // the begin's 256 groups only
  EXPECT_TRUE(state.Receiving());
}

TEST(IrReceiveState, NewBeginRestartsTheTransfer) {
  IrReceiveState state;
  state.Begin(BuildIrBegin(1, 2785, Ramp(256)));
  state.Data(BuildIrData(Ramp(256)));
  ASSERT_EQ(state.Begin(BuildIrBegin(2, 2785, Repeat(256, 0))), IrReceiveStatus::kReceiving);
  EXPECT_EQ(state.IrNumber(), 2);
  EXPECT_EQ(state.ProducedBytes(), 224);
  ASSERT_EQ(state.End(BuildIrEnd(Hex("05"), {0x00, 0x05})), IrReceiveStatus::kComplete);
  EXPECT_TRUE(state.Result().ChecksumMatches());
}

TEST(IrReceiveState, DataWithoutBeginIsIgnored) {
  IrReceiveState state;
  EXPECT_EQ(state.Data(BuildIrData(Ramp(256))), IrReceiveStatus::kNotStarted);
  EXPECT_EQ(state.End(BuildIrEnd(Ramp(3), {})), IrReceiveStatus::kNotStarted);
}

}  // namespace
}  // namespace qd3
