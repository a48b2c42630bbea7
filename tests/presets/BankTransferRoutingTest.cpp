// The one router the editor and qd3ctl share: which transfer a reply reaches and which
// transfer a tick serves.

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

}  // namespace
}  // namespace qd3
