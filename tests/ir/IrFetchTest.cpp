// The IR fetch: progress, the hand-over of a good transfer, bad transfers asked for again,
// oversized transfers refused, and silence.

#include <gtest/gtest.h>

#include "ir/IrFetch.h"
#include "protocol/MessageBuilders.h"
#include "protocol/TransferBuffer.h"
#include "tests/support/IrTransferMessages.h"

namespace qd3::test {
namespace {

Bytes Image(uint8_t seed = 3) {
  Bytes image(2436);
  for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<uint8_t>(i * 7 + seed);
  return image;
}

// The pedal's transfer of `image` as IR `number`: begin, nine data chunks, end.
std::vector<Bytes> Transfer(const Bytes& image, int number) {
  return test::IrTransferMessages(image, number);
}

// Feeds a whole transfer; the end's result.
IrFetchEnd Feed(IrFetch& fetch, const std::vector<Bytes>& messages) {
  fetch.OnBegin(messages.front());
  for (std::size_t i = 1; i + 1 < messages.size(); ++i) fetch.OnData(messages[i]);
  return fetch.OnEnd(messages.back());
}

TEST(IrFetch, ProgressRunsFromBeginToEndAndTheImageIsHandedOver) {
  IrFetch fetch;
  const TransferStep request = fetch.Request(200);
  EXPECT_EQ(request.messages, std::vector<Bytes>{BuildRequestIr(200)});
  EXPECT_TRUE(fetch.Waiting());

  const Bytes image = Image();
  const std::vector<Bytes> messages = Transfer(image, 200);
  ASSERT_EQ(messages.size(), 11u);
  const TransferStep begin = fetch.OnBegin(messages[0]);
  EXPECT_EQ(*begin.progress, 0.0);
  EXPECT_EQ(begin.overlay, ProgressOverlay::kShow);
  for (std::size_t i = 1; i <= 9; ++i) {
    const TransferStep data = fetch.OnData(messages[i]);
    // 256 groups per chunk, 7 bits each: floor(256 (i + 1) 7 / 8) bytes so far.
    EXPECT_DOUBLE_EQ(*data.progress, (256 * (i + 1) * 7 / 8) / 2436.0) << i;
  }
  EXPECT_EQ(IrFetchPercentText(2016 / 2436.0), "83 %");
  EXPECT_EQ(IrFetchPercentText(0.005), "0 %");
  EXPECT_EQ(IrFetchPercentText(0.996), "100 %");

  const IrFetchEnd end = fetch.OnEnd(messages[10]);
  EXPECT_EQ(*end.step.progress, 1.0);
  EXPECT_EQ(end.step.overlay, ProgressOverlay::kHide);
  EXPECT_EQ(end.step.end, TransferEnd::kFinished);
  ASSERT_TRUE(end.received);
  EXPECT_EQ(end.received->irNumber, 200);
  EXPECT_EQ(end.received->bytes, image);
  EXPECT_FALSE(fetch.Waiting());
}

TEST(IrFetch, BadChecksumIsAskedForOnceThenCommunicationError) {
  IrFetch fetch;
  fetch.Request(9);
  std::vector<Bytes> messages = Transfer(Image(), 9);
  messages.back()[messages.back().size() - 2] ^= 1;

  const IrFetchEnd first = Feed(fetch, messages);
  EXPECT_FALSE(first.received) << "a corrupt IR must not reach the cache";
  EXPECT_EQ(first.step.messages, std::vector<Bytes>{BuildRequestIr(9)});
  EXPECT_EQ(first.step.end, TransferEnd::kRunning);

  const IrFetchEnd second = Feed(fetch, messages);
  EXPECT_FALSE(second.received);
  EXPECT_TRUE(second.step.messages.empty());
  EXPECT_EQ(second.step.end, TransferEnd::kFailed);
  EXPECT_EQ(second.step.message, "Communication error!");
  EXPECT_EQ(second.step.overlay, ProgressOverlay::kHide);
  EXPECT_FALSE(fetch.Waiting());
}

TEST(IrFetch, BadThenGoodTransferIsHandedOver) {
  IrFetch fetch;
  fetch.Request(9);
  const Bytes image = Image();
  std::vector<Bytes> bad = Transfer(image, 9);
  bad[3][50] ^= 1;  // one group changed in transit
  EXPECT_FALSE(Feed(fetch, bad).received);
  const IrFetchEnd good = Feed(fetch, Transfer(image, 9));
  ASSERT_TRUE(good.received);
  EXPECT_EQ(good.received->bytes, image);
}

TEST(IrFetch, LostChunkWithMatchingChecksumIsNotHandedOver) {
  // An image of zeros after the format word packs into all-zero middle chunks, so losing
  // one keeps the checksum right and only the byte count tells.
  Bytes image(2436, 0);
  image[0] = 1;
  std::vector<Bytes> messages = Transfer(image, 4);
  messages.erase(messages.begin() + 5);
  IrFetch fetch;
  fetch.Request(4);
  const IrFetchEnd end = Feed(fetch, messages);
  EXPECT_FALSE(end.received);
  EXPECT_EQ(end.step.messages, std::vector<Bytes>{BuildRequestIr(4)});
}

TEST(IrFetch, OversizedBeginNeverWritesPastTheBuffer) {
  // G = 5000 announces floor(35000 / 8) = 4375 bytes, more than the 4096 of the buffer.
  const Bytes groups(256, 0x55);
  const Bytes begin = BuildIrBegin(5, 5000, groups);
  IrFetch fetch;
  fetch.Request(5);
  EXPECT_TRUE(fetch.OnBegin(begin).Empty());
  for (int i = 0; i < 20; ++i) EXPECT_TRUE(fetch.OnData(BuildIrData(groups)).Empty());
  const IrFetchEnd end = fetch.OnEnd(BuildIrEnd(Bytes(136, 0x55), Checksum14FromSum(0)));
  EXPECT_FALSE(end.received);
  EXPECT_TRUE(end.step.Empty());
  EXPECT_FALSE(fetch.ReceiveState().Receiving());
  EXPECT_EQ(fetch.ReceiveState().ProducedBytes(), 0);
  // Nothing usable came: after 2 s the IR is asked for again.
  for (int i = 0; i < 20; ++i) EXPECT_TRUE(fetch.OnTick().Empty());
  EXPECT_EQ(fetch.OnTick().messages, std::vector<Bytes>{BuildRequestIr(5)});
}

TEST(IrFetch, SilenceReRequestsThreeTimesThenFails) {
  IrFetch fetch;
  fetch.Request(33);
  for (int retry = 1; retry <= 3; ++retry) {
    for (int i = 0; i < 20; ++i) ASSERT_TRUE(fetch.OnTick().Empty());
    EXPECT_EQ(fetch.OnTick().messages, std::vector<Bytes>{BuildRequestIr(33)}) << retry;
  }
  for (int i = 0; i < 20; ++i) ASSERT_TRUE(fetch.OnTick().Empty());
  const TransferStep failed = fetch.OnTick();
  EXPECT_EQ(failed.end, TransferEnd::kFailed);
  EXPECT_EQ(failed.message, kTextIrFetchNoAnswer);
  EXPECT_FALSE(fetch.Waiting());
  EXPECT_TRUE(fetch.OnTick().Empty());
}

TEST(IrFetch, ChunksKeepTheWatchdogQuiet) {
  IrFetch fetch;
  fetch.Request(1);
  const std::vector<Bytes> messages = Transfer(Image(), 1);
  fetch.OnBegin(messages[0]);
  for (std::size_t i = 1; i + 1 < messages.size(); ++i) {
    for (int t = 0; t < 15; ++t) ASSERT_TRUE(fetch.OnTick().Empty());
    fetch.OnData(messages[i]);
  }
  EXPECT_TRUE(fetch.OnEnd(messages.back()).received);
}

TEST(IrFetch, UnrequestedTransferIsCollectedToo) {
  IrFetch fetch;
  const IrFetchEnd end = Feed(fetch, Transfer(Image(9), 391));
  ASSERT_TRUE(end.received);
  EXPECT_EQ(end.received->irNumber, 391);
  for (int i = 0; i < 100; ++i) ASSERT_TRUE(fetch.OnTick().Empty());
}

}  // namespace
}  // namespace qd3::test
