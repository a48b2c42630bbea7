// The IR upload: message order and pacing, the session flag, progress, and what happens
// when the pedal stays silent.

#include <gtest/gtest.h>

#include "ir/IrUpload.h"
#include "protocol/MessageMatch.h"

namespace qd3::test {
namespace {

Bytes Image() {
  Bytes image(2436);
  for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<uint8_t>(i * 31 + 7);
  image[0] = 0x01;  // format word 1
  image[1] = 0x00;
  return image;
}

uint8_t Command(const Bytes& message) {
  return message.at(kCommandOffset);
}

class IrUploadTest : public ::testing::Test {
 protected:
  DeviceSession mSession;
  TransferBuffer mBuffer;
  IrUpload mUpload{mSession, mBuffer};
  Bytes mImage = Image();

  // Ticks until a step sends something, at most `limit` ticks; the silent ticks counted.
  std::pair<TransferStep, int> TickUntilSent(int limit) {
    for (int silent = 0; silent < limit; ++silent) {
      TransferStep step = mUpload.OnTick();
      if (!step.messages.empty() || step.end != TransferEnd::kRunning) return {step, silent};
    }
    return {TransferStep{}, limit};
  }
};

TEST_F(IrUploadTest, SendsBeginWaitsForAckThenNineDataAndTheEnd) {
  ASSERT_EQ(mUpload.Start(77, mImage, true), PackStatus::kPacked);
  EXPECT_TRUE(mSession.irUploadNext);
  EXPECT_EQ(mBuffer.Total(), 2785);

  TransferStep first = mUpload.OnTick();
  ASSERT_EQ(first.messages.size(), 1u);
  EXPECT_EQ(first.messages[0].size(), 269u);
  EXPECT_EQ(Bytes(first.messages[0].begin(), first.messages[0].begin() + 12),
            (Bytes{0xF0, 0x00, 0x3F, 0x6B, 0x03, 0x60, 0x0B, 0x00, 0x4D, 0x00, 0x15, 0x61}));
  EXPECT_EQ(first.messages[0][12], 0x00) << "the format word 0x01 0x00 packs as 0x00 0x40";
  EXPECT_EQ(first.messages[0][13], 0x40);
  EXPECT_FALSE(mSession.irUploadNext);
  EXPECT_DOUBLE_EQ(*first.progress, 256.0 / 2785);
  EXPECT_EQ(first.overlay, ProgressOverlay::kShow);

  for (int i = 0; i < 5; ++i) EXPECT_TRUE(mUpload.OnTick().Empty()) << "waits for the ack";

  mUpload.OnChunkAck();
  EXPECT_TRUE(mSession.irUploadNext);
  for (int chunk = 1; chunk <= 9; ++chunk) {
    const TransferStep step = mUpload.OnTick();
    ASSERT_EQ(step.messages.size(), 1u) << chunk;
    EXPECT_EQ(step.messages[0].size(), 264u);
    EXPECT_EQ(Command(step.messages[0]), kCmdIrData);
    EXPECT_TRUE(mSession.irUploadNext) << "middle chunks need no ack";
    EXPECT_DOUBLE_EQ(*step.progress, 256.0 * (chunk + 1) / 2785);
  }
  const TransferStep last = mUpload.OnTick();
  ASSERT_EQ(last.messages.size(), 1u);
  EXPECT_EQ(last.messages[0].size(), 235u);  // 225 groups + 10
  EXPECT_EQ(Command(last.messages[0]), kCmdIrEnd);
  const Checksum14Pair sum = Checksum14(mBuffer.Groups());
  EXPECT_EQ(last.messages[0][232], sum.hi);
  EXPECT_EQ(last.messages[0][233], sum.lo);
  EXPECT_EQ(*last.progress, 0.0);
  EXPECT_EQ(last.overlay, ProgressOverlay::kHide);
  EXPECT_FALSE(mSession.irUploadNext);
  EXPECT_EQ(last.end, TransferEnd::kRunning) << "only kCmdIrStored completes it";

  EXPECT_TRUE(mUpload.OnTick().Empty());
  const TransferStep stored = mUpload.OnStored();
  EXPECT_EQ(stored.end, TransferEnd::kFinished);
  EXPECT_FALSE(mUpload.Active());
  EXPECT_TRUE(mUpload.OnStored().Empty()) << "a second confirmation means nothing";
}

TEST_F(IrUploadTest, DisconnectedUploadIsPackedButNothingIsSent) {
  ASSERT_EQ(mUpload.Start(5, mImage, false), PackStatus::kPacked);
  EXPECT_EQ(mBuffer.Total(), 2785);
  EXPECT_FALSE(mSession.irUploadNext);
  EXPECT_FALSE(mUpload.Active());
  for (int i = 0; i < 100; ++i) ASSERT_TRUE(mUpload.OnTick().Empty());
}

TEST_F(IrUploadTest, StrayChunkAckAfterTheLastChunkSendsNothing) {
  mUpload.Start(5, mImage, true);
  mUpload.OnTick();
  mUpload.OnChunkAck();
  for (int i = 0; i < 10; ++i) mUpload.OnTick();
  ASSERT_EQ(mUpload.CurrentPhase(), IrUpload::Phase::kAwaitStored);
  mUpload.OnChunkAck();
  EXPECT_TRUE(mSession.irUploadNext) << "the session's flag follows every acknowledgement";
  EXPECT_TRUE(mUpload.OnTick().messages.empty()) << "but only a waiting first chunk uses it";
}

TEST_F(IrUploadTest, SilenceRestartsFromTheFirstChunkThreeTimesThenFails) {
  mUpload.Start(5, mImage, true);
  ASSERT_EQ(Command(mUpload.OnTick().messages.at(0)), kCmdIrBegin);
  for (int retry = 1; retry <= 3; ++retry) {
    const auto [step, silent] = TickUntilSent(100);
    EXPECT_EQ(silent, 20) << "retry " << retry << " after 2 s";
    ASSERT_EQ(step.messages.size(), 1u);
    EXPECT_EQ(Command(step.messages[0]), kCmdIrBegin);
    EXPECT_EQ(step.end, TransferEnd::kRunning);
  }
  const auto [failed, silent] = TickUntilSent(100);
  EXPECT_EQ(silent, 20);
  EXPECT_EQ(failed.end, TransferEnd::kFailed);
  EXPECT_EQ(failed.message, kTextIrUploadNoAnswer);
  EXPECT_EQ(failed.overlay, ProgressOverlay::kHide);
  EXPECT_TRUE(failed.messages.empty());
  EXPECT_FALSE(mUpload.Active());
  EXPECT_FALSE(mSession.irUploadNext);
}

TEST_F(IrUploadTest, PedalThatAcksButNeverStoresDoesNotRetryForever) {
  // Each chunk ack is an answer, but it must not give the upload fresh retries.
  mUpload.Start(5, mImage, true);
  int begins = 0;
  TransferStep step;
  for (int tick = 0; tick < 1000 && step.end == TransferEnd::kRunning; ++tick) {
    step = mUpload.OnTick();
    if (!step.messages.empty() && Command(step.messages[0]) == kCmdIrBegin) {
      ++begins;
      mUpload.OnChunkAck();
    }
  }
  EXPECT_EQ(step.end, TransferEnd::kFailed);
  EXPECT_EQ(begins, 4) << "the first attempt and three retries";
}

TEST_F(IrUploadTest, RetryAfterMissingStoredSendsTheWholeImageAgain) {
  mUpload.Start(5, mImage, true);
  std::vector<Bytes> firstRun;
  for (int i = 0; i < 11; ++i) {
    TransferStep step = mUpload.OnTick();
    if (i == 0) mUpload.OnChunkAck();
    firstRun.push_back(step.messages.at(0));
  }
  auto [again, silent] = TickUntilSent(100);
  EXPECT_EQ(silent, 20);
  ASSERT_EQ(again.messages.size(), 1u);
  EXPECT_EQ(again.messages[0], firstRun[0]);
  mUpload.OnChunkAck();
  for (std::size_t i = 1; i < firstRun.size(); ++i) {
    EXPECT_EQ(mUpload.OnTick().messages.at(0), firstRun[i]) << i;
  }
  EXPECT_EQ(mUpload.OnStored().end, TransferEnd::kFinished);
}

TEST_F(IrUploadTest, NewImageDuringAnUploadStartsOverWithIt) {
  mUpload.Start(5, mImage, true);
  mUpload.OnTick();
  mUpload.OnChunkAck();
  mUpload.OnTick();
  Bytes other = mImage;
  other[100] ^= 0xFF;
  mUpload.Start(6, other, true);
  const TransferStep step = mUpload.OnTick();
  ASSERT_EQ(step.messages.size(), 1u);
  EXPECT_EQ(Command(step.messages[0]), kCmdIrBegin);
  EXPECT_EQ(step.messages[0][8], 6);
  EXPECT_EQ(mUpload.Retries(), 0);
}

}  // namespace
}  // namespace qd3::test
