// The firmware loader.

#include <gtest/gtest.h>

#include "tests/simulator/SimTestSupport.h"

namespace qd3::sim::test {
namespace {

constexpr const char* kEnter = "F0 00 3F 6B 02 10 F7";
constexpr const char* kReady = "F0 00 3F 6B 02 12 F7";
constexpr const char* kDone = "F0 00 3F 6B 02 14 F7";
constexpr const char* kFailed = "F0 00 3F 6B 02 15 F7";

Bytes Image(std::size_t size) {
  Bytes image(size);
  for (std::size_t i = 0; i < size; ++i) image[i] = static_cast<uint8_t>((i * 131 + 17) >> 1);
  return image;
}

class Loader : public PedalTest, public ::testing::WithParamInterface<std::size_t> {};

TEST_P(Loader, AcceptsAnImageWithTheRightChecksum) {
  const Bytes image = Image(GetParam());
  ASSERT_EQ(Send(kEnter), Replies{Hex(kReady)});
  EXPECT_TRUE(mPedal.InLoader());
  const std::vector<Bytes> chunks = FirmwareMessages(image);
  for (std::size_t i = 0; i + 1 < chunks.size(); ++i) EXPECT_TRUE(Send(chunks[i]).empty()) << i;
  EXPECT_EQ(Send(chunks.back()), Replies{Hex(kDone)}) << mLog;
  EXPECT_FALSE(mPedal.InLoader());
  EXPECT_EQ(mPedal.LastFirmwareImage(), image);
  EXPECT_EQ(mPedal.Counters().firmwareUpdates, 1);
}

// 210 bytes: 241 groups, a last chunk of 1 group. 420: 481 groups. 274: exactly 314 groups,
// so 74 in the last chunk. 3000: a dozen chunks. 100: fewer groups than the first chunk.
INSTANTIATE_TEST_SUITE_P(Pedal, Loader, ::testing::Values(210, 420, 274, 3000, 100));

TEST_F(PedalTest, LoaderRefusesABadChecksum) {
  Send(kEnter);
  std::vector<Bytes> chunks = FirmwareMessages(Image(1000));
  Bytes& last = chunks.back();
  last[last.size() - 2] ^= 1;
  EXPECT_EQ(SendAll(chunks), Replies{Hex(kFailed)});
  EXPECT_FALSE(mPedal.InLoader());
  EXPECT_TRUE(mPedal.LastFirmwareImage().empty());
}

TEST_F(PedalTest, LoaderFailsWhenAChunkIsLost) {
  Send(kEnter);
  std::vector<Bytes> chunks = FirmwareMessages(Image(2000));
  chunks.erase(chunks.begin() + 2);
  // The last chunk arrives while the count still expects a middle one: its length gives
  // the loss away.
  const Replies replies = SendAll(chunks);
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_EQ(replies[0], Hex(kFailed));
}

TEST_F(PedalTest, LoaderFailsOnDataBeforeBegin) {
  Send(kEnter);
  const std::vector<Bytes> chunks = FirmwareMessages(Image(2000));
  EXPECT_EQ(Send(chunks[1]), Replies{Hex(kFailed)});
}

TEST_F(PedalTest, FirmwareCheckFaultFailsAGoodImage) {
  mPedal.Faults().failFirmwareCheck = true;
  Send(kEnter);
  EXPECT_EQ(SendAll(FirmwareMessages(Image(500))), Replies{Hex(kFailed)});
}

TEST_F(PedalTest, LoaderChunksWithoutEnterAreIgnored) {
  const std::vector<Bytes> chunks = FirmwareMessages(Image(500));  // begin, middle, last
  ASSERT_EQ(chunks.size(), 3u);
  EXPECT_TRUE(SendAll(chunks).empty());
  EXPECT_FALSE(mPedal.InLoader());
  EXPECT_EQ(mPedal.Counters().ignored, 3);
  EXPECT_EQ(mPedal.Counters().handled, 0);
}

TEST_F(PedalTest, WhileTheLoaderRunsThePedalDoesNotAnswer) {
  Send(kEnter);
  EXPECT_TRUE(Send("F0 00 3F 6B 03 55 0B 0F F7").empty());
  // After the verdict the running pedal answers again.
  SendAll(FirmwareMessages(Image(300)));
  EXPECT_EQ(Send("F0 00 3F 6B 03 55 0B 0F F7").size(), 1u);
}

TEST_F(PedalTest, EnteringAgainRestartsTheLoader) {
  Send(kEnter);
  const std::vector<Bytes> first = FirmwareMessages(Image(900));
  Send(first[0]);
  Send(first[1]);
  EXPECT_EQ(Send(kEnter), Replies{Hex(kReady)});
  EXPECT_EQ(SendAll(FirmwareMessages(Image(700))), Replies{Hex(kDone)});
  EXPECT_EQ(mPedal.LastFirmwareImage(), Image(700));
}

}  // namespace
}  // namespace qd3::sim::test
