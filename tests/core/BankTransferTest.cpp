// Whole banks between the editor and the simulated pedal: the export's file is what the
// pedal sent, an import recreates a pedal and is verified, a refusal stops it without
// touching the cache, the safety backup comes first, and the factory update is bracketed
// and ends with the reset.
#include <algorithm>
#include <fstream>

#include "presets/BankFile.h"
#include "presets/SafetyBackup.h"
#include "presets/SlotLabels.h"
#include "protocol/DeviceReplies.h"
#include "protocol/MessageBuilders.h"
#include "tests/support/CoreHarness.h"
#include "tests/support/ScriptedPlatformServices.h"

namespace qd3::test {
namespace {

using ECall = ScriptedPlatformServices::ECall;

Bytes ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// A pedal whose every slot holds the same plain preset and whose user IRs are empty.
sim::PedalState BlankPedal() {
  sim::PedalState state = sim::DefaultPedalState();
  for (auto& record : state.presets) record = sim::DefaultPresetRecord(0);
  for (auto& ir : state.userIrs) ir = sim::EmptyIrImage();
  state.editBuffer = state.presets[0];
  return state;
}

// The default pedal with presets 3 and 9 using user IRs 3 and 140.
sim::PedalState PedalWithUserIrsInUse() {
  sim::PedalState state = sim::DefaultPedalState();
  auto use = [&](int slot, int modeParam, int highParam, int number) {
    sim::Record& r = state.presets[static_cast<size_t>(slot)];
    sim::RecordParam(r, modeParam) = 1;
    sim::RecordParam(r, highParam) = static_cast<uint8_t>(number >> 7);
    sim::RecordParam(r, highParam + 1) = static_cast<uint8_t>(number & 0x7F);
    state.userIrs[static_cast<size_t>(number)] =
        sim::MakeSyntheticIr("USED " + std::to_string(number), 7u + static_cast<uint32_t>(number));
  };
  use(3, sim::kParamIrModeA, sim::kParamIrAHigh, 3);
  use(9, sim::kParamIrModeB, sim::kParamIrBHigh, 140);
  return state;
}

class BankTransfers : public ::testing::Test {
 protected:
  void Open(CoreHarness& h) {
    h.editor.SetPlatformServices(&mPlatform);
    h.OpenWindow({1, 53, 54, 70, 71, 73, 74, 138, 139, 140});
    ASSERT_TRUE(h.ConnectAndSettle());
  }
  // Runs until the bank export is over (it ends by itself).
  void RunExport(CoreHarness& h) {
    ASSERT_TRUE(h.RunUntil([&] { return !h.editor.session.backupActive; }, 60s));
  }
  // Connects to `source` and exports its bank into its folder; the file's path.
  std::filesystem::path ExportedBank(CoreHarness& source) {
    Open(source);
    const auto file = source.folder.Path() / "bank.q3b";
    mPlatform.QueueSaveFileResult(file.string());
    source.editor.OnMenuCommand(kEditorCmdBankExport);
    RunExport(source);
    return file;
  }
  size_t Boxes(std::string_view containing) const {
    size_t n = 0;
    for (const auto& call : mPlatform.Calls()) {
      n += call.kind == ECall::kMessageBox && call.text.find(containing) != std::string::npos;
    }
    return n;
  }

  ScriptedPlatformServices mPlatform;
};

TEST_F(BankTransfers, AnExportIsExactlyWhatThePedalSentAndHoldsTheIrsInUse) {
  CoreHarness h(PedalWithUserIrsInUse());
  Open(h);
  const auto file = h.folder.Path() / "bank.q3b";
  mPlatform.QueueSaveFileResult(file.string());
  const size_t from = h.received.size();

  h.editor.OnMenuCommand(kEditorCmdBankExport);
  RunExport(h);

  Bytes expected;
  for (size_t i = from; i < h.received.size(); ++i) {
    expected.insert(expected.end(), h.received[i].begin(), h.received[i].end());
  }
  const Bytes written = ReadAll(file);
  EXPECT_EQ(written, expected);
  const BankFileCheck check = ValidateBankFile(written);
  EXPECT_TRUE(check.Valid()) << check.reason;
  EXPECT_EQ(Boxes("Finished successfully!"), 1u);
  std::vector<int> irs;
  for (const auto& m : BankMessages(written)) {
    const uint8_t* msg = written.data() + m.offset;
    if (msg[kCommandOffset] == kCmdIrBegin) irs.push_back(msg[7] * 128 + msg[8]);
  }
  EXPECT_NE(std::find(irs.begin(), irs.end(), 3), irs.end());
  EXPECT_NE(std::find(irs.begin(), irs.end(), 140), irs.end());
  EXPECT_TRUE(std::is_sorted(irs.begin(), irs.end())) << "wanted IRs are fetched in order";
}

// The import's last word: verified, and where the pedal's presets as they were are kept.
void ExpectVerifiedNamingTheBackup(const std::string& said) {
  EXPECT_EQ(said.rfind("All 128 presets restored and verified.\n\n", 0), 0u) << said;
  EXPECT_NE(said.find("were saved first to\n"), std::string::npos) << said;
  EXPECT_NE(said.find("Backups"), std::string::npos) << said;
}

TEST_F(BankTransfers, AnImportRecreatesThePedalAndIsVerifiedAfterReconnecting) {
  CoreHarness source(PedalWithUserIrsInUse());
  const auto file = ExportedBank(source);
  mPlatform.ClearCalls();

  CoreHarness target(BlankPedal());
  Open(target);
  mPlatform.QueueMessageBoxResult(EMsgBoxResult::OK);  // the overwrite question
  mPlatform.QueueOpenFileResult(file.string());
  target.editor.OnMenuCommand(kEditorCmdBankImport);
  // First the question, then the safety backup, then the import.
  ASSERT_TRUE(target.RunUntil([&] { return target.editor.session.restoreActive; }, 60s));
  ASSERT_TRUE(target.RunUntil([&] { return !target.editor.session.restoreActive; }, 120s));
  target.RunFor(30s);  // reconnect and resynchronise

  const auto want = source.link.Pedal().Inspect([](const sim::PedalModel& m) { return m.State(); });
  const auto got = target.link.Pedal().Inspect([](const sim::PedalModel& m) { return m.State(); });
  EXPECT_EQ(got.presets, want.presets);
  EXPECT_EQ(got.userIrs[3], want.userIrs[3]);
  EXPECT_EQ(got.userIrs[140], want.userIrs[140]);
  EXPECT_EQ(Boxes("This operation will overwrite the current Presets!"), 1u);
  EXPECT_EQ(Boxes("were saved first to"), 1u);
  EXPECT_TRUE(std::filesystem::exists(target.folder.Path() / "Backups"));
  ExpectVerifiedNamingTheBackup(target.editor.session.pendingMessage);
}

// Every message the editor sends, with the harness's virtual time.
struct TimedSend {
  std::chrono::microseconds at;
  Bytes message;
};
void RecordSends(CoreHarness& h, std::vector<TimedSend>& sends) {
  h.editor.SetDeviceMessageSink([&h, &sends](std::span<const uint8_t> m) {
    h.sent.messages.emplace_back(m.begin(), m.end());
    sends.push_back({h.now, Bytes(m.begin(), m.end())});
    h.ports.SendDeviceMessage(m);
  });
}
// When the first `command` at or after `from` was sent; -1 when none was.
std::chrono::microseconds FirstSend(const std::vector<TimedSend>& sends, uint8_t command,
                                    std::chrono::microseconds from = {}) {
  for (const TimedSend& s : sends) {
    if (s.at >= from && s.message[kCommandOffset] == command) return s.at;
  }
  return std::chrono::microseconds{-1};
}

// The next request leaves as the answer before it arrives: the same file as one request
// per tick, one request in flight at any time, in a fraction of the time.
TEST_F(BankTransfers, AnExportOnEachAnswerIsThePacedFileInAFractionOfTheTime) {
  CoreHarness h(PedalWithUserIrsInUse());
  Open(h);
  size_t from = 0;
  int requests = 0;
  int mostInFlight = 0;
  h.editor.SetDeviceMessageSink([&](std::span<const uint8_t> m) {
    if (m[kCommandOffset] == kCmdRequestPreset || m[kCommandOffset] == kCmdRequestIr) {
      const auto answers = std::count_if(h.received.begin() + static_cast<std::ptrdiff_t>(from),
                                         h.received.end(), [](const Bytes& r) {
                                           return r[kCommandOffset] == kCmdPresetDump ||
                                                  r[kCommandOffset] == kCmdIrEnd;
                                         });
      mostInFlight = std::max(mostInFlight, ++requests - static_cast<int>(answers));
    }
    h.sent.messages.emplace_back(m.begin(), m.end());
    h.ports.SendDeviceMessage(m);
  });
  struct Run {
    TransferPacing pacing;
    Bytes file;
    std::chrono::microseconds took{0};
  };
  Run runs[] = {{TransferPacing::kOnTick, {}}, {TransferPacing::kOnAnswer, {}}};
  for (Run& run : runs) {
    h.editor.SetBankTransferPacing(run.pacing);
    const auto file = h.folder.Path() / (std::to_string(static_cast<int>(run.pacing)) + ".q3b");
    mPlatform.QueueSaveFileResult(file.string());
    from = h.received.size();
    requests = 0;
    const auto start = h.now;
    h.editor.OnMenuCommand(kEditorCmdBankExport);
    RunExport(h);
    run.took = h.now - start;
    run.file = ReadAll(file);
  }
  const Run& paced = runs[0];
  const Run& fast = runs[1];
  ASSERT_FALSE(fast.file.empty());
  EXPECT_EQ(fast.file, paced.file);
  EXPECT_EQ(mostInFlight, 1);
  EXPECT_GE(paced.took, 13s);  // 128 + 7 requests, one per 100 ms tick
  EXPECT_LE(fast.took, 2s);
  EXPECT_EQ(Boxes("Finished successfully!"), 2u);
}

// A pedal that takes 50 ms for each write is sent nothing while it writes: every
// acknowledged message waits for its acknowledgement, and the unacknowledged IR chunks
// still leave one per tick.
TEST_F(BankTransfers, AnImportOnEachAcknowledgementNeverOutrunsASlowWriter) {
  CoreHarness source(PedalWithUserIrsInUse());
  const auto file = ExportedBank(source);

  CoreHarness target(BlankPedal());
  Open(target);
  target.link.SetTiming(sim::WireTiming{.writeDelay = 50ms});
  std::vector<TimedSend> sends;
  RecordSends(target, sends);
  mPlatform.QueueMessageBoxResult(EMsgBoxResult::OK);
  mPlatform.QueueOpenFileResult(file.string());
  target.editor.OnMenuCommand(kEditorCmdBankImport);
  ASSERT_TRUE(target.RunUntil([&] { return target.editor.session.restoreActive; }, 60s));
  ASSERT_TRUE(target.RunUntil([&] { return !target.editor.session.restoreActive; }, 120s));
  target.RunFor(30s);

  EXPECT_EQ(target.link.Pedal().MessagesDuringWrite(), 0);
  ExpectVerifiedNamingTheBackup(target.editor.session.pendingMessage);
  std::chrono::microseconds lastChunk{-1};
  for (const TimedSend& s : sends) {
    if (s.message[kCommandOffset] != kCmdRestoreIrData) continue;
    if (lastChunk.count() >= 0) {
      EXPECT_GE(s.at - lastChunk, 95ms) << "IR chunks outran the tick";
    }
    lastChunk = s.at;
  }
  EXPECT_GE(lastChunk.count(), 0) << "the bank's IRs were not sent";
  // 128 writes of 50 ms each, about 7.4 s, and the 6 IRs in use at a tick for each of
  // their chunks and their end, about 6 s; one message per tick would take 19.4 s.
  const auto begin = FirstSend(sends, kCmdBulkBegin);
  const auto took = FirstSend(sends, kCmdBulkEnd, begin) - begin;
  EXPECT_LE(took, 15s);
}

TEST_F(BankTransfers, TheFactoryWriteGoesOnEachAcknowledgement) {
  CoreHarness h;
  Open(h);
  std::vector<TimedSend> sends;
  RecordSends(h, sends);
  mPlatform.QueueMessageBoxResult(EMsgBoxResult::OK);
  h.editor.OnMenuCommand(kEditorCmdFactoryUpdate);
  ASSERT_TRUE(h.RunUntil([&] { return Boxes("Finished successfully!") > 0; }, 60s));
  EXPECT_EQ(h.link.Pedal().MessagesDuringWrite(), 0);
  const auto took = FirstSend(sends, kCmdFactoryReset) - FirstSend(sends, kCmdBulkBegin);
  EXPECT_GT(took.count(), 0);
  EXPECT_LE(took, 2500ms);
}

TEST_F(BankTransfers, ARefusalStopsTheImportWithCommunicationErrorAndKeepsTheCache) {
  CoreHarness source(PedalWithUserIrsInUse());
  const auto file = ExportedBank(source);

  CoreHarness target(BlankPedal());
  Open(target);
  const auto cachedBefore = target.editor.Cache()->ReadPreset(5);
  ASSERT_TRUE(cachedBefore.has_value());
  mPlatform.QueueMessageBoxResult(EMsgBoxResult::OK);
  mPlatform.QueueOpenFileResult(file.string());
  target.editor.OnMenuCommand(kEditorCmdBankImport);
  ASSERT_TRUE(target.RunUntil([&] { return target.editor.session.restoreActive; }, 60s));
  target.link.Pedal().Modify([](sim::PedalModel& m) { m.Faults().refuseWrites = 1; });
  ASSERT_TRUE(target.RunUntil([&] { return !target.editor.session.restoreActive; }, 30s));
  target.RunFor(1s);

  const std::string& said = target.editor.session.pendingMessage;
  EXPECT_EQ(said.rfind("Communication error! The pedal refused the bank file after ", 0), 0u)
      << said;
  EXPECT_NE(said.find("of its 128 presets had been written"), std::string::npos) << said;
  EXPECT_NE(said.find("were saved first to\n"), std::string::npos) << "names the backup: " << said;
  EXPECT_FALSE(target.editor.session.restoreFinished);
  EXPECT_EQ(target.editor.Cache()->ReadPreset(5)->Bytes(), cachedBefore->Bytes());
}

TEST_F(BankTransfers, TheFactoryUpdateIsBracketedAndEndsWithTheReset) {
  CoreHarness h;
  Open(h);
  mPlatform.QueueMessageBoxResult(EMsgBoxResult::OK);  // the question before the backup
  const size_t from = h.sent.messages.size();
  h.editor.OnMenuCommand(kEditorCmdFactoryUpdate);
  ASSERT_TRUE(
      h.RunUntil([&] { return h.editor.session.resetDoneSeen || Boxes("Finished") > 0; }, 180s));
  h.RunFor(1s);

  // The writes after the safety backup's requests, up to the reset that ends them.
  std::vector<int> commands;
  for (size_t i = from; i < h.sent.messages.size(); ++i) {
    const int command = h.sent.messages[i][kCommandOffset];
    if (command == kCmdRequestBlock || command == kCmdRequestPreset || command == kCmdRequestIr) {
      continue;
    }
    commands.push_back(command);
    if (command == kCmdFactoryReset) break;
  }
  ASSERT_GE(commands.size(), 131u);
  EXPECT_EQ(commands.front(), kCmdBulkBegin);
  EXPECT_EQ(std::count(commands.begin(), commands.end(), kCmdWriteFactoryPreset), 128);
  EXPECT_EQ(std::count(commands.begin(), commands.end(), kCmdBulkBegin), 1);
  EXPECT_EQ(std::count(commands.begin(), commands.end(), kCmdBulkEnd), 1);
  const auto end = std::find(commands.begin(), commands.end(), kCmdBulkEnd);
  ASSERT_NE(end + 1, commands.end());
  EXPECT_EQ(*(end + 1), kCmdFactoryReset);
  EXPECT_EQ(Boxes("Finished successfully!"), 1u);
  EXPECT_EQ(Boxes("Finished successfully!\n\nThe pedal's presets and IRs were saved first to"), 1u)
      << "the last word names the backup";
  EXPECT_EQ(h.screen.At(73).str, "100 %");
  // The list was cleared with the cache; the pedal's new presets are read and named again
  // without a reconnection.
  h.RunFor(10s);
  for (const int slot : {0, 64, 127}) {
    const std::string& label = h.editor.PresetRowLabel(slot);
    EXPECT_NE(label, EmptySlotLabel(slot, 0)) << slot;
    EXPECT_NE(label, EmptySlotLabel(slot, 1)) << slot;
  }
  EXPECT_FALSE(h.editor.session.readAllActive);
}

// Before the pedal has answered there is nothing to back up, and a write chosen now would
// reach the pedal unasked the moment it connects: both are refused with a word, and
// nothing but the poll is sent.
TEST_F(BankTransfers, ImportAndFactoryUpdateBeforeThePedalConnectedAreRefused) {
  CoreHarness h;
  h.link.Pedal().SetSilent(true);
  h.editor.SetPlatformServices(&mPlatform);
  h.OpenWindow({1, 53, 54, 73, 74});
  const auto file = h.folder.Path() / "bank.q3b";
  std::ofstream(file, std::ios::binary) << "not read";
  mPlatform.QueueOpenFileResult(file.string());
  h.editor.OnMenuCommand(kEditorCmdBankImport);
  h.editor.OnMenuCommand(kEditorCmdFactoryUpdate);
  h.link.Pedal().SetSilent(false);
  ASSERT_TRUE(h.ConnectAndSettle());
  h.RunFor(5s);

  EXPECT_EQ(Boxes("The QD3 is not connected yet, so nothing was changed."), 2u);
  EXPECT_EQ(mPlatform.CountCalls(ECall::kOpenFile), 0u) << "no file is asked for";
  for (const Bytes& m : h.sent.messages) {
    EXPECT_NE(m[kCommandOffset], kCmdWriteFactoryPreset);
    EXPECT_NE(m[kCommandOffset], kCmdRestorePreset);
  }
  EXPECT_FALSE(h.editor.session.restoreActive);
  EXPECT_FALSE(h.editor.session.factoryNext);
}

TEST_F(BankTransfers, ALoaderThatRejectsTheImageSaysErrorInUpdateAndLeavesTheScreen) {
  CoreHarness h;
  Open(h);
  h.link.Pedal().Modify([](sim::PedalModel& m) { m.Faults().failFirmwareCheck = true; });
  const auto image = h.folder.Path() / "fw.ldr";
  std::ofstream(image, std::ios::binary) << std::string(2100, '\x5A');
  h.editor.OpenFirmwareUpdate();
  mPlatform.QueueSaveFileResult((h.folder.Path() / "unused.q3b").string());
  mPlatform.QueueOpenFileResult(image.string());
  h.editor.StartFirmwareUpdate();
  // The connected pedal's bank is saved first; then the image goes to the loader.
  ASSERT_TRUE(h.RunUntil([&] { return h.editor.session.firmwareMode; }, 60s));
  ASSERT_TRUE(h.RunUntil([&] { return !h.editor.session.firmwareMode; }, 10s));
  h.RunFor(500ms);
  for (int i = 0; i < 3; ++i) h.editor.OnIdleTick();

  EXPECT_EQ(Boxes("Error in update!"), 1u);
  EXPECT_EQ(Boxes("Before the firmware update"), 1u);
  EXPECT_FALSE(h.editor.session.connected);
  EXPECT_EQ(h.screen.hiddenGroups.count("firmwarecontrols"), 1u);
  EXPECT_EQ(h.screen.disabledGroups.count("bcontrols"), 1u);
}

// Sending the last chunk is not success: a loader that never says how it went ends the
// update after 60 s with words that say so. And a ready that comes after the player was
// told "Nothing was sent" streams nothing.
TEST_F(BankTransfers, FirmwareSuccessIsTheLoadersWordOnly) {
  CoreHarness h;
  h.editor.SetPlatformServices(&mPlatform);
  h.OpenWindow({1, 53, 54, 70, 71, 73, 74});
  const auto image = h.folder.Path() / "fw.ldr";
  std::ofstream(image, std::ios::binary) << std::string(2100, '\x5A');
  auto loaderChunks = [&h](size_t from) {
    size_t n = 0;
    for (size_t i = from; i < h.sent.messages.size(); ++i) {
      n +=
          h.sent.messages[i].size() > kLoaderBeginSize / 2 && h.sent.messages[i][4] == kModelLoader;
    }
    return n;
  };

  // No verdict: the loader's only answer while the chunks go out is its verdict, lost.
  h.editor.OpenFirmwareUpdate();
  mPlatform.QueueOpenFileResult(image.string());
  h.editor.StartFirmwareUpdate();
  ASSERT_TRUE(h.RunUntil([&] { return h.editor.session.firmwareMode; }, 10s));
  h.link.Pedal().DropNextReplies(1);
  ASSERT_TRUE(h.RunUntil([&] { return !h.editor.session.firmwareMode; }, 10s));
  h.RunFor(59s);
  EXPECT_EQ(Boxes("did not say whether the update succeeded"), 0u) << "waits a minute";
  h.RunFor(2s);
  EXPECT_EQ(Boxes("did not say whether the update succeeded"), 1u);
  EXPECT_EQ(Boxes("Firmware update finished."), 0u);
  h.RunFor(500ms);
  EXPECT_EQ(h.screen.hiddenGroups.count("firmwarecontrols"), 1u) << "back to the main screen";

  // A late ready: the loader's silence was given up on after 5 s.
  h.link.Pedal().SetSilent(true);
  h.editor.OpenFirmwareUpdate();
  mPlatform.QueueOpenFileResult(image.string());
  h.editor.StartFirmwareUpdate();
  h.RunFor(6s);
  EXPECT_EQ(Boxes("The pedal's loader does not answer."), 1u);
  const size_t from = h.sent.messages.size();
  const Bytes ready = BuildLoaderReply(kLoaderReady);
  h.editor.HandleDeviceMessage(ready.data(), ready.size());
  h.RunFor(3s);
  EXPECT_EQ(loaderChunks(from), 0u) << "nothing streams after \"Nothing was sent\"";
  EXPECT_FALSE(h.editor.session.firmwareMode);
}

}  // namespace
}  // namespace qd3::test
