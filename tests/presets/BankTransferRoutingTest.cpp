// The one router the editor and qd3ctl share: which transfer a reply reaches, which
// transfer a tick serves, and what leaves on an answer rather than on the next tick.

#include <gtest/gtest.h>

#include "presets/BankTransfers.h"
#include "protocol/MessageMatch.h"
#include "tests/support/BankTestSupport.h"

namespace qd3 {
namespace {

using test::Concat;
using test::PresetDump;

struct Router : ::testing::Test {
  DeviceSession session;
  BankTransfers transfers{session};

  Router() { session.connected = true; }
};

TEST_F(Router, NothingRunningTakesNoTickAndNoReply) {
  EXPECT_FALSE(transfers.OnTick().has_value());
  EXPECT_FALSE(transfers.OnPresetDump(PresetDump(0)).has_value());
  EXPECT_FALSE(transfers.OnIrMessage(kCmdIrEnd, PresetDump(0)).has_value());
}

TEST_F(Router, ARunningExportTakesTheTickAndTheDumps) {
  transfers.Export().Start();
  const auto routed = transfers.OnTick();
  ASSERT_TRUE(routed.has_value());
  EXPECT_EQ(routed->kind, BankTransferKind::kExport);
  ASSERT_EQ(routed->step.messages.size(), 1u);
  EXPECT_EQ(MatchToDevice(routed->step.messages[0]), kCmdRequestPreset);
  EXPECT_TRUE(transfers.OnPresetDump(PresetDump(0)).has_value());
  // Other long messages are the export's too while it runs, and change nothing.
  const auto other = transfers.OnIrMessage(kCmdIrNames, PresetDump(0));
  ASSERT_TRUE(other.has_value());
  EXPECT_TRUE(other->messages.empty());
}

TEST_F(Router, TheFactoryWriteComesBeforeTheImportWhichComesBeforeTheExport) {
  transfers.Export().Start();
  ASSERT_EQ(transfers.Import().Start(Concat({PresetDump(0), PresetDump(1)})).end,
            TransferEnd::kRunning);
  EXPECT_EQ(transfers.OnTick()->kind, BankTransferKind::kImport);
  const Bytes factoryMessage = PresetDump(2);
  transfers.Factory().Start(factoryMessage);
  EXPECT_EQ(transfers.OnTick()->kind, BankTransferKind::kFactoryWrite);
}

TEST_F(Router, WriteRepliesReachTheImportWhileItRunsAndNeverStartAFactoryReset) {
  const RoutedStep stray = transfers.OnWriteReply(kCmdWriteAck);
  EXPECT_EQ(stray.kind, BankTransferKind::kFactoryWrite);
  EXPECT_TRUE(stray.step.messages.empty());
  EXPECT_EQ(stray.step.end, TransferEnd::kRunning);

  ASSERT_EQ(transfers.Import().Start(Concat({PresetDump(0)})).end, TransferEnd::kRunning);
  EXPECT_EQ(transfers.OnWriteReply(kCmdWriteNak).kind, BankTransferKind::kImport);
}

// The commands a step sends, in order.
std::vector<int> Commands(const TransferStep& step) {
  std::vector<int> commands;
  for (const Bytes& m : step.messages) commands.push_back(m[kCommandOffset]);
  return commands;
}

// On each answer the next message leaves from the reply's handler; a refusal, an IR chunk
// (never acknowledged) and a finished export wait for the tick. One per tick leaves
// nothing from a handler.
TEST_F(Router, OnTheAnswerTheNextMessageLeavesAtOnceExceptWhatWaitsForTheTick) {
  for (const TransferPacing pacing : {TransferPacing::kOnAnswer, TransferPacing::kOnTick}) {
    SCOPED_TRACE(pacing == TransferPacing::kOnAnswer ? "on the answer" : "on the tick");
    const bool onAnswer = pacing == TransferPacing::kOnAnswer;
    DeviceSession s;
    s.connected = true;
    BankTransfers router(s);
    router.SetPacing(pacing);
    using V = std::vector<int>;

    // The import: two presets, then an IR transfer of begin, one chunk and end.
    std::vector<Bytes> bank = {PresetDump(0), PresetDump(1)};
    for (Bytes& m : test::IrTransfer(7, 600)) bank.push_back(m);
    ASSERT_EQ(bank.size(), 5u);
    ASSERT_EQ(router.Import().Start(Concat(bank)).end, TransferEnd::kRunning);
    EXPECT_EQ(Commands(router.OnTick()->step), V{kCmdBulkBegin});
    EXPECT_EQ(Commands(router.OnTick()->step), V{kCmdRestorePreset});
    EXPECT_EQ(Commands(router.OnWriteReply(kCmdWriteAck).step),
              onAnswer ? V{kCmdRestorePreset} : V{});
    if (!onAnswer) {
      EXPECT_EQ(Commands(router.OnTick()->step), V{kCmdRestorePreset});
    }
    EXPECT_EQ(Commands(router.OnWriteReply(kCmdWriteNext).step),
              onAnswer ? V{kCmdRestoreIrBegin} : V{});
    if (!onAnswer) {
      EXPECT_EQ(Commands(router.OnTick()->step), V{kCmdRestoreIrBegin});
    }
    EXPECT_EQ(Commands(router.OnWriteReply(kCmdWriteAck).step), V{}) << "a chunk is next";
    EXPECT_EQ(Commands(router.OnTick()->step), V{kCmdRestoreIrData});
    EXPECT_EQ(Commands(router.OnTick()->step), V{kCmdRestoreIrEnd});
    EXPECT_EQ(Commands(router.OnWriteReply(kCmdWriteAck).step), V{kCmdBulkEnd});
    EXPECT_FALSE(s.restoreActive);

    // The export: each whole dump asks for the next slot; a damaged one for the same.
    router.Export().Start();
    const auto first = router.OnTick();
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(Commands(first->step), V{kCmdRequestPreset});
    const TransferStep next = *router.OnPresetDump(PresetDump(0));
    ASSERT_EQ(next.messages.size(), onAnswer ? 1u : 0u);
    if (onAnswer) {
      EXPECT_EQ(next.messages[0][kSelectorOffset], 1);
    }
    if (!onAnswer) router.OnTick();
    Bytes damaged = PresetDump(1);
    damaged[kChecksumLoOffset] ^= 1;
    const TransferStep again = *router.OnPresetDump(damaged);
    ASSERT_EQ(again.messages.size(), onAnswer ? 1u : 0u);
    if (onAnswer) {
      EXPECT_EQ(again.messages[0][kSelectorOffset], 1);
    }

    // The factory write: a refusal is written again on the tick, never at once.
    const Bytes factory = Concat({PresetDump(0), PresetDump(1)});
    router.Factory().Start(factory);
    EXPECT_EQ(Commands(router.OnTick()->step), V{kCmdBulkBegin});
    EXPECT_EQ(router.OnTick()->step.messages.size(), 1u);
    EXPECT_EQ(router.OnWriteReply(kCmdWriteNak).step.messages.size(), 0u);
    EXPECT_EQ(router.OnTick()->step.messages.size(), 1u);
    EXPECT_EQ(router.OnWriteReply(kCmdWriteAck).step.messages.size(), onAnswer ? 1u : 0u);
  }
}

}  // namespace
}  // namespace qd3
