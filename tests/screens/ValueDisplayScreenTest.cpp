// The value read-outs, page switches and dependent controls on the real screens,
// driven as a player drives them: the pedal's first values, knobs dragged and the
// graph area clicked with mouse events in window pixels at scales 0.5 and 1.0.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>

#include "QD3ControlScreenNames.h"
#include "params/PageNumbers.h"
#include "presets/PresetRecord.h"
#include "protocol/DeviceMessages.h"
#include "protocol/DeviceReplies.h"
#include "tests/screens/ScreenTestSupport.h"
#include "tests/support/ToolkitTestSupport.h"
#include "toolkit/api/EmbeddedResources.h"
#include "toolkit/graphs/IDynamicsResponseGraph.h"

namespace qd3::test {
namespace {

// A current-preset dump with the given sound parameter values (the rest 0).
Bytes CurrentPresetDump(std::initializer_list<std::pair<int, int>> values) {
  std::array<uint8_t, kRecordSize> record{};
  record[0] = 1;  // format 1.0
  for (const auto& [index, raw] : values) {
    record[kParamBytesOffset + static_cast<size_t>(index)] = static_cast<uint8_t>(raw);
  }
  return BuildPresetDump(3, record);
}

class ValueDisplayScreen : public ::testing::TestWithParam<float> {
 protected:
  ValueDisplayScreen() : mS(GetParam()) {}
  void Receive(const Bytes& m) { mS.editor.HandleDeviceMessage(m.data(), m.size()); }
  // The pedal answers and sends its current preset: the pedal face is enabled and
  // from here on edits are live and open their pages.
  void ConnectWith(std::initializer_list<std::pair<int, int>> values) {
    Receive(BuildDeviceInfo(kFormatVersion, "QD3 TEST PEDAL"));
    Receive(CurrentPresetDump(values));
    ASSERT_FALSE(mS.editor.session.applyingDeviceValues);
    mS.sent.Clear();
  }
  float Window(float design) const { return design * mS.graphics.GetDrawScale(); }
  void DragDesign(float x, float y, float dy) {
    mS.host.Drag(Window(x), Window(y), Window(x), Window(y + dy), 8);
    mS.host.Frame();
  }
  void ClickDesign(float x, float y) {
    mS.host.Click(Window(x), Window(y));
    mS.host.Frame();
  }
  std::string Text(int tag) { return mS.Tagged(tag).GetStr(); }
  bool Visible(int tag) { return !mS.Tagged(tag).IsHidden(); }
  IDynamicsResponseGraph& Graph() {
    for (int i = 0; i < mS.graphics.NControls(); ++i) {
      if (auto* g = dynamic_cast<IDynamicsResponseGraph*>(mS.graphics.GetControl(i))) return *g;
    }
    ADD_FAILURE() << "no dynamics graph";
    return *static_cast<IDynamicsResponseGraph*>(mS.graphics.GetControl(0));
  }
  // The last kCmdParamChange sent for device parameter `number`, or -1.
  int LastLiveEdit(int number) const {
    int value = -1;
    for (const auto& m : mS.sent.messages) {
      if (m.size() == 10 && m[kCommandOffset] == static_cast<uint8_t>(kCmdParamChange) &&
          m[7] == number) {
        value = m[8];
      }
    }
    return value;
  }

  BuiltScreen mS;
};

TEST_P(ValueDisplayScreen, FirstPedalValuesFillTheReadOutsAndOpenNoPage) {
  ConnectWith({{0, 64},
               {1, 0},
               {6, 127},
               {9, 1},
               {13, 63},
               {15, 0},
               {16, 64},
               {37, 127},
               {39, 127},
               {42, 0},
               {47, 127},
               {61, 127},
               {14, 127}});
  EXPECT_EQ(Text(48), "50");
  EXPECT_EQ(Text(47), "1");
  EXPECT_EQ(Text(36), "12.0");
  EXPECT_EQ(Text(20), "-99.45");
  EXPECT_EQ(Text(40), "993");
  EXPECT_EQ(Text(21), "100");
  EXPECT_EQ(Text(22), "DIGITAL SMOOTH");
  EXPECT_EQ(Text(45), "250");
  EXPECT_EQ(Text(17), "10.0:1");
  EXPECT_EQ(Text(19), "1000.0");
  EXPECT_EQ(Text(27), "-12.00");
  EXPECT_EQ(Text(39), "2.0");
  EXPECT_EQ(Text(49), "100");
  EXPECT_EQ(Text(44), "0") << "a parameter the dump leaves at 0";
  EXPECT_EQ(mS.editor.currentPage, kPageNone);
  EXPECT_TRUE(Visible(62)) << "the IR page stays the one shown";
  EXPECT_FALSE(Visible(36));
}

TEST_P(ValueDisplayScreen, ChangeHandlersRunWithTheWindowOpenFillEveryText) {
  mS.editor.RunAllChangeHandlers();  // catalogue defaults
  EXPECT_EQ(Text(48), "50");
  EXPECT_EQ(Text(47), "50");
  EXPECT_EQ(Text(36), "0.0");
  EXPECT_EQ(Text(20), "Bypass");
  EXPECT_EQ(Text(21), "Bypass");
  EXPECT_EQ(Text(22), "SMOOTHING");
  EXPECT_EQ(Text(17), "1.0:1");
  EXPECT_EQ(mS.editor.currentPage, kPageNone) << "nothing applied yet: no page opens";
}

TEST_P(ValueDisplayScreen, DraggingThePedalsLowKnobOpensItsPageShowsAndSendsTheValue) {
  ConnectWith({{kParamLow, 64}});
  DragDesign(913.f, 190.f, -120.f);  // up: more treble-cut gain
  const int raw = mS.editor.Params()[kParamLow].Raw();
  ASSERT_GT(raw, 64);
  EXPECT_EQ(mS.editor.currentPage, kPageLowFilter);
  EXPECT_TRUE(Visible(36)) << "the low filter page's gain text";
  EXPECT_FALSE(Visible(62)) << "the IR page went";
  char expected[16];
  std::snprintf(expected, sizeof expected, "%.1f", raw * 24.0 / 127.0 - 12.0);
  EXPECT_EQ(Text(36), expected);
  EXPECT_EQ(LastLiveEdit(kParamLow), raw) << "the pedal got the edit live";

  // The page's own GAIN knob drives the same parameter, also when the press lands on
  // the value text drawn inside its arc.
  DragDesign(580.f, 915.f, 60.f);
  EXPECT_LT(mS.editor.Params()[kParamLow].Raw(), raw);
  EXPECT_EQ(LastLiveEdit(kParamLow), mS.editor.Params()[kParamLow].Raw());
}

TEST_P(ValueDisplayScreen, DraggingGateMovesTheGraphsFirstKnee) {
  ConnectWith({});
  DragDesign(984.5f, 347.5f, -1000.f);  // all the way up: -30 dB
  EXPECT_EQ(mS.editor.Params()[kParamGate].Raw(), 127);
  EXPECT_EQ(mS.editor.currentPage, kPageGate);
  EXPECT_EQ(Text(20), "-30.00");
  EXPECT_FALSE(Graph().IsHidden());
  EXPECT_NEAR(Graph().T1(), 0.7, 1e-6);
  EXPECT_NEAR(Graph().T2(), 0.7, 1e-6) << "the second knee is pushed up with the first";
  EXPECT_EQ(LastLiveEdit(kParamGate), 127);
}

TEST_P(ValueDisplayScreen, GraphFollowsDynamicsAndRatiosOnTheDrivePage) {
  ConnectWith({{25, 127}, {37, 127}});
  EXPECT_NEAR(Graph().R1(), 0.1, 1e-6) << "gate ratio 10:1 from the dump";
  DragDesign(770.f, 189.f, -40.f);  // "Drive": the drive page
  ASSERT_EQ(mS.editor.currentPage, kPageDrive);
  EXPECT_FALSE(Graph().IsHidden());
  mS.editor.SetParameterValue(10, 127 / 127.0);  // compressor, -60 dB
  EXPECT_NEAR(Graph().T2(), 0.4, 1e-6);
  EXPECT_NEAR(Graph().R2(), 20.0, 1e-5);
  mS.editor.SetParameterValue(10, 64 / 127.0);  // off
  EXPECT_NEAR(Graph().T2(), 1.0, 1e-6);
  EXPECT_NEAR(Graph().R2(), 1.0, 1e-6);
  EXPECT_EQ(Text(92), "0") << "the drive page's COMPRESSION follows";
}

// Regression: the IR position picker stayed shown on every page, so a press on the
// drive page's PRE-AMP knob went to it and changed the cabinet instead.
TEST_P(ValueDisplayScreen, DrivePagesPreampKnobKeepsTheDrivePage) {
  ConnectWith({{kParamGain, 64}});
  DragDesign(770.f, 189.f, -40.f);  // "Drive"
  ASSERT_EQ(mS.editor.currentPage, kPageDrive);
  DragDesign(480.f, 920.f, -200.f);  // the page's "PRE-AMP" knob, above its value text
  const int raw = mS.editor.Params()[kParamGain].Raw();
  ASSERT_GT(raw, 64);
  EXPECT_EQ(mS.editor.currentPage, kPageDrive);
  EXPECT_TRUE(Visible(47));
  EXPECT_NE(Text(47), "50");
  EXPECT_EQ(LastLiveEdit(kParamGain), raw);
  EXPECT_EQ(LastLiveEdit(kParamIr), -1) << "the cabinet stays";
}

TEST_P(ValueDisplayScreen, ClickOnTheGraphAreaOpensTheIrPage) {
  ConnectWith({});
  DragDesign(770.f, 189.f, -40.f);
  ASSERT_EQ(mS.editor.currentPage, kPageDrive);
  ASSERT_TRUE(Visible(kTagIrHint));
  ClickDesign(1500.f, 900.f);  // over the dynamics graph
  EXPECT_EQ(mS.editor.currentPage, kPageIr);
  EXPECT_TRUE(Visible(62));
  EXPECT_FALSE(Visible(kTagIrHint));
  EXPECT_TRUE(Graph().IsHidden());
}

TEST_P(ValueDisplayScreen, IrModeSwitchEnablesTheGainKnobAndImport) {
  ConnectWith({});
  EXPECT_TRUE(mS.Tagged(25).IsDisabled());
  ClickDesign(770.f, 1086.f);  // position 7's mode switch
  ASSERT_GT(mS.editor.Params()[kParamIrModeA].Raw(), 0);
  EXPECT_FALSE(mS.Tagged(25).IsDisabled());
  EXPECT_FALSE(mS.Tagged(62).IsDisabled());
  EXPECT_TRUE(mS.Tagged(26).IsDisabled());
  ClickDesign(770.f, 1086.f);
  EXPECT_EQ(mS.editor.Params()[kParamIrModeA].Raw(), 0);
  EXPECT_TRUE(mS.Tagged(25).IsDisabled());
  EXPECT_EQ(Text(kTagIrNameA), "BRIT 2x12");
}

// A plain green "led.png": the face under it is the dark panel in this build.
class LedPicture : public ValueDisplayScreen {
 protected:
  static void SetUpTestSuite() {
    RegisterTestResource("led.png", MakePNG(16, 16, [](cairo_t* cr) {
                           cairo_set_source_rgba(cr, 0, 1, 0, 1);
                           cairo_paint(cr);
                         }));
  }
  // Later tests see the picture missing again.
  static void TearDownTestSuite() { RegisterEmbeddedResource("led.png", -1, {}); }
};

TEST_P(LedPicture, AutoFilterOnLightsTheLedAndOffPutsItOut) {
  ConnectWith({});
  const IRECT led{1172.f, 260.f, 1188.f, 276.f};
  const auto green = [](const IColor& c) { return c.G > 200 && c.R < 60; };
  EXPECT_EQ(mS.CountPixels(led, green, 2.f), 0);
  mS.editor.SetParameterValue(kParamAutoFilterOn, 1.0);
  EXPECT_TRUE(mS.editor.autoFilterOn);
  EXPECT_EQ(mS.CountPixels(led, green, 2.f), 64) << "every probe of the 16 x 16 LED is lit";
  mS.editor.SetParameterValue(kParamAutoFilterOn, 0.0);
  EXPECT_FALSE(mS.editor.autoFilterOn);
  EXPECT_EQ(mS.CountPixels(led, green, 2.f), 0);
}

INSTANTIATE_TEST_SUITE_P(Scales, ValueDisplayScreen, ::testing::Values(0.5f, 1.0f));
INSTANTIATE_TEST_SUITE_P(Scales, LedPicture, ::testing::Values(0.5f, 1.0f));

}  // namespace
}  // namespace qd3::test
