// The acknowledged writes: bank import (restore) and factory-bank update.

#include <gtest/gtest.h>

#include "simulator/DefaultState.h"
#include "tests/simulator/SimTestSupport.h"

namespace qd3::sim::test {
namespace {

constexpr const char* kWriteAck = "F0 00 3F 6B 03 71 F7";
constexpr const char* kWriteNak = "F0 00 3F 6B 03 72 F7";
constexpr const char* kWriteNext = "F0 00 3F 6B 03 73 F7";
constexpr const char* kFactoryAck = "F0 00 3F 6B 03 7D F7";
constexpr const char* kFactoryNak = "F0 00 3F 6B 03 7E F7";

// What the editor does with a recorded bank message before replaying it: new command
// byte and, for the IR chunks, the IR checksum summed again over the whole transfer.
class BankReplay {
 public:
  Bytes Rewrite(Bytes message) {
    switch (message[5]) {
      case 0x41:
        message[5] = 0x7F;
        break;
      case 0x60:
        message[5] = 0x77;
        mSum = Sum(message, 12, 268);
        break;
      case 0x65:
        message[5] = 0x78;
        mSum += Sum(message, 7, 263);
        break;
      case 0x66: {
        message[5] = 0x79;
        const std::size_t n = message.size();
        mSum = (mSum + Sum(message, 7, n - 3)) & 0x3FFF;
        message[n - 3] = static_cast<uint8_t>(mSum >> 7);
        message[n - 2] = static_cast<uint8_t>(mSum & 0x7F);
        break;
      }
      default:
        break;
    }
    return message;
  }

 private:
  static uint32_t Sum(const Bytes& m, std::size_t from, std::size_t to) {
    uint32_t sum = 0;
    for (std::size_t i = from; i < to; ++i) sum += m[i];
    return sum;
  }
  uint32_t mSum = 0;
};

Bytes RequestPreset(int slot) {
  return {0xF0, 0x00, 0x3F, 0x6B, 0x03, 0x40, 0x0B, static_cast<uint8_t>(slot), 0xF7};
}
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

std::vector<Bytes> Replayed(const Replies& recorded) {
  BankReplay replay;
  std::vector<Bytes> out;
  for (const Bytes& m : recorded) out.push_back(replay.Rewrite(m));
  return out;
}

TEST_F(PedalTest, RestoredPresetIsStoredAndAcknowledged) {
  PedalModel other;
  other.State().presets[12] = DefaultPresetRecord(99);
  const std::vector<Bytes> restore = Replayed(other.Receive(RequestPreset(12)));
  ASSERT_EQ(restore.size(), 1u);
  EXPECT_EQ(Send(restore[0]), Replies{Hex(kWriteAck)});
  EXPECT_EQ(mPedal.State().presets[12], DefaultPresetRecord(99));
}

TEST_F(PedalTest, RestoredIrIsAnsweredWithNextThenAck) {
  PedalModel other;
  other.State().userIrs[3] = MakeSyntheticIr("Restored", 77);
  const std::vector<Bytes> restore = Replayed(other.Receive(RequestIr(3)));
  ASSERT_EQ(restore.size(), 11u);
  EXPECT_EQ(Send(restore[0]), Replies{Hex(kWriteNext)});
  for (std::size_t i = 1; i < 10; ++i) EXPECT_TRUE(Send(restore[i]).empty()) << i;
  EXPECT_EQ(Send(restore[10]), Replies{Hex(kWriteAck)});
  EXPECT_EQ(mPedal.State().userIrs[3], MakeSyntheticIr("Restored", 77));
}

TEST_F(PedalTest, BankOfOnePedalRestoresIntoAnother) {
  PedalModel source;
  for (int slot = 0; slot < 128; ++slot) {
    source.State().presets[slot] = DefaultPresetRecord((slot + 5) % 128);
  }
  source.State().userIrs[1] = MakeSyntheticIr("Exported One", 5);
  source.State().userIrs[130] = MakeSyntheticIr("Exported Two", 6);

  Replies bank;
  for (int slot = 0; slot < 128; ++slot) {
    for (Bytes& m : source.Receive(RequestPreset(slot))) bank.push_back(std::move(m));
  }
  for (const int number : {1, 130}) {
    for (Bytes& m : source.Receive(RequestIr(number))) bank.push_back(std::move(m));
  }
  ASSERT_EQ(bank.size(), 128u + 22u);

  mPedal.Receive(Hex("F0 00 3F 6B 03 5A 0B F7"));
  int acks = 0;
  int nexts = 0;
  for (const Bytes& message : Replayed(bank)) {
    for (const Bytes& reply : Send(message)) {
      acks += reply == Hex(kWriteAck);
      nexts += reply == Hex(kWriteNext);
      EXPECT_NE(reply, Hex(kWriteNak)) << mLog;
    }
  }
  mPedal.Receive(Hex("F0 00 3F 6B 03 5B 0B F7"));
  EXPECT_EQ(acks, 128 + 2);
  EXPECT_EQ(nexts, 2);
  EXPECT_EQ(mPedal.State().presets, source.State().presets);
  EXPECT_EQ(mPedal.State().userIrs[1], source.State().userIrs[1]);
  EXPECT_EQ(mPedal.State().userIrs[130], source.State().userIrs[130]);
  EXPECT_EQ(mPedal.State().editBuffer, source.State().presets[0]) << "slot 0 is current";
}

TEST_F(PedalTest, RefusedWriteLeavesTheSlotUnchanged) {
  const Record before = mPedal.State().presets[40];
  const Bytes restore = BuildRestorePreset(40, DefaultPresetRecord(41));
  mPedal.Faults().refuseWrites = 1;
  EXPECT_EQ(Send(restore), Replies{Hex(kWriteNak)});
  EXPECT_EQ(mPedal.State().presets[40], before);
  // The refusal was for one write only: the same message is taken the second time.
  EXPECT_EQ(Send(restore), Replies{Hex(kWriteAck)});
  EXPECT_EQ(mPedal.State().presets[40], DefaultPresetRecord(41));
}

TEST_F(PedalTest, RefusedFactoryWriteLeavesTheBankUnchanged) {
  const Record before = mPedal.State().factoryPresets[40];
  mPedal.Faults().refuseWrites = 1;
  EXPECT_EQ(Send(BuildWriteFactoryPreset(40, DefaultPresetRecord(41))), Replies{Hex(kFactoryNak)});
  EXPECT_EQ(mPedal.State().factoryPresets[40], before);
  EXPECT_EQ(Send(BuildWriteFactoryPreset(40, DefaultPresetRecord(41))), Replies{Hex(kFactoryAck)});
  EXPECT_EQ(mPedal.State().factoryPresets[40], DefaultPresetRecord(41));
}

TEST_F(PedalTest, RefusedIrUploadAndRestoreLeaveTheIrUnchanged) {
  const IrImage before = mPedal.State().userIrs[20];
  mPedal.Faults().refuseWrites = 2;
  const IrImage image = MakeSyntheticIr("Refused", 3);
  EXPECT_EQ(SendAll(IrUploadMessages(image, 20)).back(), Hex("F0 00 3F 6B 03 62 F7"));
  PedalModel other;
  other.State().userIrs[20] = image;
  EXPECT_EQ(SendAll(Replayed(other.Receive(RequestIr(20)))).back(), Hex(kWriteNak));
  EXPECT_EQ(mPedal.State().userIrs[20], before);
  EXPECT_EQ(mPedal.Faults().refuseWrites, 0);
}

struct BadWrite {
  const char* what;
  Bytes message;
  const char* reply;
};

void PrintTo(const BadWrite& c, std::ostream* os) {
  *os << c.what;
}

class BadWrites : public PedalTest, public ::testing::WithParamInterface<BadWrite> {};

TEST_P(BadWrites, AreRefusedAndChangeNothing) {
  const PedalState before = mPedal.State();
  EXPECT_EQ(Send(GetParam().message), Replies{Hex(GetParam().reply)}) << GetParam().what;
  EXPECT_EQ(mPedal.State(), before);
}

Bytes WithBadChecksum(Bytes message) {
  message[265] ^= 1;
  return message;
}

Record WithFormat(uint8_t major) {
  Record record = DefaultPresetRecord(1);
  record[0] = major;
  return record;
}

Bytes RestoreIrBegin(int number) {
  PedalModel source;
  Bytes begin = source.Receive(RequestIr(0)).at(0);
  begin[5] = 0x77;
  begin[7] = static_cast<uint8_t>(number >> 7);
  begin[8] = static_cast<uint8_t>(number & 0x7F);
  return begin;
}

Bytes RestoreIrEndAlone() {
  PedalModel source;
  Bytes end = source.Receive(RequestIr(0)).back();
  end[5] = 0x79;
  return end;
}

INSTANTIATE_TEST_SUITE_P(
    Pedal, BadWrites,
    ::testing::Values(
        BadWrite{"restore, bad checksum",
                 WithBadChecksum(BuildRestorePreset(2, DefaultPresetRecord(9))), kWriteNak},
        BadWrite{"restore, format 2.0", BuildRestorePreset(2, WithFormat(2)), kWriteNak},
        BadWrite{"factory, bad checksum",
                 WithBadChecksum(BuildWriteFactoryPreset(2, DefaultPresetRecord(9))), kFactoryNak},
        BadWrite{"factory, format 0.0", BuildWriteFactoryPreset(2, WithFormat(0)), kFactoryNak},
        BadWrite{"IR restore into the factory bank", RestoreIrBegin(256), kWriteNak},
        BadWrite{"IR restore end without begin", RestoreIrEndAlone(), kWriteNak}));

TEST_F(PedalTest, RestoreWithWrongIrChecksumIsRefused) {
  PedalModel source;
  std::vector<Bytes> restore = Replayed(source.Receive(RequestIr(2)));
  Bytes& end = restore.back();
  end[end.size() - 2] ^= 1;
  const IrImage before = mPedal.State().userIrs[2];
  mPedal.State().userIrs[2] = EmptyIrImage();
  EXPECT_EQ(SendAll(restore), (Replies{Hex(kWriteNext), Hex(kWriteNak)}));
  EXPECT_EQ(mPedal.State().userIrs[2], EmptyIrImage());
  EXPECT_NE(before, EmptyIrImage());
}

TEST_F(PedalTest, ProtectionRefusesRestoresButNotFactoryWrites) {
  mPedal.TurnKnob(88, 1);
  const Record before = mPedal.State().presets[6];
  EXPECT_EQ(Send(BuildRestorePreset(6, DefaultPresetRecord(60))), Replies{Hex(kWriteNak)});
  EXPECT_EQ(mPedal.State().presets[6], before);
  EXPECT_EQ(Send(BuildWriteFactoryPreset(6, DefaultPresetRecord(60))), Replies{Hex(kFactoryAck)});
}

TEST_F(PedalTest, ReplayedMessagesKeepTheirRecordedVersionByte) {
  Bytes restore = BuildRestorePreset(9, DefaultPresetRecord(10));
  restore[6] = 0x0A;
  EXPECT_EQ(Send(restore), Replies{Hex(kWriteAck)});
  Bytes store = BuildStorePreset(9, DefaultPresetRecord(11));
  store[6] = 0x0A;
  Send(store);
  EXPECT_EQ(mPedal.State().presets[9], DefaultPresetRecord(10))
      << "a store the editor built must carry 0x0B";
}

}  // namespace
}  // namespace qd3::sim::test
