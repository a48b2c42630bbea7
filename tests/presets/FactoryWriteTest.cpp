// The factory-bank write: bracket, pacing, refusals, stalls and the version check.

#include <gtest/gtest.h>

#include "presets/FactoryWrite.h"
#include "protocol/MessageBuilders.h"
#include "tests/support/BankTestSupport.h"

namespace qd3 {
namespace {

Bytes FactoryBank() {
  Bytes bank;
  for (int slot = 0; slot < kPresetCount; ++slot) {
    std::vector<uint8_t> record(kRecordSize, static_cast<uint8_t>(slot));
    record[0] = 1;
    record[1] = 0;
    const Bytes m = BuildWriteFactoryPreset(slot, record);
    bank.insert(bank.end(), m.begin(), m.end());
  }
  return bank;
}

struct Factory : ::testing::Test {
  DeviceSession session;
  FactoryWrite write{session};
  std::vector<Bytes> sent;

  // One timer tick: the watch first, then the step when `factoryNext` is set.
  TransferStep Tick() {
    TransferStep step = write.OnWatchTick();
    if (step.Empty() && session.factoryNext) step = write.OnTick();
    for (const Bytes& m : step.messages) sent.push_back(m);
    return step;
  }
  TransferStep Take(TransferStep step) {
    for (const Bytes& m : step.messages) sent.push_back(m);
    return step;
  }
};

TEST_F(Factory, WritesAll128BracketedThenResetsPresets) {
  const Bytes bank = FactoryBank();
  ASSERT_EQ(bank.size(), kFactoryBankSize);
  ASSERT_EQ(write.Start(bank).overlay, ProgressOverlay::kShow);
  EXPECT_EQ(session.factoryTotal, 128);
  TransferStep finished;
  std::vector<double> progress;
  for (int tick = 0; tick < 400 && finished.end == TransferEnd::kRunning; ++tick) {
    const TransferStep step = Tick();
    if (step.progress) progress.push_back(*step.progress);
    if (!step.messages.empty() && step.messages[0][kCommandOffset] == kCmdWriteFactoryPreset) {
      finished = Take(write.OnWriteAck());
    }
  }
  ASSERT_EQ(finished.end, TransferEnd::kFinished);
  EXPECT_EQ(finished.overlay, ProgressOverlay::kHide);
  ASSERT_EQ(sent.size(), 1u + 128u + 2u);
  EXPECT_EQ(sent.front(), BuildBulkBegin());
  for (int k = 0; k < 128; ++k) {
    const auto at = bank.begin() + k * 267;
    EXPECT_EQ(sent[static_cast<std::size_t>(k) + 1], Bytes(at, at + 267)) << k;
  }
  EXPECT_EQ(sent[129], BuildBulkEnd());
  EXPECT_EQ(sent[130], BuildFactoryReset(1));
  ASSERT_EQ(progress.size(), 128u);
  EXPECT_DOUBLE_EQ(progress.front(), 1.0 / 128);
  EXPECT_DOUBLE_EQ(progress.back(), 1.0);
  write.OnResetDone();
  EXPECT_FALSE(write.Running());
}

TEST_F(Factory, RefusalOfMessage40ResendsMessage40) {
  write.Start(FactoryBank());
  Tick();  // bracket
  for (int k = 0; k < 40; ++k) {
    Tick();
    write.OnWriteAck();
  }
  const TransferStep forty = Tick();
  ASSERT_EQ(forty.messages.size(), 1u);
  EXPECT_EQ(forty.messages[0][7], 40);
  write.OnWriteNak();
  const TransferStep again = Tick();
  ASSERT_EQ(again.messages.size(), 1u);
  EXPECT_EQ(again.messages[0], forty.messages[0]);
}

TEST_F(Factory, EleventhRefusalInARowStops) {
  write.Start(FactoryBank());
  Tick();
  Tick();  // message 0
  for (int i = 0; i < kFactoryMaxResends; ++i) {
    EXPECT_TRUE(write.OnWriteNak().Empty());
    ASSERT_EQ(Tick().messages.size(), 1u) << i;
  }
  const TransferStep stop = Take(write.OnWriteNak());
  EXPECT_EQ(stop.end, TransferEnd::kFailed);
  EXPECT_EQ(stop.message, "Communication error!");
  EXPECT_EQ(stop.overlay, ProgressOverlay::kHide);
  ASSERT_EQ(stop.messages.size(), 1u);
  EXPECT_EQ(stop.messages[0], BuildBulkEnd());
  EXPECT_FALSE(session.factoryNext);
  EXPECT_TRUE(Tick().Empty());
}

TEST_F(Factory, RefusalsCountOnlyInARow) {
  write.Start(FactoryBank());
  Tick();
  for (int round = 0; round < 3; ++round) {
    for (int i = 0; i < kFactoryMaxResends; ++i) {
      Tick();
      write.OnWriteNak();
    }
    Tick();
    write.OnWriteAck();
  }
  EXPECT_TRUE(write.Running());
  EXPECT_EQ(session.factoryIndex, 3);
}

TEST_F(Factory, StrayAcknowledgementNeverStartsAReset) {
  // An acknowledgement that arrives with no factory write running (after a bank import
  // ended, say) must not send kCmdFactoryReset.
  EXPECT_TRUE(Take(write.OnWriteAck()).Empty());
  EXPECT_TRUE(write.OnWriteNext().Empty());
  EXPECT_TRUE(sent.empty());
  EXPECT_EQ(session.factoryIndex, 0);
}

TEST_F(Factory, SilentPedalStopsAfterFiveSeconds) {
  write.Start(FactoryBank());
  Tick();
  Tick();  // message 0, never answered
  for (int i = 0; i < kReplyStallTicks; ++i) ASSERT_TRUE(Tick().Empty()) << i;
  const TransferStep stop = Tick();
  EXPECT_EQ(stop.end, TransferEnd::kFailed);
  EXPECT_EQ(stop.message, kTextFactoryStalled);
  EXPECT_FALSE(write.Running());
}

TEST_F(Factory, UnconfirmedResetIsReported) {
  const Bytes one = BuildWriteFactoryPreset(0, std::vector<uint8_t>(kRecordSize, 0));
  write.Start(one);
  Tick();
  Tick();
  EXPECT_EQ(write.OnWriteAck().end, TransferEnd::kFinished);
  for (int i = 0; i < kReplyStallTicks; ++i) Tick();
  EXPECT_EQ(Tick().message, kTextFactoryResetUnconfirmed);
}

TEST(FactoryBankVersion, WarningAndRewrite) {
  Bytes bank = FactoryBank();
  EXPECT_FALSE(FactoryBankVersionWarning(bank));
  for (std::size_t i = 0; i < bank.size(); i += 267) bank[i + 6] = 10;
  EXPECT_EQ(*FactoryBankVersionWarning(bank),
            "File version is 1.0. This can cause incompatibility problems. \nAre you sure you "
            "want to use it?");
  SetFactoryBankVersion(bank);
  EXPECT_EQ(bank, FactoryBank());
  EXPECT_FALSE(FactoryBankVersionWarning({}));
}

}  // namespace
}  // namespace qd3
