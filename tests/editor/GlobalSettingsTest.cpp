// The global settings block, the resets and the MIDI map pages, driven through the
// editor's entry points with a headless screen.
#include <filesystem>
#include <fstream>

#include "QD3ControlScreenNames.h"
#include "params/GroupNames.h"
#include "tests/editor/EditorFixture.h"
#include "tests/support/ScriptedPlatformServices.h"
#include "tests/support/TempFolder.h"

namespace qd3::test {
namespace {

bool IsBlock(const Bytes& m, DataBlockType type) {
  return m.size() == 267 && m[kCommandOffset] == kCmdDataBlock && m[kSelectorOffset] == type;
}

int CountBlocks(const CapturedMessages& sent, DataBlockType type) {
  int n = 0;
  for (const Bytes& m : sent.messages) n += IsBlock(m, type);
  return n;
}

const Bytes* LastBlock(const CapturedMessages& sent, DataBlockType type) {
  for (auto it = sent.messages.rbegin(); it != sent.messages.rend(); ++it) {
    if (IsBlock(*it, type)) return &*it;
  }
  return nullptr;
}

uint8_t D(const Bytes& m, size_t i) {
  return m[kRecordOffset + i];
}

class GlobalSettingsTest : public EditorTest {
 protected:
  GlobalSettingsTest() { mEditor.SetPlatformServices(&mPlatform); }
  ScriptedPlatformServices mPlatform;
};

TEST_F(GlobalSettingsTest, TunerAt440HzSendsOneBlockWithD8TwelveAndTheCurrentPreset) {
  Connect();
  mEditor.session.currentPreset = 9;
  SetRaw(87, 3);
  SetRaw(84, 7);
  mSent.Clear();
  SetRaw(87, 12);
  ASSERT_EQ(mSent.messages.size(), 1u);
  const Bytes& m = mSent.messages[0];
  ASSERT_TRUE(IsBlock(m, kBlockGlobalSettings));
  EXPECT_EQ(D(m, 8), 12);
  EXPECT_EQ(D(m, 0), 9);
  EXPECT_EQ(D(m, 5), 7);  // the other settings as they were
}

TEST_F(GlobalSettingsTest, EditPotDisplayNumericalIsSentAsTwo) {
  Connect();
  SetRaw(kParamEditPotDisplayMode, 1);
  const Bytes* m = LastBlock(mSent, kBlockGlobalSettings);
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(D(*m, 6), 2);
}

TEST_F(GlobalSettingsTest, SettingsEditsAreSentWhileNotConnectedOnceValuesWereApplied) {
  Connect();
  mEditor.session.connected = false;
  SetRaw(90, 1);
  EXPECT_EQ(CountBlocks(mSent, kBlockGlobalSettings), 1);
}

TEST_F(GlobalSettingsTest, ReceivedBlockRequestsItsPresetAndEchoesNothing) {
  Connect();
  std::array<uint8_t, kRecordSize> data{};
  data[0] = 5;
  data[6] = 2;
  data[8] = 20;
  Receive(BuildDataBlock(kBlockGlobalSettings, data));
  EXPECT_EQ(CountBlocks(mSent, kBlockGlobalSettings), 0);
  ASSERT_EQ(mSent.messages.size(), 2u);
  EXPECT_EQ(mSent.messages[0], BuildBulkEnd());
  EXPECT_EQ(mSent.messages[1], BuildRequestPreset(5));
  EXPECT_EQ(mEditor.Params()[kParamEditPotDisplayMode].Raw(), 1);
  EXPECT_EQ(mEditor.Params()[87].Raw(), 20);
}

TEST_F(GlobalSettingsTest, PatchOffsetRenumbersTheDisplayAndTheList) {
  const TempFolder folder;
  mEditor.OpenCache(folder.Path());
  Connect();
  OpenWindow();
  SetRaw(kParamPatchOffset, 1);
  EXPECT_EQ(mScreen.At(kTagValueDisplay).str, "01");
  EXPECT_EQ(mEditor.PresetRowLabel(0).substr(0, 4), " 01 ");
  EXPECT_EQ(mEditor.PresetRowLabel(127).substr(0, 5), " 128 ");
}

TEST_F(GlobalSettingsTest, OpeningAndClosingThePageStopsAndRestartsThePoll) {
  OpenWindow();
  mEditor.OnMenuCommand(kEditorCmdGlobalSettings);
  EXPECT_FALSE(mEditor.session.pollEnabled);
  EXPECT_FALSE(mScreen.hiddenGroups.contains(group::kGlobalSettings));
  EXPECT_EQ(mSent.messages.back(), BuildRequestBlock(kBlockGlobalSettings));
  mEditor.CloseGlobalSettings();
  EXPECT_TRUE(mEditor.session.pollEnabled);
  EXPECT_TRUE(mScreen.hiddenGroups.contains(group::kGlobalSettings));
}

// A cached preset file under the cache's presets folder.
void WriteCachedPreset(const std::filesystem::path& base, int number) {
  std::filesystem::create_directories(base / "Presets");
  char name[16];
  std::snprintf(name, sizeof name, "%03d.dat", number);
  std::ofstream(base / "Presets" / name, std::ios::binary) << std::string(256, 'x');
}

size_t DatFilesIn(const std::filesystem::path& folder) {
  size_t n = 0;
  std::error_code ignored;
  for (const auto& e : std::filesystem::directory_iterator(folder, ignored)) {
    n += e.path().extension() == ".dat";
  }
  return n;
}

class FactoryResetTest : public GlobalSettingsTest,
                         public ::testing::WithParamInterface<std::pair<int, bool>> {};

TEST_P(FactoryResetTest, CacheIsEmptiedBeforeTheResetMessageGoesOut) {
  const auto [kind, emptiesCache] = GetParam();
  const TempFolder folder;
  mEditor.OpenCache(folder.Path());
  WriteCachedPreset(folder.Path(), 1);
  WriteCachedPreset(folder.Path(), 2);
  // What was on disk when the message left the editor.
  std::optional<size_t> filesWhenSent;
  const Bytes reset = BuildFactoryReset(kind);
  mEditor.SetDeviceMessageSink([&](std::span<const uint8_t> m) {
    if (Bytes(m.begin(), m.end()) == reset) filesWhenSent = DatFilesIn(folder.Path() / "Presets");
  });
  mPlatform.QueueMessageBoxResult(EMsgBoxResult::OK);
  mEditor.FactoryReset(kind);
  ASSERT_TRUE(filesWhenSent.has_value());
  EXPECT_EQ(*filesWhenSent, emptiesCache ? 0u : 2u);
  ASSERT_EQ(mPlatform.Calls().size(), 1u);
  // What goes, then the question.
  const std::string& asked = mPlatform.Calls()[0].text;
  EXPECT_EQ(asked.substr(asked.size() - std::string("\nAre you sure?").size()), "\nAre you sure?");
  EXPECT_EQ(asked.find("presets are kept") != std::string::npos, !emptiesCache) << asked;
  EXPECT_EQ(asked.find("All 128 presets") != std::string::npos, emptiesCache) << asked;
  EXPECT_EQ(mPlatform.Calls()[0].caption, "");
  EXPECT_EQ(mPlatform.Calls()[0].boxType, EMsgBoxType::OKCancel);
}

INSTANTIATE_TEST_SUITE_P(Kinds, FactoryResetTest,
                         ::testing::Values(std::pair{kFactoryResetAll, true},
                                           std::pair{kFactoryResetPresets, true},
                                           std::pair{kFactoryResetSettings, false}));

TEST_F(GlobalSettingsTest, CancelledResetChangesNothing) {
  const TempFolder folder;
  mEditor.OpenCache(folder.Path());
  WriteCachedPreset(folder.Path(), 1);
  for (int kind : {kFactoryResetAll, kFactoryResetPresets, kFactoryResetSettings}) {
    mPlatform.QueueMessageBoxResult(EMsgBoxResult::Cancel);
    mEditor.FactoryReset(kind);
  }
  EXPECT_TRUE(mSent.messages.empty());
  EXPECT_EQ(DatFilesIn(folder.Path() / "Presets"), 1u);
}

TEST_F(GlobalSettingsTest, ControllerMapIsSentBackUnchangedOnAnImmediateBack) {
  Connect();
  OpenWindow();
  mEditor.OnMenuCommand(kEditorCmdGlobalSettings);
  mEditor.OpenControllerMap();
  EXPECT_EQ(mSent.messages.back(), BuildRequestBlock(kBlockControllerMap));
  std::array<uint8_t, kRecordSize> data{};
  for (size_t k = 0; k < 8; ++k) data[k] = static_cast<uint8_t>(70 + k);
  data[8] = 99;  // not part of the map
  const Bytes incoming = BuildDataBlock(kBlockControllerMap, data);
  Receive(incoming);
  mEditor.CloseControllerMap();
  data[8] = 0;
  EXPECT_EQ(mSent.messages.back(), BuildDataBlock(kBlockControllerMap, data));
  EXPECT_TRUE(mScreen.hiddenGroups.contains(group::kMidiCc));
  EXPECT_FALSE(mScreen.hiddenGroups.contains(group::kGlobalSettings));
}

TEST_F(GlobalSettingsTest, ReceivedControllerMapLeavesTheProgramMapAlone) {
  Connect();
  mEditor.programMap[3] = 44;
  SetRaw(kParamControllerProgram, 3);
  std::array<uint8_t, kRecordSize> data{};
  data[0] = 11;
  Receive(BuildDataBlock(kBlockControllerMap, data));
  EXPECT_EQ(mEditor.Params()[91].Raw(), 11);
  EXPECT_EQ(mEditor.Params()[kParamControllerProgram].Raw(), 3);
  EXPECT_EQ(mEditor.Params()[kParamDeviceProgram].Raw(), 44);
  EXPECT_EQ(mEditor.programMap[3], 44);
}

TEST_F(GlobalSettingsTest, ProgramMapEntryTenTo42IsSentOnBack) {
  Connect();
  OpenWindow();
  mEditor.OpenProgramMap();
  EXPECT_EQ(mSent.messages.back(), BuildRequestBlock(kBlockProgramMap));
  std::array<uint8_t, kRecordSize> identity{};
  for (size_t j = 0; j < 128; ++j) identity[j] = static_cast<uint8_t>(j);
  Receive(BuildDataBlock(kBlockProgramMap, identity));
  SetRaw(kParamControllerProgram, 7);
  EXPECT_EQ(mEditor.Params()[kParamDeviceProgram].Raw(), 7);
  SetRaw(kParamControllerProgram, 10);
  SetRaw(kParamDeviceProgram, 42);
  mSent.Clear();
  mEditor.CloseProgramMap();
  ASSERT_EQ(mSent.messages.size(), 1u);
  const Bytes& m = mSent.messages[0];
  ASSERT_TRUE(IsBlock(m, kBlockProgramMap));
  for (size_t p = 0; p < 128; ++p) EXPECT_EQ(D(m, p), p == 10 ? 42 : p) << p;
}

// Regression: with the pedal's answer lost, BACK sent the page's defaults over the
// pedal's real map. A map the page never received is never sent, even after an edit, and
// one received on an earlier visit does not count for this one.
TEST_F(GlobalSettingsTest, AMapThatWasNeverReadIsNeverSent) {
  Connect();
  OpenWindow();
  std::array<uint8_t, kRecordSize> data{};
  data[0] = 20;
  mEditor.OpenProgramMap();
  Receive(BuildDataBlock(kBlockProgramMap, data));
  mEditor.CloseProgramMap();
  mEditor.OpenControllerMap();
  Receive(BuildDataBlock(kBlockControllerMap, data));
  mEditor.CloseControllerMap();

  for (const bool program : {true, false}) {
    SCOPED_TRACE(program ? "program map" : "controller map");
    mSent.Clear();
    program ? mEditor.OpenProgramMap() : mEditor.OpenControllerMap();
    SetRaw(program ? kParamDeviceProgram : kFirstKnobControllerParam, 42);
    mSent.Clear();
    program ? mEditor.CloseProgramMap() : mEditor.CloseControllerMap();
    for (const Bytes& m : mSent.messages) {
      EXPECT_FALSE(IsBlock(m, kBlockProgramMap) || IsBlock(m, kBlockControllerMap));
    }
    EXPECT_TRUE(mEditor.session.messagePending);
    EXPECT_NE(mEditor.session.pendingMessage.find("was left as it is"), std::string::npos);
    mEditor.OnIdleTick();
  }
}

TEST_F(GlobalSettingsTest, ReceivedProgramMapShowsTheEntryOfTheChosenProgram) {
  Connect();
  OpenWindow();
  SetRaw(kParamControllerProgram, 4);
  std::array<uint8_t, kRecordSize> data{};
  data[4] = 77;
  Receive(BuildDataBlock(kBlockProgramMap, data));
  EXPECT_EQ(mEditor.programMap[4], 77);
  EXPECT_EQ(mEditor.Params()[kParamDeviceProgram].Raw(), 77);
}

}  // namespace
}  // namespace qd3::test
