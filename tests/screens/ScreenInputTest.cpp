// Clicks injected in window pixels at the places the layout fixes, at the default
// scale 0.5 and at 1.0, reach the parameters and actions behind them.
#include <gtest/gtest.h>

#include "QD3ControlScreenNames.h"
#include "params/PageNumbers.h"
#include "protocol/DeviceMessages.h"
#include "protocol/DeviceReplies.h"
#include "tests/screens/ScreenTestSupport.h"

namespace qd3::test {
namespace {

class ScaledScreen : public ::testing::TestWithParam<float> {
 protected:
  ScaledScreen() : mS(GetParam()) {}
  void ClickDesign(float x, float y) {
    const float k = mS.graphics.GetDrawScale();
    mS.host.Click(x * k, y * k);
    mS.host.Frame();
  }
  int SentWithCommand(DeviceCommand command) const {
    int n = 0;
    for (const auto& m : mS.sent.messages)
      n += m.size() > kCommandOffset && m[kCommandOffset] == static_cast<uint8_t>(command);
    return n;
  }
  void Connect() {
    const Bytes info = BuildDeviceInfo(kFormatVersion, "QD3 TEST PEDAL");
    mS.editor.HandleDeviceMessage(info.data(), info.size());
    mS.sent.Clear();
  }
  BuiltScreen mS;
};

TEST_P(ScaledScreen, ClickOnAPresetRowSetsThePickerToThatRow) {
  for (int row : {0, 3, 18}) {
    ClickDesign(100.f, 228.f + 50.f * static_cast<float>(row) + 25.f);
    EXPECT_EQ(mS.editor.Params()[kParamPresetPicker].Raw(), row) << "row " << row;
  }
}

TEST_P(ScaledScreen, ClickOnAPresetRowSelectsThatPresetOnThePedal) {
  Connect();
  ClickDesign(100.f, 228.f + 50.f * 5.f + 25.f);
  EXPECT_EQ(SentWithCommand(kCmdSelectPreset), 1);
  EXPECT_EQ(mS.editor.session.highlightedPreset, 5);
}

TEST_P(ScaledScreen, PressOnTheLowestCabinetRowPicksPositionEight) {
  ClickDesign(600.f, 1113.f + 25.f);
  EXPECT_EQ(mS.editor.Params()[kParamIrPositionPicker].Raw(), 8);
  EXPECT_EQ(mS.editor.Params()[kParamIr].Raw(), 127);
  ClickDesign(600.f, 713.f + 50.f + 25.f);
  EXPECT_EQ(mS.editor.Params()[kParamIr].Raw(), 16);
}

TEST_P(ScaledScreen, ClickAnywhereOnTheGraphAreaReachesTheIrPageTarget) {
  const double before = mS.editor.Params()[kParamIrPageTarget].GetNormalized();
  ClickDesign(1860.f, 1150.f);  // right of the IR display, over the dynamics graph's area
  EXPECT_NE(mS.editor.Params()[kParamIrPageTarget].GetNormalized(), before);
}

TEST_P(ScaledScreen, CommittedPresetNameIsStoredOnThePedal) {
  IControl& entry = mS.Tagged(kTagPresetName);
  entry.OnTextEntryCompletion("My Lead");
  EXPECT_EQ(mS.editor.presetNameText, "My Lead");
  EXPECT_EQ(SentWithCommand(kCmdStorePreset), 1);
}

TEST_P(ScaledScreen, ScrollBarSetsTheScrollParameter) {
  ClickDesign(280.f, 240.f);  // near the top of the bar: the highest value
  EXPECT_GT(mS.editor.Params()[kParamScroll].Raw(), 100);
  ClickDesign(280.f, 1160.f);
  EXPECT_LT(mS.editor.Params()[kParamScroll].Raw(), 10);
}

TEST_P(ScaledScreen, TheWheelOverThePresetListScrollsItAndPicksNothing) {
  Connect();
  const float k = mS.graphics.GetDrawScale();
  const auto wheel = [&](float notches, bool shift) {
    IMouseMod mod;
    mod.S = shift;
    mS.host.Wheel(100.f * k, 600.f * k, notches, mod);
    mS.host.Frame();
  };
  wheel(-1.f, false);  // towards the player: down the list
  EXPECT_EQ(mS.editor.Params()[kParamScroll].Raw(), 109 - 3);
  wheel(-1.f, true);
  EXPECT_EQ(mS.editor.Params()[kParamScroll].Raw(), 109 - 4);
  wheel(1.f, false);
  EXPECT_EQ(mS.editor.Params()[kParamScroll].Raw(), 109 - 1);
  EXPECT_EQ(SentWithCommand(kCmdSelectPreset), 0);
}

// The parallel clean level and the analog simulation have no knob on the pedal face:
// the drive page leads to both, and each page's knob then lies inside its panel.
TEST_P(ScaledScreen, TheDrivePageLeadsToThePagesNoFaceKnobOpens) {
  struct Case {
    float x;
    int page;
    int param;
  };
  for (const Case& c : {Case{480.f, kPagePreamp, 36}, Case{730.f, kPageAnalogSim, 15}}) {
    mS.editor.ShowPage(kPageDrive);
    mS.host.Frame();
    ClickDesign(c.x, 1121.f);
    mS.host.Advance(0.2);
    EXPECT_EQ(mS.editor.currentPage, c.page) << c.param;
    bool reachable = false;
    mS.graphics.ForAllControls([&](IControl& control) {
      if (control.GetParamIdx() != c.param || control.IsHidden()) return;
      reachable = true;
      EXPECT_LT(control.GetRECT().R, 1160.f) << "inside the page's panel, clear of the graph";
    });
    EXPECT_TRUE(reachable) << c.param;
  }
}

// The click area that opens the IR page lies over the response graph; the pointer's
// moves still reach the graph, whose read-out box follows the pointer.
TEST_P(ScaledScreen, TheResponseGraphsReadOutFollowsThePointer) {
  const float k = mS.graphics.GetDrawScale();
  const auto cyan = [](const IColor& c) { return c.G > 200 && c.B > 200 && c.R < 160; };
  const IRECT box(1312.f, 1012.f, 1398.f, 1036.f);  // where the box stands for that point
  mS.host.MouseMove(1300.f * k, 1000.f * k);
  EXPECT_GT(mS.CountPixels(box, cyan, 2.f), 200) << "the read-out's box, below right";
  mS.host.MouseMove(100.f * k, 100.f * k);  // away: the box goes
  EXPECT_LT(mS.CountPixels(box, cyan, 2.f), 20);
}

INSTANTIATE_TEST_SUITE_P(Scales, ScaledScreen, ::testing::Values(0.5f, 1.0f));

}  // namespace
}  // namespace qd3::test
