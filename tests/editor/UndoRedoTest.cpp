// Undo and redo as the player meets them: what each step sends to the pedal, how the
// moves of one gesture join, stores written back, steps on another preset, and COMPARE.
#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "QD3ControlScreenNames.h"
#include "params/DeviceParamNumbers.h"
#include "presets/StoreRecord.h"
#include "tests/editor/EditorFixture.h"
#include "tests/support/ScriptedPlatformServices.h"
#include "tests/support/TempFolder.h"

namespace qd3::test {
namespace {

constexpr int kSlot = 3;

std::array<uint8_t, 256> RecordBytes(const std::string& name, int fill) {
  std::array<uint8_t, 256> record{};
  record[0] = 1;
  std::fill(record.begin() + 2, record.begin() + 34, ' ');
  std::copy(name.begin(), name.end(), record.begin() + 2);
  for (int i = 0; i < 65; ++i) record[static_cast<size_t>(34 + i)] = static_cast<uint8_t>(fill);
  // Switch-like parameters stay off, so that no user IR or mode is involved.
  for (int i : {14, 40, 41, 53, 54, 55, 56, 60}) record[static_cast<size_t>(34 + i)] = 0;
  std::fill(record.begin() + 192, record.end(), ' ');
  return record;
}

class UndoRedoTest : public EditorTest {
 protected:
  UndoRedoTest() {
    mEditor.SetPlatformServices(&mPlatform);
    mEditor.OpenCache(mFolder.Path());
    mScreen.Add(kTagCompareButton);
    OpenWindow();
    Connect();
    mStored = RecordBytes("Clean Chime", 40);
    Receive(BuildPresetDump(kSlot, mStored));
    mSent.Clear();
  }
  void Turn(int param, std::initializer_list<int> raws, bool wheel = false) {
    mEditor.BeginParamGesture(param, wheel);
    for (int raw : raws) {
      mEditor.SetParameterValueFromUI(param, mEditor.Params()[param].ToNormalized(raw));
    }
    mEditor.EndParamGesture();
  }
  int Raw(int param) const { return mEditor.Params()[param].Raw(); }
  static Bytes Edit(int param, int raw) {
    return BuildParamChange(kDeviceParamNumber[static_cast<size_t>(param)], raw);
  }
  void Undo() { mEditor.OnMenuCommand(kEditorCmdUndo); }
  void Redo() { mEditor.OnMenuCommand(kEditorCmdRedo); }
  std::vector<std::string> Boxes() {
    for (int i = 0; i < 4; ++i) mEditor.OnIdleTick();
    std::vector<std::string> texts;
    for (const auto& call : mPlatform.Calls()) texts.push_back(call.text);
    return texts;
  }

  TempFolder mFolder;
  ScriptedPlatformServices mPlatform;
  std::array<uint8_t, 256> mStored{};
};

TEST_F(UndoRedoTest, OneDragIsOneStepAndUndoSendsTheValueItStartedFrom) {
  Turn(kParamDrive, {50, 60, 70});
  ASSERT_EQ(mEditor.History().UndoCount(), 1u);
  EXPECT_EQ(mEditor.EditMenuText(false), "Undo Drive change");
  mSent.Clear();
  Undo();
  EXPECT_EQ(mSent.messages, std::vector<Bytes>{Edit(kParamDrive, 40)});
  EXPECT_EQ(Raw(kParamDrive), 40);
  EXPECT_EQ(mEditor.EditMenuText(true), "Redo Drive change");
  mSent.Clear();
  Redo();
  EXPECT_EQ(mSent.messages, std::vector<Bytes>{Edit(kParamDrive, 70)});
  EXPECT_EQ(mEditor.EditMenuText(true), "");
}

TEST_F(UndoRedoTest, HowMovesJoinIntoSteps) {
  struct Case {
    const char* what;
    int ticksBetween;  // device ticks between the two runs
    bool wheel;
    size_t steps;
  };
  const Case cases[] = {
      {"two drags", 0, false, 2},
      {"wheel notches in one run", 2, true, 1},
      {"wheel notches after a pause", UndoRedo::kWheelJoinTicks + 1, true, 2},
  };
  for (const Case& c : cases) {
    Receive(BuildPresetDump(kSlot, mStored));
    const size_t before = mEditor.History().UndoCount();
    Turn(kParamDrive, {45}, c.wheel);
    for (int i = 0; i < c.ticksBetween; ++i) mEditor.OnDeviceTimer();
    Turn(kParamDrive, {50}, c.wheel);
    EXPECT_EQ(mEditor.History().UndoCount() - before, c.steps) << c.what;
  }
}

TEST_F(UndoRedoTest, AKnobTurnedBackWhereItBeganLeavesNoStep) {
  Turn(kParamDrive, {55, 40});
  EXPECT_EQ(mEditor.History().UndoCount(), 0u);
  EXPECT_EQ(mEditor.EditMenuText(false), "");
}

TEST_F(UndoRedoTest, ANewEditClearsWhatCouldBeRedone) {
  Turn(kParamDrive, {60});
  Undo();
  ASSERT_EQ(mEditor.History().RedoCount(), 1u);
  Turn(kParamGain, {90});
  EXPECT_EQ(mEditor.History().RedoCount(), 0u);
  EXPECT_EQ(mEditor.EditMenuText(false), "Undo Gain change");
}

TEST_F(UndoRedoTest, AtLeastTwoHundredStepsAreKept) {
  for (int i = 0; i < 300; ++i) Turn(i % 2 ? kParamDrive : kParamGain, {20 + i % 100});
  EXPECT_GE(mEditor.History().UndoCount(), 200u);
  EXPECT_LE(mEditor.History().UndoCount(), UndoHistory::kMaxSteps);
}

TEST_F(UndoRedoTest, UndoOfATemplateWritesTheSlotsOldRecordAndTheSoundBeforeIt) {
  Turn(kParamDrive, {90});  // an unsaved edit the voicing replaces
  mSent.Clear();
  mEditor.ApplyDriveTemplate(2);
  ASSERT_EQ(mSent.messages.size(), 1u);  // the template's one store
  const Bytes templateStore = mSent.messages[0];
  EXPECT_EQ(mEditor.EditMenuText(false), "Undo drive voicing");
  mSent.Clear();
  Undo();
  ASSERT_EQ(mSent.messages.size(), 2u);
  EXPECT_EQ(mSent.messages[0], BuildStorePresetMessage(kSlot, PresetRecord(mStored)));
  EXPECT_EQ(mSent.messages[1], Edit(kParamDrive, 90));
  EXPECT_EQ(Raw(kParamGain), 40);
  EXPECT_EQ(mEditor.PresetRowLabel(kSlot).find("Clean Chime") != std::string::npos, true);
  mSent.Clear();
  Redo();
  ASSERT_FALSE(mSent.messages.empty());
  EXPECT_EQ(mSent.messages[0], templateStore);
}

TEST_F(UndoRedoTest, UndoOfARenameWritesTheOldNameBack) {
  mScreen.Add(kTagPresetName).str = "Lead Boost";
  mEditor.StoreCurrentPreset();
  EXPECT_EQ(mEditor.EditMenuText(false), "Undo store into 03");
  mSent.Clear();
  Undo();
  EXPECT_EQ(mSent.messages,
            std::vector<Bytes>{BuildStorePresetMessage(kSlot, PresetRecord(mStored))});
  EXPECT_EQ(mScreen.At(kTagPresetName).str.substr(0, 11), "Clean Chime");
  EXPECT_NE(mEditor.PresetRowLabel(kSlot).find("Clean Chime"), std::string::npos);
}

TEST_F(UndoRedoTest, UndoOfAPedalSideStoreWritesTheRecordItReplaced) {
  Turn(kParamDrive, {77});
  mSeam.ArmStore();
  auto stored = mStored;
  stored[34 + kParamDrive] = 77;
  Receive(BuildPresetDump(kSlot, stored));  // the pedal's answer to the store
  EXPECT_EQ(mEditor.EditMenuText(false), "Undo store into 03");
  mSent.Clear();
  Undo();
  // The old record goes back into the slot; the edited sound stays on the pedal.
  ASSERT_EQ(mSent.messages.size(), 2u);
  EXPECT_EQ(mSent.messages[0], BuildStorePresetMessage(kSlot, PresetRecord(mStored)));
  EXPECT_EQ(mSent.messages[1], Edit(kParamDrive, 77));
  EXPECT_TRUE(mEditor.presetModified);
}

TEST_F(UndoRedoTest, AStepOfAnotherPresetSelectsItFirstAndPlaysOnItsDump) {
  Turn(kParamDrive, {66});
  Receive(BuildPresetDump(7, RecordBytes("Other", 20)));  // the player went to slot 7
  EXPECT_EQ(mEditor.History().UndoCount(), 1u);
  mSent.Clear();
  Undo();
  EXPECT_EQ(mSent.messages, std::vector<Bytes>{BuildSelectPreset(kSlot)});
  mSent.Clear();
  auto unsaved = mStored;  // the pedal sends slot 3 as stored: the edit was never kept
  Receive(BuildPresetDump(kSlot, unsaved));
  EXPECT_TRUE(mSent.messages.empty()) << "the stored value is what the step began from";
  EXPECT_EQ(Raw(kParamDrive), 40);
  EXPECT_EQ(mEditor.History().RedoCount(), 1u);
}

TEST_F(UndoRedoTest, APedalThatDoesNotChangePresetIsSaidSoAndNothingIsUndone) {
  Turn(kParamDrive, {66});
  Receive(BuildPresetDump(7, RecordBytes("Other", 20)));
  Undo();
  for (int i = 0; i < UndoRedo::kSelectWaitTicks; ++i) mEditor.OnDeviceTimer();
  const std::vector<std::string> boxes = Boxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0], "The QD3 did not change to preset 03, so nothing was undone.");
  EXPECT_EQ(mEditor.History().UndoCount(), 1u);
  EXPECT_EQ(Raw(kParamDrive), 20);
}

TEST_F(UndoRedoTest, TheHistoryBelongsToThePedal) {
  Turn(kParamDrive, {66});
  mEditor.Reconnect();
  Receive(BuildDeviceInfo(kFormatVersion, "QD3 TEST PEDAL"));  // the same pedal again
  EXPECT_EQ(mEditor.History().UndoCount(), 1u);
  mEditor.Reconnect();
  Receive(BuildDeviceInfo(kFormatVersion, "QD3 OTHER PEDAL"));
  EXPECT_EQ(mEditor.History().UndoCount(), 0u);
}

TEST_F(UndoRedoTest, UndoWaitsForARunningSynchronisation) {
  Turn(kParamDrive, {66});
  mEditor.session.saveAwaiting = true;
  mSent.Clear();
  Undo();
  EXPECT_TRUE(mSent.messages.empty());
  EXPECT_EQ(Boxes(), std::vector<std::string>{
                         "Undo and redo wait until the transfer with the QD3 has finished."});
  mEditor.session.saveAwaiting = false;
  Undo();
  EXPECT_EQ(mSent.messages, std::vector<Bytes>{Edit(kParamDrive, 40)});
}

TEST_F(UndoRedoTest, TheKeysUndoAndRedo) {
  Turn(kParamDrive, {66});
  EXPECT_TRUE(mEditor.OnEditorKey(EditorKey::kUndo));
  EXPECT_EQ(Raw(kParamDrive), 40);
  EXPECT_TRUE(mEditor.OnEditorKey(EditorKey::kRedo));
  EXPECT_EQ(Raw(kParamDrive), 66);
}

TEST_F(UndoRedoTest, AStoreIsNotUndoneOverWhatTheSlotHoldsSince) {
  mScreen.Add(kTagPresetName).str = "Lead Boost";
  mEditor.StoreCurrentPreset();
  // A bank import, a reset or another editor put something else there.
  Receive(BuildPresetDump(kSlot, RecordBytes("Imported", 50)));
  mEditor.Cache()->WritePreset(kSlot, RecordBytes("Imported", 50));
  mSent.Clear();
  Undo();
  EXPECT_TRUE(mSent.messages.empty());
  EXPECT_EQ(Boxes(), std::vector<std::string>{
                         "Preset 03 has changed on the QD3 since (a bank import, a reset, another "
                         "editor), so it was not undone. The undo history was cleared."});
  EXPECT_EQ(mEditor.History().UndoCount(), 0u);
}

TEST_F(UndoRedoTest, UndoingAStoreNeedsThePedal) {
  mScreen.Add(kTagPresetName).str = "Lead Boost";
  mEditor.StoreCurrentPreset();
  mEditor.session.connected = false;
  mSent.Clear();
  Undo();
  EXPECT_TRUE(mSent.messages.empty());
  EXPECT_EQ(Boxes(), std::vector<std::string>{
                         "Undoing or redoing a store writes to the QD3: connect it first."});
  EXPECT_EQ(mEditor.History().UndoCount(), 1u);
}

TEST_F(UndoRedoTest, AStoreIntoAnotherPresetIsUndoneWithoutChangingPreset) {
  mScreen.Add(kTagPresetName).str = "Lead Boost";
  mEditor.StoreCurrentPreset();
  Receive(BuildPresetDump(7, RecordBytes("Other", 20)));
  mSent.Clear();
  Undo();
  EXPECT_EQ(mSent.messages,
            std::vector<Bytes>{BuildStorePresetMessage(kSlot, PresetRecord(mStored))});
  EXPECT_EQ(Raw(kParamDrive), 20) << "the edit buffer of preset 07 is left alone";
}

TEST_F(UndoRedoTest, UndoOnAnotherPresetAsksBeforeTheCurrentEditsGo) {
  Turn(kParamDrive, {66});
  Receive(BuildPresetDump(7, RecordBytes("Other", 20)));
  mEditor.SetParameterValue(kParamGain, mEditor.Params()[kParamGain].ToNormalized(99));
  ASSERT_TRUE(mEditor.presetModified);
  mPlatform.QueueMessageBoxResult(EMsgBoxResult::Cancel);
  mSent.Clear();
  Undo();
  EXPECT_TRUE(mSent.messages.empty());
  ASSERT_EQ(mPlatform.Calls().size(), 1u);
  EXPECT_EQ(mPlatform.Calls()[0].text,
            "Undo goes to another preset, and the current preset's unsaved changes are lost. "
            "Go on?");
  EXPECT_EQ(mEditor.History().UndoCount(), 1u);
}

// ---- COMPARE ----

TEST_F(UndoRedoTest, CompareSendsOnlyTheEditedParametersAndBack) {
  EXPECT_TRUE(mScreen.At(kTagCompareButton).disabled) << "nothing edited yet";
  Turn(kParamDrive, {66});
  Turn(kParamGain, {11});
  EXPECT_FALSE(mScreen.At(kTagCompareButton).disabled);
  mSent.Clear();
  mEditor.OnCompareButton();
  EXPECT_EQ(mSent.messages, (std::vector<Bytes>{Edit(kParamGain, 40), Edit(kParamDrive, 40)}));
  EXPECT_EQ(mScreen.At(kTagCompareButton).value, 1.0);
  EXPECT_FALSE(mScreen.At(kTagCompareButton).disabled);
  EXPECT_TRUE(mEditor.presetModified);
  mSent.Clear();
  mEditor.OnEditorKey(EditorKey::kCompare);
  EXPECT_EQ(mSent.messages, (std::vector<Bytes>{Edit(kParamGain, 11), Edit(kParamDrive, 66)}));
  EXPECT_EQ(mScreen.At(kTagCompareButton).value, 0.0);
  EXPECT_EQ(mEditor.History().UndoCount(), 2u) << "comparing is no step";
}

TEST_F(UndoRedoTest, AnEditWhileComparingKeepsTheEditedSound) {
  Turn(kParamDrive, {66});
  mEditor.OnCompareButton();
  Turn(kParamGain, {11});
  EXPECT_FALSE(mEditor.Comparing());
  EXPECT_EQ(Raw(kParamDrive), 66);
  EXPECT_EQ(Raw(kParamGain), 11);
  EXPECT_EQ(mScreen.At(kTagCompareButton).value, 0.0);
}

TEST_F(UndoRedoTest, CompareDoesNothingOnAnUneditedPreset) {
  mEditor.OnCompareButton();
  EXPECT_FALSE(mEditor.Comparing());
  EXPECT_TRUE(mSent.messages.empty());
}

TEST_F(UndoRedoTest, AStoreWhileComparingStoresTheEditedSound) {
  Turn(kParamDrive, {66});
  mEditor.OnCompareButton();
  mSent.Clear();
  mEditor.StoreCurrentPreset();
  ASSERT_EQ(mSent.messages.size(), 2u);
  EXPECT_EQ(mSent.messages[0], Edit(kParamDrive, 66));
  EXPECT_EQ(mSent.messages[1][8 + 34 + kParamDrive], 66);
}

TEST_F(UndoRedoTest, EveryStoreWhileComparingStoresTheEditedSound) {
  Turn(kParamDrive, {66});
  mEditor.OnCompareButton();
  mSent.Clear();
  mEditor.OpenGlobalSettings();  // asks about the edits; the answer stores them
  ASSERT_FALSE(mSent.messages.empty());
  EXPECT_EQ(mSent.messages[0], Edit(kParamDrive, 66));
  const auto store = std::find_if(mSent.messages.begin(), mSent.messages.end(), [](const Bytes& m) {
    return m[kCommandOffset] == kCmdStorePreset;
  });
  ASSERT_NE(store, mSent.messages.end());
  EXPECT_EQ((*store)[8 + 34 + kParamDrive], 66);
  mEditor.CloseGlobalSettings();

  Turn(kParamDrive, {67});
  mEditor.OnCompareButton();
  mSent.Clear();
  mEditor.OnEditorKey(EditorKey::kStore);  // Ctrl+S: the pedal stores what it plays
  ASSERT_GE(mSent.messages.size(), 2u);
  EXPECT_EQ(mSent.messages[0], Edit(kParamDrive, 67));
  EXPECT_EQ(mSent.messages[1], BuildParamChange(kDeviceParamStore, kSlot));
  mEditor.OnCompareButton();
  EXPECT_FALSE(mEditor.Comparing()) << "no comparing while a store is armed";
}

}  // namespace
}  // namespace qd3::test
