// The firmware stream: image checks, chunking per tick, loader replies, the silent loader.

#include <gtest/gtest.h>

#include "protocol/FirmwareStream.h"
#include "protocol/MessageBuilders.h"
#include "tests/support/TestBytes.h"

namespace qd3 {
namespace {

using test::Noise;

struct Firmware : ::testing::Test {
  DeviceSession session;
  TransferBuffer buffer;
  FirmwareStream stream{session, buffer};

  // Streams after kLoaderReady until the last chunk; the sizes of the chunks sent.
  std::vector<std::size_t> StreamAll(TransferStep* last = nullptr) {
    stream.OnLoaderReady();
    std::vector<std::size_t> sizes;
    for (int tick = 0; tick < 400 && session.firmwareMode; ++tick) {
      TransferStep step = stream.OnTick();
      for (const Bytes& m : step.messages) sizes.push_back(m.size());
      if (last != nullptr) *last = step;
    }
    return sizes;
  }
};

TEST_F(Firmware, ImagesChunkAsTheLoaderExpects) {
  struct Case {
    std::size_t bytes;
    int groups;
    std::vector<std::size_t> sizes;
  };
  const Case cases[] = {
      {210, 241, {250, 10}}, {420, 481, {250, 247, 10}}, {419, 479, {250, 248}},  // 239 left
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    const TransferStep start = stream.Start(Noise(c.bytes));
    ASSERT_EQ(start.messages, std::vector<Bytes>{BuildLoaderEnter()});
    EXPECT_EQ(buffer.Total(), c.groups);
    EXPECT_EQ(StreamAll(), c.sizes);
  }
}

// Exactly 240 remaining groups would go out as the last chunk (249 bytes), but no image
// packs into a multiple of 240 groups: floor(8N / 7) never ends in 7 modulo 8.
TEST(FirmwareGroups, NoImagePacksIntoAMultipleOf240Groups) {
  for (std::size_t n = 0; n <= kFirmwareImageMaxSize; ++n) {
    ASSERT_NE((n * 8 / 7 + 1) % kLoaderChunkGroups, 0u) << n;
  }
}

TEST_F(Firmware, LargestImageTakes272TicksThenAwaitsTheLoadersVerdict) {
  stream.Start(Noise(57000));
  EXPECT_EQ(buffer.Total(), 65143);
  TransferStep last;
  const auto sizes = StreamAll(&last);
  EXPECT_EQ(sizes.size(), 272u);
  // Sending the last chunk is not success: only the loader knows whether it programmed.
  EXPECT_EQ(last.end, TransferEnd::kRunning);
  EXPECT_TRUE(last.message.empty());
  EXPECT_EQ(last.progress, 1.0);
  EXPECT_FALSE(session.firmwareMode);
  EXPECT_TRUE(stream.AwaitingVerdict());
  session.connected = true;
  const TransferStep done = stream.OnLoaderDone();
  EXPECT_EQ(done.end, TransferEnd::kFinished);
  EXPECT_EQ(done.message, "Firmware update finished.");
  EXPECT_FALSE(session.connected);
  EXPECT_FALSE(stream.AwaitingVerdict());
}

TEST_F(Firmware, LoaderSilentAfterTheLastChunkEndsAfterSixtySecondsWithoutSuccess) {
  stream.Start(Noise(500));
  StreamAll();
  ASSERT_TRUE(stream.AwaitingVerdict());
  session.connected = true;
  for (int i = 0; i < kLoaderVerdictTicks; ++i) {
    ASSERT_TRUE(stream.OnWatchTick().Empty()) << i;
  }
  const TransferStep step = stream.OnWatchTick();
  EXPECT_EQ(step.end, TransferEnd::kFailed);
  EXPECT_EQ(step.message, kTextLoaderNoVerdict);
  EXPECT_FALSE(session.connected);
  // A verdict after the give-up is not a second ending.
  EXPECT_TRUE(stream.OnLoaderDone().Empty());
  EXPECT_TRUE(stream.OnWatchTick().Empty());
}

TEST_F(Firmware, DoneWithoutAStreamedImageSaysNothing) {
  EXPECT_TRUE(stream.OnLoaderDone().Empty());
  stream.Start(Noise(1000));
  stream.OnLoaderReady();
  stream.OnTick();
  EXPECT_NE(stream.OnLoaderDone().end, TransferEnd::kFinished);
}

TEST_F(Firmware, EmptyFileIsRefusedWithAMessage) {
  const TransferStep step = stream.Start({});
  EXPECT_EQ(step.end, TransferEnd::kFailed);
  EXPECT_EQ(step.message, kTextFirmwareEmpty);
  EXPECT_TRUE(step.messages.empty());
  EXPECT_TRUE(StreamAll().empty());
}

TEST_F(Firmware, ImageTooLargeForTheBufferIsRefusedWithAMessage) {
  const TransferStep step = stream.Start(Noise(57344));
  EXPECT_EQ(step.end, TransferEnd::kFailed);
  EXPECT_EQ(step.message, kTextFirmwareTooLarge);
  EXPECT_TRUE(step.messages.empty());
  EXPECT_TRUE(StreamAll().empty());
  EXPECT_EQ(stream.Start(Noise(57343)).messages.size(), 1u);
}

TEST_F(Firmware, FileOf65536BytesIsIgnoredSilently) {
  const TransferStep step = stream.Start(Noise(65536));
  EXPECT_EQ(step.end, TransferEnd::kFailed);
  EXPECT_TRUE(step.message.empty());
  EXPECT_TRUE(step.messages.empty());
}

TEST_F(Firmware, TinyImageNeverSendsANegativeCount) {
  stream.Start(Noise(7));  // 9 groups
  stream.OnLoaderReady();
  const TransferStep first = stream.OnTick();
  ASSERT_EQ(first.messages.size(), 1u);
  EXPECT_EQ(first.messages[0].size(), kLoaderBeginSize);
  EXPECT_EQ(Bytes(first.messages[0].begin() + 6, first.messages[0].begin() + 9), (Bytes{0, 0, 9}));
  const TransferStep last = stream.OnTick();
  ASSERT_EQ(last.messages.size(), 1u);
  // Remaining 0: the envelope, the checksum and F7.
  EXPECT_EQ(last.messages[0].size(), kLoaderLastOverhead);
  const Checksum14Pair sum = buffer.Checksum();
  EXPECT_EQ(last.messages[0][6], sum.hi);
  EXPECT_EQ(last.messages[0][7], sum.lo);
  EXPECT_EQ(last.end, TransferEnd::kRunning);
  EXPECT_TRUE(stream.AwaitingVerdict());
  EXPECT_TRUE(stream.OnTick().Empty());
}

TEST_F(Firmware, LoaderReplies) {
  stream.Start(Noise(1000));
  EXPECT_EQ(stream.OnLoaderReady().overlay, ProgressOverlay::kShow);
  EXPECT_TRUE(session.firmwareMode);
  stream.OnTick();
  session.connected = true;
  const TransferStep failed = stream.OnLoaderFailed();
  EXPECT_EQ(failed.message, "Error in update!");
  EXPECT_FALSE(session.firmwareMode);
  EXPECT_FALSE(session.connected);
  session.connected = true;
  stream.OnLoaderDone();
  EXPECT_FALSE(session.connected);
}

TEST_F(Firmware, SilentLoaderEndsAfterFiveSeconds) {
  stream.Start(Noise(1000));
  for (int i = 0; i < kReplyStallTicks; ++i) ASSERT_TRUE(stream.OnWatchTick().Empty()) << i;
  const TransferStep step = stream.OnWatchTick();
  EXPECT_EQ(step.end, TransferEnd::kFailed);
  EXPECT_EQ(step.message, kTextLoaderSilent);
  EXPECT_TRUE(stream.OnWatchTick().Empty());
}

TEST_F(Firmware, ReadyAfterTheGiveUpStreamsNothing) {
  stream.Start(Noise(1000));
  for (int i = 0; i <= kReplyStallTicks; ++i) stream.OnWatchTick();
  EXPECT_TRUE(stream.OnLoaderReady().Empty());
  EXPECT_FALSE(session.firmwareMode);
  EXPECT_TRUE(stream.OnTick().Empty());
}

TEST_F(Firmware, ReadyInTimeStopsTheWatch) {
  stream.Start(Noise(1000));
  for (int i = 0; i < 10; ++i) stream.OnWatchTick();
  stream.OnLoaderReady();
  for (int i = 0; i < 2 * kReplyStallTicks; ++i) ASSERT_TRUE(stream.OnWatchTick().Empty());
}

}  // namespace
}  // namespace qd3
