#include "params/PageNumbers.h"
#include "tests/editor/EditorFixture.h"

namespace qd3::test {
namespace {

Bytes ParamChange(int deviceParam, int value) {
  return {0xF0,
          0x00,
          0x3F,
          0x6B,
          0x03,
          0x50,
          0x0B,
          static_cast<uint8_t>(deviceParam),
          static_cast<uint8_t>(value),
          0xF7};
}

TEST_F(EditorTest, GainEditSendsOneParamChangeAndARepeatSendsNothing) {
  Connect();
  mSeam.SetPedalValue(1, 64);
  SetRaw(1, 65);
  ASSERT_EQ(mSent.messages.size(), 1u);
  EXPECT_EQ(mSent.messages[0], (Bytes{0xF0, 0x00, 0x3F, 0x6B, 0x03, 0x50, 0x0B, 0x01, 0x41, 0xF7}));
  SetRaw(1, 65);
  EXPECT_EQ(mSent.messages.size(), 1u);
  EXPECT_EQ(mEditor.liveValues[1], 65);
}

TEST_F(EditorTest, EditsUseTheDeviceParameterNumbering) {
  Connect();
  const std::pair<int, int> cases[] = {{20, 24}, {63, 67}, {64, 16}, {15, 15}, {19, 23}};
  for (const auto& [index, number] : cases) {
    mSent.Clear();
    const IParam& p = mEditor.Params()[index];
    const int v = p.Raw() == static_cast<int>(p.Info().max) ? p.Raw() - 1 : p.Raw() + 1;
    SetRaw(index, v);
    ASSERT_EQ(mSent.messages.size(), 1u) << index;
    EXPECT_EQ(mSent.messages[0], ParamChange(number, v)) << index;
  }
}

TEST_F(EditorTest, UserIrHalvesAreSentEvenWhenUnchanged) {
  Connect();
  for (int index : {53, 54, 55, 56}) {
    mSent.Clear();
    SetRaw(index, 0);  // equal to liveValues (0)
    SetRaw(index, 0);
    ASSERT_EQ(mSent.messages.size(), 2u) << index;
    EXPECT_EQ(mSent.messages[1], ParamChange(index + 4, 0));
  }
}

TEST_F(EditorTest, DeviceValuesAreRecordedButNotSentBack) {
  Connect();
  mSeam.SetApplyingDeviceValues(true);
  for (int i = 0; i < kNumSoundParams; ++i) SetRaw(i, (i * 7) % 2);
  EXPECT_TRUE(mSent.messages.empty());
  EXPECT_EQ(mEditor.liveValues[10], (10 * 7) % 2);
  mSeam.TakeSnapshotOfPedalValues();
  mSeam.SetApplyingDeviceValues(false);

  // The first real edit afterwards goes out; nothing of the apply is replayed.
  OpenWindow();
  SetRaw(2, mEditor.liveValues[2]);
  EXPECT_TRUE(mSent.messages.empty()) << "the pedal already holds this value";
  EXPECT_FALSE(mEditor.presetModified);
  SetRaw(2, 5);
  ASSERT_EQ(mSent.messages.size(), 1u);
  EXPECT_EQ(mSent.messages[0], ParamChange(2, 5));
  EXPECT_TRUE(mEditor.presetModified);
}

TEST_F(EditorTest, NothingIsSentOrRecordedWhileUnconnected) {
  SetRaw(1, 100);
  EXPECT_TRUE(mSent.messages.empty());
  EXPECT_EQ(mEditor.liveValues[1], 0);
  EXPECT_EQ(mEditor.Params()[1].Raw(), 100);
  Connect();
  EXPECT_TRUE(mSent.messages.empty()) << "connecting replays nothing";
}

TEST_F(EditorTest, CompressionDrivesDynamicsWhileTheWindowIsOpen) {
  Connect();
  mSeam.SetPedalValue(10, 64);
  SetRaw(kParamCompression, 100);
  EXPECT_TRUE(mSent.messages.empty()) << "without a window the alias does nothing";

  OpenWindow();
  SetRaw(kParamCompression, 100);  // same value: handler still runs
  ASSERT_EQ(mSent.messages.size(), 1u);
  EXPECT_EQ(mSent.messages[0], ParamChange(10, 100));
  EXPECT_EQ(mEditor.Params()[10].Raw(), 100);
  EXPECT_EQ(mScreen.At(1).str, "100");
  SetRaw(kParamCompression, 64);
  EXPECT_EQ(mSent.messages.back(), ParamChange(10, 64));
}

// Opening the drive page shows "Dynamics" on its "Compression" knob; the sound and the
// pedal are left as they are, whatever the setting.
TEST_F(EditorTest, OpeningTheDrivePageChangesNoSound) {
  Connect();
  OpenWindow();
  for (const int dynamics : {0, 40, 64, 65, 100, 127}) {
    SetRaw(10, dynamics);
    mSent.Clear();
    mEditor.ShowPage(kPageIr);
    mEditor.ShowPage(kPageDrive);
    EXPECT_EQ(mEditor.Params()[10].Raw(), dynamics);
    EXPECT_TRUE(mSent.messages.empty()) << dynamics;
  }
}

TEST_F(EditorTest, IrAliasSendsTheMirroredCabinetNumber) {
  Connect();
  SetRaw(kParamIrAlias, 27);
  ASSERT_EQ(mSent.messages.size(), 1u);
  EXPECT_EQ(mSent.messages[0], ParamChange(14, 100));
  EXPECT_EQ(mEditor.Params()[14].Raw(), 100);
}

TEST_F(EditorTest, IrPositionPickerSetsCabinetNumbersOnlyOnAPress) {
  Connect();
  SetRaw(kParamIrPositionPicker, 3);
  EXPECT_TRUE(mSent.messages.empty());

  mEditor.SetIrPositionPickerPressed(true);
  const int expected[] = {1, 16, 32, 48, 64, 80, 96, 112, 127, 127};
  for (int p = 0; p <= 9; ++p) {
    SetRaw(kParamIrPositionPicker, p);
    EXPECT_EQ(mEditor.Params()[14].Raw(), expected[p]) << "position " << p;
  }
  EXPECT_EQ(mSent.messages.back(), ParamChange(14, 127));
}

TEST_F(EditorTest, LowHalfRecomputesTheUserIrNumber) {
  SetRaw(kParamUserIrAHigh, 1);
  SetRaw(kParamUserIrALow, 72);
  EXPECT_EQ(mEditor.session.userIrA, 200);
  SetRaw(kParamUserIrBHigh, 1);
  SetRaw(kParamUserIrBLow, 127);
  EXPECT_EQ(mEditor.session.userIrB, 255);
}

TEST_F(EditorTest, TwoDigitDisplayShowsValuesAndModifiedColour) {
  OpenWindow();
  Connect();
  FakeControl& display = mScreen.At(1);
  display.hidden = true;
  SetRaw(1, 7);
  EXPECT_EQ(display.str, "07");
  EXPECT_FALSE(display.hidden);
  EXPECT_EQ(display.color, (IColor{160, 255, 255, 255})) << "dimmed, yet legible";

  display.str = "xx";
  for (int index : {40, 41, 57, 60}) {
    SetRaw(index, 1);
    EXPECT_EQ(display.str, "xx") << index << " has its own display";
  }
  // "IR" shows the cabinet position (0..80), not its raw value.
  SetRaw(14, 64);
  EXPECT_EQ(display.str, "40");

  mSeam.TakeSnapshotOfPedalValues();
  SetRaw(1, 7);
  EXPECT_EQ(display.color, (IColor{255, 255, 255, 255}));
}

TEST_F(EditorTest, TemplatesMarkVoicingEditsAsModified) {
  mSeam.MarkTemplateApplied();
  SetRaw(37, 3);
  EXPECT_TRUE(mEditor.presetModified);
  mSeam.ClearPresetModified();
  SetRaw(38, 3);
  EXPECT_FALSE(mEditor.presetModified);
}

TEST_F(EditorTest, DeviceSetValuesAreQueuedForTheControls) {
  SetRaw(5, 127);
  SetRaw(kParamIrAlias, 0);  // also queues its target, 14
  std::vector<std::pair<int, double>> drained;
  mEditor.DrainQueuedParamUpdates([&](int i, double v) { drained.emplace_back(i, v); });
  EXPECT_EQ(drained, (std::vector<std::pair<int, double>>{{5, 1.0}, {14, 1.0}, {73, 0.0}}));
  drained.clear();
  mEditor.DrainQueuedParamUpdates([&](int i, double v) { drained.emplace_back(i, v); });
  EXPECT_TRUE(drained.empty());
}

}  // namespace
}  // namespace qd3::test
