// Impulse responses: upload, transfer on request, names.

#include <gtest/gtest.h>

#include <numeric>

#include "protocol/IrReceiveState.h"
#include "protocol/MessageMatch.h"
#include "protocol/SevenBit.h"
#include "simulator/DefaultState.h"
#include "tests/simulator/SimTestSupport.h"

namespace qd3::sim::test {
namespace {

Bytes RequestIr(int number) {
  return {0xF0,
          0x00,
          0x3F,
          0x6B,
          0x03,
          0x69,
          0x0B,
          static_cast<uint8_t>(number >> 7),
          static_cast<uint8_t>(number & 0x7F),
          0xF7};
}

Bytes RequestNames(int group) {
  return {0xF0, 0x00, 0x3F, 0x6B, 0x03, 0x6A, 0x0B, static_cast<uint8_t>(group), 0xF7};
}

// Any 2436-byte image with all byte values, named `name`.
IrImage TestImage(const std::string& name) {
  IrImage image{};
  for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<uint8_t>(i * 7 + 3);
  std::fill(image.begin() + 4, image.begin() + 36, ' ');
  std::copy(name.begin(), name.end(), image.begin() + 4);
  return image;
}

// Collects a transfer as the editor does; empty when it does not complete with a good sum.
Bytes Collect(const Replies& replies, int expectedNumber) {
  IrReceiveState receive;
  if (replies.empty() || receive.Begin(replies.front()) != IrReceiveStatus::kReceiving) return {};
  for (std::size_t i = 1; i + 1 < replies.size(); ++i) {
    if (receive.Data(replies[i]) != IrReceiveStatus::kReceiving) return {};
  }
  if (receive.End(replies.back()) != IrReceiveStatus::kComplete) return {};
  const IrReceiveResult result = receive.Result();
  if (!result.ChecksumMatches() || result.irNumber != expectedNumber) return {};
  return Bytes(result.bytes.begin(), result.bytes.end());
}

TEST_F(PedalTest, RequestedIrArrivesAsElevenChunksOfTheRightShape) {
  const Replies replies = Send(RequestIr(200));
  ASSERT_EQ(replies.size(), 11u);
  EXPECT_EQ(replies[0].size(), 269u);
  EXPECT_EQ(Bytes(replies[0].begin(), replies[0].begin() + 12),
            Hex("F0 00 3F 6B 03 60 0B 01 48 00 15 61"));  // IR 200, G = 2785
  for (std::size_t i = 1; i <= 9; ++i) {
    EXPECT_EQ(replies[i].size(), 264u);
    EXPECT_EQ(Bytes(replies[i].begin(), replies[i].begin() + 7), Hex("F0 00 3F 6B 03 65 0B"));
  }
  const Bytes& end = replies[10];
  ASSERT_EQ(end.size(), 225u + 10u);
  EXPECT_EQ(Bytes(end.begin(), end.begin() + 7), Hex("F0 00 3F 6B 03 66 0B"));
  // The checksum is the sum of all 2785 groups, the zero padding group included.
  uint32_t sum = std::accumulate(replies[0].begin() + 12, replies[0].begin() + 268, 0u);
  for (std::size_t i = 1; i <= 9; ++i) {
    sum = std::accumulate(replies[i].begin() + 7, replies[i].begin() + 263, sum);
  }
  sum = std::accumulate(end.begin() + 7, end.end() - 3, sum);
  EXPECT_EQ(end[end.size() - 3], (sum >> 7) & 0x7F);
  EXPECT_EQ(end[end.size() - 2], sum & 0x7F);
  EXPECT_EQ(end[end.size() - 4], 0) << "the last group is the all-zero padding";
  for (const Bytes& chunk : replies) {
    EXPECT_TRUE(
        std::all_of(chunk.begin() + 1, chunk.end() - 1, [](uint8_t b) { return b < 0x80; }));
  }
  EXPECT_EQ(Collect(replies, 200),
            Bytes(mPedal.State().userIrs[200].begin(), mPedal.State().userIrs[200].end()));
}

TEST_F(PedalTest, UploadedIrComesBackIdentical) {
  const IrImage image = TestImage("My Fancy Cab");
  const std::vector<Bytes> upload = IrUploadMessages(image, 77);
  ASSERT_EQ(upload.size(), 11u);

  // The begin is acknowledged, the middle chunks are not, the end is confirmed.
  EXPECT_EQ(Send(upload[0]), Replies{Hex("F0 00 3F 6B 03 63 F7")});
  for (std::size_t i = 1; i + 1 < upload.size(); ++i) EXPECT_TRUE(Send(upload[i]).empty());
  EXPECT_EQ(Send(upload.back()), Replies{Hex("F0 00 3F 6B 03 61 F7")});
  EXPECT_EQ(mPedal.State().userIrs[77], image);

  EXPECT_EQ(Collect(Send(RequestIr(77)), 77), Bytes(image.begin(), image.end()));
  // Its name shows in the name group of bank 2 (IRs 64..95), group 4 * 2 + 1.
  const Bytes names = DataOf(Send(RequestNames(9)).at(0));
  EXPECT_EQ(std::string(names.begin() + 5 * 32, names.begin() + 6 * 32),
            "My Fancy Cab" + std::string(20, ' '));
}

TEST_F(PedalTest, CabinetsCanBeReplacedButTheFactoryBankCannot) {
  const IrImage image = TestImage("New Tolvane");
  EXPECT_EQ(SendAll(IrUploadMessages(image, 384)),
            (Replies{Hex("F0 00 3F 6B 03 63 F7"), Hex("F0 00 3F 6B 03 61 F7")}));
  EXPECT_EQ(mPedal.State().cabinetIrs[0], image);

  const PedalState before = mPedal.State();
  // The begin is refused, so the rest of the transfer has nothing to join.
  EXPECT_EQ(SendAll(IrUploadMessages(image, 256)), Replies{Hex("F0 00 3F 6B 03 62 F7")});
  EXPECT_EQ(SendAll(IrUploadMessages(image, 300)), Replies{Hex("F0 00 3F 6B 03 62 F7")});
  EXPECT_EQ(mPedal.State(), before);
}

TEST_F(PedalTest, UploadWithBadChecksumIsAnErrorAndStoresNothing) {
  std::vector<Bytes> upload = IrUploadMessages(TestImage("Broken"), 5);
  upload.back()[upload.back().size() - 2] ^= 1;
  const IrImage before = mPedal.State().userIrs[5];
  EXPECT_EQ(SendAll(upload), (Replies{Hex("F0 00 3F 6B 03 63 F7"), Hex("F0 00 3F 6B 03 62 F7")}));
  EXPECT_EQ(mPedal.State().userIrs[5], before);
}

TEST_F(PedalTest, UploadMissingAChunkIsAnError) {
  // Image bytes 850..1159 pack into groups 971..1325, so chunk 4 (groups 1024..1279) is all
  // zero: losing it keeps the checksum right, and only the length tells.
  IrImage image = TestImage("Gappy");
  std::fill(image.begin() + 850, image.begin() + 1160, 0);
  std::vector<Bytes> upload = IrUploadMessages(image, 6);
  ASSERT_TRUE(
      std::all_of(upload[4].begin() + 7, upload[4].end() - 1, [](uint8_t g) { return g == 0; }));
  upload.erase(upload.begin() + 4);
  const IrImage before = mPedal.State().userIrs[6];
  const Replies replies = SendAll(upload);
  ASSERT_EQ(replies.size(), 2u);
  EXPECT_EQ(replies[1], Hex("F0 00 3F 6B 03 62 F7"));
  EXPECT_EQ(mPedal.State().userIrs[6], before);
}

TEST_F(PedalTest, UploadOfAnotherSizeIsRefusedAtTheBegin) {
  const Bytes small(100, 1);
  std::vector<Bytes> upload = IrUploadMessages(small, 7);
  EXPECT_EQ(Send(upload[0]), Replies{Hex("F0 00 3F 6B 03 62 F7")});
  EXPECT_TRUE(Send(upload.back()).empty()) << "no upload is under way";
}

TEST_F(PedalTest, DataAndEndWithoutBeginAreIgnored) {
  const std::vector<Bytes> upload = IrUploadMessages(TestImage("Orphan"), 8);
  EXPECT_TRUE(Send(upload[3]).empty());
  EXPECT_TRUE(Send(upload.back()).empty());
  EXPECT_EQ(mPedal.Counters().ignored, 2);
}

TEST_F(PedalTest, FactoryBankAndCabinetIrsCanBeRequested) {
  for (const int number : {256, 287, 384, 391}) {
    const Bytes image = Collect(Send(RequestIr(number)), number);
    ASSERT_EQ(image.size(), 2436u) << number;
    EXPECT_EQ(image[0], 1);
    EXPECT_EQ(image[1], 0);
  }
}

TEST_F(PedalTest, NameGroupsCoverAllNineBanks) {
  // Group g holds IRs 8g .. 8g + 7; the factory bank is bank 8, groups 32..35.
  const Replies first = Send(RequestNames(0));
  ASSERT_EQ(first.size(), 1u);
  ExpectRecordMessage(first[0], 0x6B, 0);
  const Bytes names = DataOf(first[0]);
  EXPECT_EQ(std::string(names.begin(), names.begin() + 32),
            "Demo Greenback 4x12" + std::string(13, ' '));
  EXPECT_EQ(std::string(names.begin() + 4 * 32, names.begin() + 5 * 32), std::string(32, ' '))
      << "an unused slot is 32 spaces";

  const Bytes bank = DataOf(Send(RequestNames(35)).at(0));
  for (int k = 0; k < 8; ++k) {
    const IrImage& image = mPedal.State().factoryBankIrs[24 + k];
    EXPECT_EQ(Bytes(bank.begin() + 32 * k, bank.begin() + 32 * (k + 1)),
              Bytes(image.begin() + 4, image.begin() + 36));
    EXPECT_NE(bank[32 * k], ' ');
  }
  const Bytes user = DataOf(Send(RequestNames(16)).at(0));  // IRs 128..135
  EXPECT_EQ(std::string(user.begin() + 2 * 32, user.begin() + 3 * 32),
            "Demo Ribbon Blend" + std::string(15, ' '));
}

TEST_F(PedalTest, IrNameBytesAboveSevenBitsAreSentAsQuestionMarks) {
  mPedal.State().userIrs[9][4] = 0xE9;
  const Bytes names = DataOf(Send(RequestNames(1)).at(0));
  EXPECT_EQ(names[32], '?');
}

}  // namespace
}  // namespace qd3::sim::test
