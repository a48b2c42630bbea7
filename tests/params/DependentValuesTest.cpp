#include <gtest/gtest.h>

#include "params/DependentValues.h"
#include "params/ParamCatalogue.h"

namespace qd3 {
namespace {

TEST(DependentValues, IrPositionPickerStoresTheCabinetNumbers) {
  const int expected[] = {1, 16, 32, 48, 64, 80, 96, 112, 127, 127};
  for (int p = 0; p <= 9; ++p) {
    ParamCatalogue params;
    params[14].SetNormalized(IrNormalizedFromPosition(p));
    EXPECT_EQ(params[14].Raw(), expected[p]) << p;
  }
}

TEST(DependentValues, LinkedParameters) {
  ParamCatalogue params;
  params[14].SetNormalized(IrNormalizedFromAlias(27));
  EXPECT_EQ(params[14].Raw(), 100);

  for (int v : {64, 100, 127}) {
    params[10].SetNormalized(DynamicsNormalizedFromCompression(v));
    EXPECT_EQ(params[10].Raw(), v);
  }
  for (int d : {0, 63, 64, 88, 127}) {
    params[69].SetNormalized(CompressionNormalizedFromDynamics(d));
    EXPECT_EQ(params[69].Raw(), d < 64 ? 64 : d) << d;
  }
  EXPECT_FLOAT_EQ(IrSliderValue(0), 1.0f);
  EXPECT_FLOAT_EQ(IrSliderValue(127), 0.0f);
}

TEST(DependentValues, GraphRatios) {
  EXPECT_FLOAT_EQ(CompressorRatio(127), 20.0f);
  EXPECT_FLOAT_EQ(ExpanderRatioReciprocal(127), 1.0f / 12.0f);
  EXPECT_FLOAT_EQ(GateRatioReciprocal(127), 0.1f);
  EXPECT_FLOAT_EQ(DrivePageCompRatio(64, 127, 127), 1.0f);
  EXPECT_FLOAT_EQ(DrivePageCompRatio(100, 127, 0), 20.0f);
  EXPECT_FLOAT_EQ(DrivePageCompRatio(10, 127, 127), 1.0f / 12.0f);
  EXPECT_FLOAT_EQ(DrivePageCompRatio(0, 0, 0), 1.0f);
}

TEST(DependentValues, ReverbKeepsTheEchoTimeGroupWithTheLitEchoButton) {
  EXPECT_EQ(EchoTimeGroupAfterReverb(3, 1, 0), GroupChange::kShow);
  EXPECT_EQ(EchoTimeGroupAfterReverb(3, 0, 1), GroupChange::kShow);
  EXPECT_EQ(EchoTimeGroupAfterReverb(3, 0, 0), GroupChange::kHide);
  EXPECT_EQ(EchoTimeGroupAfterReverb(13, 1, 0), GroupChange::kKeep);
}

TEST(DependentValues, IrModeAndUserIrNumbers) {
  EXPECT_STREQ(IrModeViewFor(0, 0).fixedName, "BRIT 2x12");
  EXPECT_STREQ(IrModeViewFor(1, 0).fixedName, "BOUTIQUE 4x12");
  EXPECT_TRUE(IrModeViewFor(1, 1).userIr);
  EXPECT_FALSE(IrModeRefreshesIrDisplay(95));  // position 6 of 0..8
  EXPECT_TRUE(IrModeRefreshesIrDisplay(96));
  EXPECT_EQ(UserIrNumber(1, 5), 133);
  EXPECT_EQ(EmptyIrSlotText(0), "Empty Slot 1");
  EXPECT_EQ(EmptyIrSlotText(63), "Empty Slot 32");
  EXPECT_FALSE(UserIrFetchNeeded(33, "Empty Slot 2", "Anything"));
  EXPECT_FALSE(UserIrFetchNeeded(33, "Greenback", "Greenback"));
  EXPECT_TRUE(UserIrFetchNeeded(33, "Greenback", "Empty Slot 2"));
}

TEST(DependentValues, PresetListScroll) {
  EXPECT_EQ(ScrollForSlot(120), 0);
  EXPECT_EQ(ScrollForSlot(5), 104);
  EXPECT_EQ(ListTopFromScroll(109), 0);
  EXPECT_EQ(ListTopFromScroll(0), 109);
  EXPECT_DOUBLE_EQ(ScrollNormalizedForListTop(0), 1.0);
  EXPECT_DOUBLE_EQ(ScrollNormalizedForListTop(109), 0.0);

  EXPECT_EQ(PresetRowPlacement(10, 10).y, 228);
  EXPECT_TRUE(PresetRowPlacement(10, 10).visible);
  EXPECT_EQ(PresetRowPlacement(12, 10).y, 328);
  EXPECT_FALSE(PresetRowPlacement(9, 10).visible);
  EXPECT_EQ(PresetRowPlacement(9, 10).x, 1);
}

TEST(DependentValues, WheelStepsAndLimits) {
  EXPECT_EQ(ListTopAfterWheel(50, true, true), 49);
  EXPECT_EQ(ListTopAfterWheel(50, true, false), 47);
  EXPECT_EQ(ListTopAfterWheel(50, false, false), 53);
  EXPECT_EQ(ListTopAfterWheel(1, true, false), 0);
  EXPECT_EQ(ListTopAfterWheel(108, false, false), 109);
}

TEST(DependentValues, PickedRowAtTheBottomEdgeStaysInsideTheBank) {
  // The picker's value reaches 19 on its bottom edge; at the end of the list
  // that used to pick slot 128.
  EXPECT_EQ(PickedPresetSlot(109, 19.0), 127);
  EXPECT_EQ(PickedPresetSlot(109, 18.99), 127);
  EXPECT_EQ(PickedPresetSlot(10, 9.88), 19);
  EXPECT_EQ(PickedPresetSlot(0, 0.4), 0);
}

TEST(DependentValues, PickSendsStoreWhenArmed) {
  EXPECT_EQ(PresetPickActionFor(true, true), PresetPickAction::kStore);
  EXPECT_EQ(PresetPickActionFor(true, false), PresetPickAction::kSelect);
  EXPECT_EQ(PresetPickActionFor(false, true), PresetPickAction::kNone);
}

}  // namespace
}  // namespace qd3
