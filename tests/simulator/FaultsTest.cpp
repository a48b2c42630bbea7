// Fault injection on the model.

#include <gtest/gtest.h>

#include "protocol/Checksum14.h"
#include "protocol/IrReceiveState.h"
#include "tests/simulator/SimTestSupport.h"

namespace qd3::sim::test {
namespace {

constexpr const char* kPoll = "F0 00 3F 6B 03 55 0B 0F F7";

TEST_F(PedalTest, DroppedRepliesVanishOneByOne) {
  mPedal.Faults().dropReplies = 2;
  EXPECT_TRUE(Send(kPoll).empty());
  // An IR transfer is eleven replies: the first one is the second to drop.
  const Replies ir = Send("F0 00 3F 6B 03 69 0B 00 00 F7");
  ASSERT_EQ(ir.size(), 10u);
  EXPECT_EQ(ir[0].size(), 264u) << "the begin was dropped";
  EXPECT_EQ(Send(kPoll).size(), 1u);
  EXPECT_NE(mLog.find("[dropped]"), std::string::npos);
}

TEST_F(PedalTest, CorruptedChecksumHitsTheNextReplyThatHasOne) {
  mPedal.Faults().corruptNextChecksum = true;
  // A status reply has no checksum and passes untouched.
  EXPECT_EQ(Send("F0 00 3F 6B 03 56 0B 02 F7"), Replies{Hex("F0 00 3F 6B 03 57 F7")});
  const Bytes bad = Send(kPoll).at(0);
  EXPECT_FALSE(VerifyRecordChecksum(bad));
  EXPECT_EQ(bad[6], 11);
  EXPECT_TRUE(VerifyRecordChecksum(Send(kPoll).at(0))) << "only the one reply";
  EXPECT_NE(mLog.find("[checksum corrupted]"), std::string::npos);
}

TEST_F(PedalTest, CorruptedChecksumOfAnIrTransferIsInItsEnd) {
  mPedal.Faults().corruptNextChecksum = true;
  const Replies ir = Send("F0 00 3F 6B 03 69 0B 00 01 F7");
  ASSERT_EQ(ir.size(), 11u);
  IrReceiveState receive;
  receive.Begin(ir[0]);
  for (std::size_t i = 1; i < 10; ++i) receive.Data(ir[i]);
  ASSERT_EQ(receive.End(ir[10]), IrReceiveStatus::kComplete);
  EXPECT_FALSE(receive.Result().ChecksumMatches());
}

TEST_F(PedalTest, ADamagedIrChunkBreaksOnlyThatTransfersChecksum) {
  mPedal.Faults().damageNextIrChunk = true;
  for (const bool damaged : {true, false}) {
    const Replies ir = Send("F0 00 3F 6B 03 69 0B 00 01 F7");
    ASSERT_EQ(ir.size(), 11u);
    IrReceiveState receive;
    receive.Begin(ir[0]);
    for (std::size_t i = 1; i < 10; ++i) {
      for (const uint8_t b : std::span(ir[i]).subspan(1, ir[i].size() - 2)) ASSERT_LT(b, 0x80);
      receive.Data(ir[i]);
    }
    ASSERT_EQ(receive.End(ir[10]), IrReceiveStatus::kComplete);
    EXPECT_EQ(receive.Result().ChecksumMatches(), !damaged);
  }
  EXPECT_NE(mLog.find("[chunk damaged]"), std::string::npos);
}

TEST_F(PedalTest, CorruptedDumpAndNameGroup) {
  mPedal.Faults().corruptNextChecksum = true;
  EXPECT_FALSE(VerifyRecordChecksum(Send("F0 00 3F 6B 03 40 0B 05 F7").at(0)));
  mPedal.Faults().corruptNextChecksum = true;
  EXPECT_FALSE(VerifyRecordChecksum(Send("F0 00 3F 6B 03 6A 0B 00 F7").at(0)));
}

TEST_F(PedalTest, ReportedVersionOverridesOnlyTheReply) {
  mPedal.Faults().reportedVersion = 120;
  const Bytes reply = Send(kPoll).at(0);
  EXPECT_EQ(reply[6], 120);
  EXPECT_TRUE(VerifyRecordChecksum(reply));
  EXPECT_EQ(mPedal.State().firmwareVersion, 11);
  mPedal.Faults().reportedVersion.reset();
  EXPECT_EQ(Send(kPoll).at(0)[6], 11);
}

TEST_F(PedalTest, SilentPedalHearsAndSaysNothing) {
  mPedal.Faults().silent = true;
  const PedalState before = mPedal.State();
  EXPECT_TRUE(Send(kPoll).empty());
  EXPECT_TRUE(Send("F0 00 3F 6B 03 23 0B 05 F7").empty());
  EXPECT_EQ(mPedal.State(), before) << "the select never reached it";
  EXPECT_TRUE(mPedal.TurnKnob(1, 3).empty());
  EXPECT_EQ(RecordParam(mPedal.State().editBuffer, 1), 3) << "the knob still turns";
  EXPECT_NE(mLog.find("[unplugged]"), std::string::npos);

  mPedal.Faults().silent = false;
  EXPECT_EQ(Send(kPoll).size(), 1u);
}

}  // namespace
}  // namespace qd3::sim::test
