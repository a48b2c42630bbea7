// backup and restore in-process: the real session driver and commands against the
// simulated pedal on virtual time.

#include <gtest/gtest.h>

#include <sstream>

#include "cli/ExitCodes.h"
#include "cli/SessionDriver.h"
#include "presets/BankExport.h"
#include "presets/BankFile.h"
#include "presets/SafetyBackup.h"
#include "protocol/MessageMatch.h"
#include "simulator/DefaultState.h"
#include "tests/cli/SimSession.h"
#include "tests/support/ReferenceExport.h"
#include "tests/support/TempFolder.h"

namespace qd3 {
namespace {

using cli::CliArgs;
using cli::Command;
using test::SessionArgs;
using test::SimRig;
using test::SimTicks;

using Reference = test::ReferenceBank;
using test::ReferenceExport;

// A pedal as restore finds it: every slot and every user IR different from the defaults.
sim::PedalState BlankPedal() {
  sim::PedalState state = sim::DefaultPedalState();
  for (auto& record : state.presets) {
    record.fill(0);
    record[0] = 1;
    for (std::size_t i = 2; i < 34; ++i) record[i] = ' ';
  }
  for (auto& ir : state.userIrs) ir = sim::EmptyIrImage();
  return state;
}

TEST(CliBackup, FileIsByteIdenticalToTheEditorsExportAndThePedalsReplies) {
  SimRig rig;
  const auto path = rig.folder.Path() / "bank.q3b";
  const int code =
      cli::RunBackup(SessionArgs(Command::kBackup, path), rig.context, rig.out, rig.err);
  ASSERT_EQ(code, cli::kExitOk) << rig.err.str();

  sim::PedalModel same(sim::DefaultPedalState());
  const Reference ref = ReferenceExport(same);
  const Bytes written = test::ReadBytes(path);
  EXPECT_EQ(written, ref.file);
  EXPECT_EQ(written, ref.replies);
  const BankFileCheck check = ValidateBankFile(written);
  EXPECT_TRUE(check.Valid()) << check.reason;
  EXPECT_EQ(check.messageCount, 128 + 5 * 11);  // user IRs 0..3 and 130, 11 messages each
  EXPECT_FALSE(std::filesystem::exists(TempPathFor(path)));
  EXPECT_NE(rig.err.str().find("backup: 100 %"), std::string::npos) << rig.err.str();
}

TEST(CliBackup, AsksOnEachAnswerAndPollsOnTheFirstTick) {
  SimRig rig;
  cli::SessionDriver driver(rig.link, rig.ticks);
  ASSERT_TRUE(driver.OpenPorts(sim::kSimulatorPortName, sim::kSimulatorPortName).Ok());
  ASSERT_TRUE(driver.Connect().Ok());
  // Poll, checksum block, global block and current preset: all within a few ticks.
  EXPECT_LE(rig.ticks.ticks, 3);
  EXPECT_EQ(driver.FirmwareVersion(), 11);
  EXPECT_EQ(driver.Serial(), sim::kDefaultSerial);
  const int before = rig.ticks.ticks;
  std::vector<uint8_t> bank;
  ASSERT_TRUE(driver.Backup(bank, nullptr).Ok());
  // 128 preset requests and 5 IR requests, each as the answer before it arrives: about
  // 1.3 s on the wire (one tick sent the first; one more finishes), where one request per
  // tick took 135 ticks.
  EXPECT_GE(rig.ticks.ticks - before, 12);
  EXPECT_LE(rig.ticks.ticks - before, 16);
}

TEST(CliBackup, SilentPedalExitsThreeAfterTenSecondsWithoutAFile) {
  SimRig rig;
  rig.link.Pedal().SetSilent(true);
  const auto path = rig.folder.Path() / "bank.q3b";
  const int code =
      cli::RunBackup(SessionArgs(Command::kBackup, path), rig.context, rig.out, rig.err);
  EXPECT_EQ(code, cli::kExitPedalFailed);
  EXPECT_EQ(rig.ticks.ticks, cli::kConnectTimeoutTicks);
  EXPECT_NE(rig.err.str().find("No answer from the pedal within 10 s"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(CliBackup, PedalThatStopsAnsweringMidwayStallsWithoutAFile) {
  SimRig rig;
  cli::SessionDriver driver(rig.link, rig.ticks);
  ASSERT_TRUE(driver.OpenPorts(sim::kSimulatorPortName, sim::kSimulatorPortName).Ok());
  ASSERT_TRUE(driver.Connect().Ok());
  rig.link.Pedal().DropNextReplies(1000);
  std::vector<uint8_t> bank;
  const cli::DriverOutcome outcome = driver.Backup(bank, nullptr);
  EXPECT_EQ(outcome.exitCode, cli::kExitPedalFailed);
  EXPECT_EQ(outcome.message, kTextExportStalled);
  EXPECT_TRUE(bank.empty());
}

TEST(CliBackup, UnknownPortNameExitsThreeAndSendsNothing) {
  SimRig rig;
  CliArgs args = SessionArgs(Command::kBackup, rig.folder.Path() / "bank.q3b");
  args.inPort = "No Such Port";
  EXPECT_EQ(cli::RunBackup(args, rig.context, rig.out, rig.err), cli::kExitPedalFailed);
  EXPECT_NE(rig.err.str().find("No Such Port"), std::string::npos);
  EXPECT_EQ(rig.Handled(), 0);
}

struct RefusedVersion {
  int version;
  const char* message;
};
class CliVersionCheck : public testing::TestWithParam<RefusedVersion> {};

TEST_P(CliVersionCheck, RefusedFirmwareExitsThreeWithTheEditorsMessage) {
  SimRig rig;
  rig.link.Pedal().ReportVersion(GetParam().version);
  const int code = cli::RunBackup(SessionArgs(Command::kBackup, rig.folder.Path() / "b.q3b"),
                                  rig.context, rig.out, rig.err);
  EXPECT_EQ(code, cli::kExitPedalFailed);
  EXPECT_NE(rig.err.str().find(GetParam().message), std::string::npos) << rig.err.str();
}

INSTANTIATE_TEST_SUITE_P(Versions, CliVersionCheck,
                         testing::Values(RefusedVersion{9,
                                                        "Please upgrade QD3 to actual version 11."},
                                         RefusedVersion{120, "Editor version out of date."}));

// ---- restore ----------------------------------------------------------------------------------

Bytes DefaultBank() {
  sim::PedalModel pedal(sim::DefaultPedalState());
  return ReferenceExport(pedal).file;
}

TEST(CliRestore, BlankPedalGetsEverySlotAndIrBackAndIsVerified) {
  const sim::PedalState original = sim::DefaultPedalState();
  SimRig rig(BlankPedal());
  const auto path = rig.folder.Path() / "bank.q3b";
  test::WriteBytes(path, DefaultBank());
  CliArgs args = SessionArgs(Command::kRestore, path);
  args.yes = true;
  args.noSafetyBackup = true;
  const int code = cli::RunRestore(args, rig.context, rig.out, rig.err);
  ASSERT_EQ(code, cli::kExitOk) << rig.err.str();
  EXPECT_EQ(rig.out.str(), std::string(kTextRestoreVerified) + "\n");

  const sim::PedalState after = rig.Snapshot();
  EXPECT_EQ(after.presets, original.presets);
  for (int n : {0, 1, 2, 3, 130}) {
    EXPECT_EQ(after.userIrs[static_cast<std::size_t>(n)],
              original.userIrs[static_cast<std::size_t>(n)])
        << "user IR " << n;
  }
  EXPECT_FALSE(std::filesystem::exists(rig.context.baseFolder / kBackupsFolderName));
}

TEST(CliRestore, SafetyBackupHoldsThePedalAsItWasBefore) {
  SimRig rig(BlankPedal());
  sim::PedalModel before(BlankPedal());
  const Bytes expected = ReferenceExport(before).file;
  const auto path = rig.folder.Path() / "bank.q3b";
  test::WriteBytes(path, DefaultBank());
  CliArgs args = SessionArgs(Command::kRestore, path);
  args.yes = true;
  ASSERT_EQ(cli::RunRestore(args, rig.context, rig.out, rig.err), cli::kExitOk) << rig.err.str();
  const auto safety = SafetyBackupPath(rig.context.baseFolder, test::FixedLocalTime());
  EXPECT_EQ(safety.filename().string(), "QD3 backup 2024-03-07 090503.q3b");
  EXPECT_EQ(test::ReadBytes(safety), expected);
}

TEST(CliRestore, PedalRefusalExitsThreeWithCommunicationError) {
  SimRig rig;
  const auto path = rig.folder.Path() / "bank.q3b";
  test::WriteBytes(path, DefaultBank());
  rig.link.Pedal().RefuseNextWrites(1);
  CliArgs args = SessionArgs(Command::kRestore, path);
  args.yes = true;
  args.noSafetyBackup = true;
  EXPECT_EQ(cli::RunRestore(args, rig.context, rig.out, rig.err), cli::kExitPedalFailed);
  EXPECT_NE(rig.err.str().find("Communication error!"), std::string::npos) << rig.err.str();
}

TEST(CliRestore, WithoutTerminalAndWithoutYesRefusesBeforeTalkingToThePedal) {
  SimRig rig;
  const auto path = rig.folder.Path() / "bank.q3b";
  test::WriteBytes(path, DefaultBank());
  EXPECT_EQ(cli::RunRestore(SessionArgs(Command::kRestore, path), rig.context, rig.out, rig.err),
            cli::kExitUsage);
  EXPECT_NE(rig.err.str().find("--yes"), std::string::npos);
  EXPECT_EQ(rig.Handled(), 0);
}

TEST(CliRestore, AnsweringNoOnTheTerminalSendsNothing) {
  SimRig rig;
  const auto path = rig.folder.Path() / "bank.q3b";
  test::WriteBytes(path, DefaultBank());
  std::string asked;
  rig.context.confirm = [&](const std::string& q) {
    asked = q;
    return false;
  };
  EXPECT_EQ(cli::RunRestore(SessionArgs(Command::kRestore, path), rig.context, rig.out, rig.err),
            cli::kExitUsage);
  EXPECT_EQ(asked, "This operation will overwrite the current Presets! Are you sure to continue?");
  EXPECT_EQ(rig.Handled(), 0);
}

TEST(CliRestore, BrokenBankExitsTwoAndSendsNothing) {
  SimRig rig;
  const auto path = rig.folder.Path() / "bank.q3b";
  Bytes bank = DefaultBank();
  bank.resize(bank.size() - 1);  // the last message loses its 0xF7
  test::WriteBytes(path, bank);
  CliArgs args = SessionArgs(Command::kRestore, path);
  args.yes = true;
  EXPECT_EQ(cli::RunRestore(args, rig.context, rig.out, rig.err), cli::kExitBadFile);
  EXPECT_EQ(rig.Handled(), 0);
}

TEST(CliRestore, SilentPedalExitsThreeBeforeAnySafetyBackup) {
  SimRig rig;
  rig.link.Pedal().SetSilent(true);
  const auto path = rig.folder.Path() / "bank.q3b";
  test::WriteBytes(path, DefaultBank());
  CliArgs args = SessionArgs(Command::kRestore, path);
  args.yes = true;
  EXPECT_EQ(cli::RunRestore(args, rig.context, rig.out, rig.err), cli::kExitPedalFailed);
  EXPECT_FALSE(std::filesystem::exists(rig.context.baseFolder / kBackupsFolderName));
}

}  // namespace
}  // namespace qd3
