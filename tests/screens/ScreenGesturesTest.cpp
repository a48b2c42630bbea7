// The knob gestures on the built editor screen reach the pedal as live edits.
#include <gtest/gtest.h>

#include "QD3ControlScreenNames.h"
#include "params/DeviceParamNumbers.h"
#include "params/ParamCatalogue.h"
#include "protocol/DeviceMessages.h"
#include "protocol/DeviceReplies.h"
#include "protocol/MessageBuilders.h"

#include <algorithm>
#include "tests/screens/ScreenTestSupport.h"

namespace qd3::test {
namespace {

constexpr int kParamDrive = 5;
// The "Drive" knob of the pedal face, in design units.
constexpr float kDriveX = 770.f;
constexpr float kDriveY = 189.f;

class ScreenGestures : public ::testing::TestWithParam<float> {
 protected:
  ScreenGestures() : mS(GetParam()) {
    const Bytes info = BuildDeviceInfo(kFormatVersion, "QD3 TEST PEDAL");
    mS.editor.HandleDeviceMessage(info.data(), info.size());
    // As once the pedal's current preset has arrived: the face is enabled and
    // edits are no longer values being applied from the pedal.
    mS.graphics.DisableGroup("bcontrols", false);
    mS.editor.session.applyingDeviceValues = false;
    mS.host.Frame();
    mS.sent.Clear();
  }
  float K() const { return mS.graphics.GetDrawScale(); }
  int LiveEdits() const {
    int n = 0;
    for (const auto& m : mS.sent.messages)
      n += m.size() > kCommandOffset && m[kCommandOffset] == static_cast<uint8_t>(kCmdParamChange);
    return n;
  }
  BuiltScreen mS;
};

TEST_P(ScreenGestures, WheelNotchOnAPedalKnobSendsOneLiveEdit) {
  const int before = mS.editor.Params()[kParamDrive].Raw();
  mS.host.Wheel(kDriveX * K(), kDriveY * K(), before < 127 ? 1.f : -1.f);
  const int after = mS.editor.Params()[kParamDrive].Raw();
  EXPECT_EQ(std::abs(after - before), 1) << "one raw step";
  // Opening the drive page may add the linked "Dynamics"; Drive itself goes out once.
  const Bytes edit = BuildParamChange(kDeviceParamNumber[kParamDrive], after);
  EXPECT_EQ(std::count(mS.sent.messages.begin(), mS.sent.messages.end(), edit), 1);
}

TEST_P(ScreenGestures, DoubleClickOnAPedalKnobReturnsToTheDefault) {
  mS.host.Drag(kDriveX * K(), kDriveY * K(), kDriveX * K(), (kDriveY - 150.f) * K());
  const IParam& drive = mS.editor.Params()[kParamDrive];
  const int dflt = static_cast<int>(drive.Constrain(drive.Info().defaultValue));
  ASSERT_NE(drive.Raw(), dflt) << "the drag moved the knob";
  mS.sent.Clear();
  mS.host.DoubleClick(kDriveX * K(), kDriveY * K());
  EXPECT_EQ(drive.Raw(), dflt);
  EXPECT_GE(LiveEdits(), 1);
}

TEST_P(ScreenGestures, TooltipOfAPedalKnobNamesItsParameter) {
  mS.host.MouseMove(kDriveX * K(), kDriveY * K());
  const std::string tip = mS.graphics.CurrentTooltip();
  EXPECT_NE(tip.find("Drive"), std::string::npos) << tip;
  const IParam& drive = mS.editor.Params()[kParamDrive];
  EXPECT_NE(tip.find(drive.DisplayText()), std::string::npos) << tip;
}

TEST_P(ScreenGestures, IdleScreenPaintsNothing) {
  mS.host.Frame();
  EXPECT_TRUE(mS.graphics.IsIdle());
  EXPECT_EQ(mS.host.Advance(2.0), 0) << "two seconds with nothing changing";
}

INSTANTIATE_TEST_SUITE_P(Scales, ScreenGestures, ::testing::Values(0.5f, 1.0f));

}  // namespace
}  // namespace qd3::test
