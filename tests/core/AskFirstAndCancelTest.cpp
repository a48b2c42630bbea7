// What the player is asked before something is overwritten, in which order, and what a
// Cancel does: the question comes before the safety backup and the file before the
// firmware question; a cancelled export, backup or synchronisation ends without a file
// and without a word of failure, and the answer still under way is nobody's; unsaved edits
// are asked about before the settings page reloads the preset.
#include <fstream>

#include "presets/PresetFile.h"
#include "presets/PresetSync.h"
#include "protocol/DeviceReplies.h"
#include "protocol/MessageBuilders.h"
#include "tests/support/CoreHarness.h"
#include "tests/support/ScriptedPlatformServices.h"

namespace qd3::test {
namespace {

using ECall = ScriptedPlatformServices::ECall;

constexpr int kTagHeading = kTagProgressHeading;

class AskFirst : public ::testing::Test {
 protected:
  void Open() {
    mH.editor.SetPlatformServices(&mPlatform);
    mH.OpenWindow({1, kTagHeading, 53, 54, 70, 71, 73, 74, 138, 139, 140, kTagProgressCancel,
                   kTagEditedMarker});
    ASSERT_TRUE(mH.ConnectAndSettle());
  }
  // Every answer leaves this much later: a request is always under way.
  void SlowPedal(std::chrono::microseconds delay) {
    sim::WireTiming timing = mH.link.Timing();
    timing.replyDelay = delay;
    mH.link.SetTiming(timing);
  }
  size_t Sent(DeviceCommand command, size_t from = 0) const {
    size_t n = 0;
    for (size_t i = from; i < mH.sent.messages.size(); ++i) {
      n += mH.sent.messages[i][kCommandOffset] == command;
    }
    return n;
  }
  size_t Received(DeviceCommand command, size_t from) const {
    size_t n = 0;
    for (size_t i = from; i < mH.received.size(); ++i) {
      n += mH.received[i][kCommandOffset] == command;
    }
    return n;
  }
  size_t Boxes(std::string_view containing) const {
    size_t n = 0;
    for (const auto& call : mPlatform.Calls()) {
      n += call.kind == ECall::kMessageBox && call.text.find(containing) != std::string::npos;
    }
    return n;
  }
  bool BackupFolderExists() const { return std::filesystem::exists(mH.folder.Path() / "Backups"); }
  std::filesystem::path FirmwareImage() {
    const auto image = mH.folder.Path() / "fw.ldr";
    std::ofstream(image, std::ios::binary) << std::string(2100, '\x5A');
    return image;
  }

  CoreHarness mH;
  ScriptedPlatformServices mPlatform;
};

// A "no" at any question, or no file chosen, costs no backup and sends nothing.
TEST_F(AskFirst, NoBackupIsMadeForAChangeThePlayerTurnsDown) {
  Open();
  const auto bank = mH.folder.Path() / "some.q3b";
  std::ofstream(bank, std::ios::binary) << "whatever";
  struct Case {
    const char* what;
    std::function<void()> script;
    std::function<void()> act;
  };
  const Case cases[] = {
      {"import: no to the question",
       [&] { mPlatform.QueueMessageBoxResult(EMsgBoxResult::Cancel); },
       [&] { mH.editor.ImportBank(); }},
      {"import: no file chosen", [&] { mPlatform.QueueMessageBoxResult(EMsgBoxResult::OK); },
       [&] { mH.editor.ImportBank(); }},
      {"import: a file that is no bank",
       [&] {
         mPlatform.QueueMessageBoxResult(EMsgBoxResult::OK);
         mPlatform.QueueOpenFileResult(bank.string());
       },
       [&] { mH.editor.ImportBank(); }},
      {"factory update: no to the question",
       [&] { mPlatform.QueueMessageBoxResult(EMsgBoxResult::Cancel); },
       [&] { mH.editor.UpdateFactoryPresets(); }},
      {"firmware: no to the question",
       [&] {
         mPlatform.QueueOpenFileResult(FirmwareImage().string());
         mPlatform.QueueMessageBoxResult(EMsgBoxResult::Cancel);
       },
       [&] {
         mH.editor.OpenFirmwareUpdate();
         mH.editor.StartFirmwareUpdate();
       }},
  };
  for (const Case& c : cases) {
    c.script();
    const size_t from = mH.sent.messages.size();
    c.act();
    mH.RunFor(3s);
    EXPECT_FALSE(BackupFolderExists()) << c.what;
    EXPECT_EQ(Sent(kCmdRequestPreset, from), 0u) << c.what;
    EXPECT_EQ(Sent(kCmdRestorePreset, from) + Sent(kCmdWriteFactoryPreset, from), 0u) << c.what;
    EXPECT_FALSE(mH.editor.session.firmwareMode) << c.what;
  }
}

TEST_F(AskFirst, TheImportAsksAndTakesItsFileBeforeTheBackupAndNamesItAtTheEnd) {
  Open();
  const auto file = mH.folder.Path() / "bank.q3b";
  mPlatform.QueueSaveFileResult(file.string());
  mH.editor.ExportBank();
  ASSERT_TRUE(mH.RunUntil([&] { return !mH.editor.session.backupActive; }, 60s));
  mPlatform.ClearCalls();

  mPlatform.QueueMessageBoxResult(EMsgBoxResult::OK);
  mPlatform.QueueOpenFileResult(file.string());
  mH.editor.ImportBank();
  ASSERT_EQ(mPlatform.Calls().size(), 2u);
  EXPECT_EQ(mPlatform.Calls()[0].kind, ECall::kMessageBox);
  EXPECT_EQ(mPlatform.Calls()[1].kind, ECall::kOpenFile);
  EXPECT_TRUE(mH.editor.session.backupActive) << "the backup runs after both";
  ASSERT_TRUE(mH.RunUntil([&] { return mH.editor.session.restoreActive; }, 60s));
  EXPECT_EQ(mH.screen.At(kTagHeading).str, "Importing presets...");
  EXPECT_TRUE(mH.screen.At(kTagProgressCancel).disabled) << "an import cannot stop cleanly";
  const auto& headings = mH.screen.At(kTagHeading).strHistory;
  EXPECT_NE(std::find(headings.begin(), headings.end(), "Safety backup before the import..."),
            headings.end());
  ASSERT_TRUE(mH.RunUntil([&] { return !mH.editor.session.restoreActive; }, 120s));
  mH.RunFor(30s);
  EXPECT_EQ(mH.editor.session.pendingMessage.rfind("All 128 presets restored and verified.", 0),
            0u);
  EXPECT_EQ(Boxes("Are you sure"), 1u) << "one question, before the backup";
}

TEST_F(AskFirst, CancelStopsAnExportWithoutAFileAndItsLateAnswerIsNobodys) {
  Open();
  SlowPedal(300ms);
  const int current = mH.editor.session.currentPreset;
  const std::string name = mH.screen.At(138).str;
  const auto file = mH.folder.Path() / "cancelled.q3b";
  mPlatform.QueueSaveFileResult(file.string());
  mH.editor.ExportBank();
  ASSERT_TRUE(mH.RunUntil([&] { return mH.editor.session.backupPresetIndex >= 4; }, 30s));
  EXPECT_EQ(mH.screen.At(kTagHeading).str, "Exporting presets...");
  EXPECT_FALSE(mH.screen.At(kTagProgressCancel).disabled);
  const size_t received = mH.received.size();

  EXPECT_TRUE(mH.editor.CancelProgress());
  EXPECT_FALSE(mH.editor.session.backupActive);
  mH.RunFor(3s);

  EXPECT_GE(Received(kCmdPresetDump, received), 1u) << "the answer under way did come";
  EXPECT_EQ(mH.editor.session.currentPreset, current) << "and was not taken for the preset";
  EXPECT_EQ(mH.screen.At(138).str, name);
  EXPECT_FALSE(std::filesystem::exists(file));
  EXPECT_EQ(Boxes("Export cancelled; no file was written."), 1u);
  EXPECT_EQ(Boxes("stopped answering"), 0u);
  EXPECT_TRUE(mH.screen.hiddenGroups.count("progresscontrols"));
  EXPECT_FALSE(mH.editor.CancelProgress()) << "nothing left to cancel";
}

TEST_F(AskFirst, ACancelledSafetyBackupChangesNothingOnThePedal) {
  Open();
  SlowPedal(100ms);
  const auto before = mH.link.Pedal().Inspect([](const sim::PedalModel& m) { return m.State(); });
  mPlatform.QueueMessageBoxResult(EMsgBoxResult::OK);
  mH.editor.UpdateFactoryPresets();
  ASSERT_TRUE(mH.RunUntil([&] { return mH.editor.session.backupPresetIndex >= 3; }, 30s));
  EXPECT_EQ(mH.screen.At(kTagHeading).str, "Safety backup before the factory update...");
  EXPECT_TRUE(mH.editor.CancelProgress());
  mH.RunFor(5s);

  EXPECT_EQ(Boxes("Safety backup cancelled; nothing was changed on the pedal."), 1u);
  EXPECT_EQ(Boxes("could not be made"), 0u);
  EXPECT_EQ(Sent(kCmdWriteFactoryPreset), 0u);
  const auto after = mH.link.Pedal().Inspect([](const sim::PedalModel& m) { return m.State(); });
  EXPECT_EQ(after.presets, before.presets);
}

// Escape on the firmware screen while its backup runs is the player's cancel, not a pedal
// that stopped answering; nothing goes to the loader.
TEST_F(AskFirst, EscapeDuringTheFirmwareBackupCancelsItQuietly) {
  Open();
  SlowPedal(100ms);
  mH.editor.OpenFirmwareUpdate();
  mPlatform.QueueOpenFileResult(FirmwareImage().string());
  mPlatform.QueueMessageBoxResult(EMsgBoxResult::OK);
  mH.editor.StartFirmwareUpdate();
  ASSERT_EQ(mPlatform.Calls().size(), 2u);
  EXPECT_EQ(mPlatform.Calls()[0].kind, ECall::kOpenFile) << "the file first";
  EXPECT_NE(mPlatform.Calls()[1].text.find("\"fw.ldr\""), std::string::npos)
      << "then the question that names it";
  ASSERT_TRUE(mH.RunUntil([&] { return mH.editor.session.backupPresetIndex >= 3; }, 30s));
  EXPECT_EQ(mH.screen.At(kTagHeading).str, "Safety backup before the firmware update...");

  EXPECT_TRUE(mH.editor.OnEditorKey(EditorKey::kCloseOverlay));
  mH.RunFor(8s);
  EXPECT_EQ(Boxes("Safety backup cancelled"), 1u);
  EXPECT_EQ(Boxes("stopped answering"), 0u);
  EXPECT_FALSE(mH.editor.session.firmwareMode);
  for (const Bytes& m : mH.sent.messages) EXPECT_NE(m[4], kModelLoader);
}

TEST_F(AskFirst, CancelEndsTheSynchronisationAndTheSessionGoesOn) {
  // A pedal whose presets all differ from the empty cache: 128 to read.
  mH.editor.SetPlatformServices(&mPlatform);
  mH.OpenWindow({1, kTagHeading, 53, 54, 70, 71, 138, kTagProgressCancel});
  SlowPedal(50ms);
  ASSERT_TRUE(mH.Connect());
  ASSERT_TRUE(mH.RunUntil([&] { return mH.editor.session.readDone >= 5; }, 30s));
  EXPECT_EQ(mH.screen.At(kTagHeading).str, "Loading Presets...");
  EXPECT_FALSE(mH.screen.At(kTagProgressCancel).disabled);
  const size_t from = mH.sent.messages.size();
  const size_t namesBefore = mH.screen.At(138).strHistory.size();
  EXPECT_TRUE(mH.editor.OnEditorKey(EditorKey::kCloseOverlay));
  mH.RunFor(5s);

  // The run's dump still under way is not shown as the current preset on its way.
  const auto& names = mH.screen.At(138).strHistory;
  ASSERT_GT(names.size(), namesBefore) << "the current preset was read after the cancel";
  for (size_t i = namesBefore; i < names.size(); ++i) EXPECT_EQ(names[i], names.back());

  EXPECT_FALSE(mH.editor.session.readAllActive);
  EXPECT_TRUE(mH.editor.session.connected);
  EXPECT_EQ(Boxes(kTextSyncCancelled), 1u);
  EXPECT_LE(Sent(kCmdRequestPreset, from), 1u) << "only the current preset is asked for";
  EXPECT_GE(Sent(kCmdRequestBlock, from), 1u) << "the global settings follow as after a run";
  EXPECT_TRUE(mH.screen.hiddenGroups.count("progresscontrols"));
}

// Opening the settings page reloads the stored preset: unsaved edits are asked about, and
// each answer does what it says.
TEST_F(AskFirst, UnsavedEditsAreAskedAboutBeforeTheSettingsPageOpens) {
  Open();
  struct Case {
    std::optional<EMsgBoxResult> answer;  // nullopt: nothing edited, nothing asked
    bool opens;
    size_t stores;
  };
  const Case cases[] = {
      {EMsgBoxResult::Cancel, false, 0},
      {EMsgBoxResult::Discard, true, 0},
      {EMsgBoxResult::OK, true, 1},
      {std::nullopt, true, 0},
  };
  int raw = 30;
  for (const Case& c : cases) {
    const std::string what = c.answer ? std::to_string(static_cast<int>(*c.answer)) : "unedited";
    if (c.answer) {
      mH.editor.SetParameterValueFromUI(1, mH.editor.Params()[1].ToNormalized(raw++));
      ASSERT_TRUE(mH.editor.presetModified) << what;
      EXPECT_FALSE(mH.screen.At(kTagEditedMarker).hidden) << what;
      mPlatform.QueueMessageBoxResult(*c.answer);
    }
    mPlatform.ClearCalls();
    const size_t from = mH.sent.messages.size();
    mH.editor.OnMenuCommand(kEditorCmdGlobalSettings);
    EXPECT_EQ(Boxes("unsaved changes"), c.answer ? 1u : 0u) << what;
    EXPECT_EQ(Sent(kCmdStorePreset, from), c.stores) << what;
    EXPECT_EQ(Sent(kCmdRequestBlock, from), c.opens ? 1u : 0u) << what;
    EXPECT_EQ(mH.editor.session.pollEnabled, !c.opens) << what;
    if (c.stores > 0) {
      EXPECT_FALSE(mH.editor.presetModified);
      EXPECT_TRUE(mH.screen.At(kTagEditedMarker).hidden) << "stored: no longer edited";
    }
    if (!c.opens) {
      EXPECT_TRUE(mH.editor.presetModified) << "Cancel keeps the edit";
    }
    mH.RunFor(2s);
    if (c.opens) mH.editor.CloseGlobalSettings();
    mH.RunFor(1s);
  }
}

// A preset file goes into the current slot on the pedal: the question names the slot, and
// a no leaves the pedal and the edit buffer as they were.
TEST_F(AskFirst, APresetFileImportNamesTheSlotItOverwrites) {
  Open();
  const int slot = mH.editor.session.currentPreset;
  const auto path = mH.folder.Path() / "Crunch.q3p";
  std::array<int, kRecordParamCount> params{};
  for (int i = 0; i < kRecordParamCount; ++i) {
    params[static_cast<size_t>(i)] = mH.editor.Params()[i].Raw();
  }
  params[1] = 99;
  // Without user IRs: the file's only question is the slot's.
  params[kParamIrModeA] = 0;
  params[kParamIrModeB] = 0;
  const std::vector<uint8_t> bytes = BuildPresetFile(
      {"Crunch", params, "", ""}, [](int) -> std::optional<IrImageBytes> { return std::nullopt; });
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  const int gainBefore = mH.editor.Params()[1].Raw();
  const std::string label = mH.editor.PresetRowLabel(slot);

  mPlatform.QueueOpenFileResult(path.string());
  mPlatform.QueueMessageBoxResult(EMsgBoxResult::Cancel);
  const size_t from = mH.sent.messages.size();
  mH.editor.ImportPresetFile();
  mH.RunFor(1s);
  ASSERT_EQ(Boxes("Store the preset file \"Crunch\" in slot \""), 1u);
  std::string named = label.substr(0, label.find_last_not_of(' ') + 1);
  EXPECT_EQ(Boxes("\"" + named + "\" of the QD3?"), 1u) << label;
  EXPECT_EQ(mH.sent.messages.size(), from) << "nothing sent";
  EXPECT_EQ(mH.editor.Params()[1].Raw(), gainBefore);

  mPlatform.QueueOpenFileResult(path.string());
  mPlatform.QueueMessageBoxResult(EMsgBoxResult::OK);
  mH.editor.ImportPresetFile();
  mH.RunFor(1s);
  EXPECT_EQ(Sent(kCmdStorePreset, from), 1u);
  EXPECT_EQ(mH.editor.Params()[1].Raw(), 99);
  EXPECT_FALSE(mH.editor.presetModified) << "stored in its slot";
}

// While one change waits for its safety backup, another is refused with a word: neither
// takes the other's place, and the first still happens.
TEST_F(AskFirst, ASecondChangeDuringABackupIsRefusedAndTheFirstGoesOn) {
  Open();
  SlowPedal(20ms);
  mPlatform.QueueMessageBoxResult(EMsgBoxResult::OK);
  mH.editor.UpdateFactoryPresets();
  ASSERT_TRUE(mH.RunUntil([&] { return mH.editor.session.backupPresetIndex >= 2; }, 30s));
  mPlatform.ClearCalls();
  mH.editor.ImportBank();
  mH.editor.ExportBank();
  mH.editor.UpdateFactoryPresets();
  EXPECT_EQ(Boxes("Another transfer with the QD3 is running."), 3u);
  EXPECT_EQ(mPlatform.CountCalls(ECall::kOpenFile) + mPlatform.CountCalls(ECall::kSaveFile), 0u);
  ASSERT_TRUE(mH.RunUntil([&] { return mH.editor.FactoryWriteRunning(); }, 60s))
      << "the factory update, asked for first, follows its backup";
}

TEST_F(AskFirst, AFinishedExportSaysWhereTheFileIs) {
  Open();
  const auto file = mH.folder.Path() / "mine.q3b";
  mPlatform.QueueSaveFileResult(file.string());
  mH.editor.ExportBank();
  ASSERT_TRUE(mH.RunUntil([&] { return !mH.editor.session.backupActive; }, 60s));
  mH.RunFor(500ms);
  EXPECT_EQ(Boxes("Finished successfully!\n\nThe bank was saved to\n" + file.string()), 1u);
}

}  // namespace
}  // namespace qd3::test
