// The pedal face and the voicing buttons operated with the mouse at the places the
// layout fixes, in window pixels, with the idle tick driven by hand (20 ms a tick):
// what the display shows and what reaches the pedal.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "QD3ControlScreenNames.h"
#include "protocol/DeviceMessages.h"
#include "protocol/DeviceReplies.h"
#include "protocol/MessageBuilders.h"
#include "tests/screens/ScreenTestSupport.h"

namespace qd3::test {
namespace {

struct Point {
  float x;
  float y;
};
// Centres of the switches' frames in design units.
constexpr Point kRight{1497.f, 528.f};
constexpr Point kLeft{770.f, 528.f};
constexpr Point kMiddle{1137.f, 528.f};
constexpr Point kSave{888.f, 352.f};
constexpr Point kAutoFilter{1496.f, 364.f};
// The first voicing button of a row and the first of its second line.
constexpr Point kFirstVoicing{420.f, 747.f};
constexpr Point kThirdVoicing{720.f, 747.f};
constexpr Point kSixthVoicing{420.f, 782.f};

constexpr int kPatchOffset = 82;
constexpr int kEchoTimeValueTag = 45;

class PedalFace {
 public:
  explicit PedalFace(float scale) : s(scale) {}
  void Press(Point p) {
    const float k = s.graphics.GetDrawScale();
    s.host.MouseDown(p.x * k, p.y * k);
  }
  void Release(Point p) {
    const float k = s.graphics.GetDrawScale();
    s.host.MouseUp(p.x * k, p.y * k);
  }
  void Click(Point p) {
    Press(p);
    Release(p);
  }
  // The pedal answers the poll, then sends its global settings (the editor's own, so
  // nothing changes), which ends the start-up state in which nothing is sent.
  void Connect() {
    const Bytes info = BuildDeviceInfo(kFormatVersion, "QD3 TEST PEDAL");
    s.editor.HandleDeviceMessage(info.data(), info.size());
    std::array<uint8_t, kRecordSize> data{};
    const ParamCatalogue& p = s.editor.Params();
    for (int i = 0; i < 10; ++i)
      data[static_cast<size_t>(1 + i)] = static_cast<uint8_t>(p[80 + i].Raw());
    if (data[6] > 0) data[6] = 2;  // "EDIT POT DISPLAY MODE" travels as 0 or 2
    for (int i = 0; i < 3; ++i)
      data[static_cast<size_t>(11 + i)] = static_cast<uint8_t>(p[33 + i].Raw());
    data[16] = static_cast<uint8_t>(p[90].Raw());
    const Bytes settings = BuildDataBlock(kBlockGlobalSettings, data);
    s.editor.HandleDeviceMessage(settings.data(), settings.size());
    ASSERT_FALSE(s.editor.session.applyingDeviceValues);
    s.sent.Clear();
  }
  std::string Display() { return s.Tagged(kTagValueDisplay).GetStr(); }
  int SentWith(DeviceCommand command) const {
    int n = 0;
    for (const auto& m : s.sent.messages)
      n += m.size() > kCommandOffset && m[kCommandOffset] == static_cast<uint8_t>(command);
    return n;
  }

  BuiltScreen s;
};

class PedalFaceAtScale : public ::testing::TestWithParam<float> {};

TEST_P(PedalFaceAtScale, RightSwitchAt127WithOffset1WrapsToPreset0) {
  PedalFace f(GetParam());
  f.Connect();
  f.s.editor.SetParameterValue(kPatchOffset, 1.0);
  f.s.editor.session.currentPreset = 127;
  f.s.sent.Clear();
  f.Press(kRight);
  EXPECT_EQ(f.Display(), "01");
  EXPECT_TRUE(f.s.sent.messages.empty());
  f.Release(kRight);
  ASSERT_EQ(f.s.sent.messages.size(), 1u);
  EXPECT_EQ(f.s.sent.messages[0], BuildSelectPreset(0));
}

INSTANTIATE_TEST_SUITE_P(Scales, PedalFaceAtScale, ::testing::Values(0.5f, 1.0f));

TEST(PedalFaceInput, HeldRightSwitchRepeatsAfter480msThenEvery80msThenEveryTick) {
  PedalFace f(1.f);
  f.Connect();
  f.s.editor.session.currentPreset = 10;
  f.Press(kRight);
  EXPECT_EQ(f.Display(), "11");
  // Ticks after the press at which the number moves on.
  const std::vector<int> steps = {24, 28, 32, 36, 40, 41, 42, 43, 44, 45};
  int expected = 11;
  for (int tick = 1; tick <= 45; ++tick) {
    f.s.editor.OnIdleTick();
    for (int t : steps) expected += t == tick ? 1 : 0;
    EXPECT_EQ(f.Display(), std::to_string(expected)) << "tick " << tick;
  }
  EXPECT_TRUE(f.s.sent.messages.empty());
  f.Release(kRight);
  ASSERT_EQ(f.s.sent.messages.size(), 1u);
  EXPECT_EQ(f.s.sent.messages[0], BuildSelectPreset(21));
}

TEST(PedalFaceInput, BrowseThreeStepsThenSelectSendsOneSelect) {
  PedalFace f(1.f);
  f.Connect();
  f.s.editor.session.currentPreset = 20;
  f.Click(kMiddle);
  for (int i = 0; i < 3; ++i) {
    f.Click(kRight);
    f.s.editor.OnIdleTick();
  }
  EXPECT_TRUE(f.s.sent.messages.empty());
  f.Click(kMiddle);
  ASSERT_EQ(f.s.sent.messages.size(), 1u);
  EXPECT_EQ(f.s.sent.messages[0], BuildSelectPreset(23));
  EXPECT_FALSE(f.s.editor.browseArmed);
}

TEST(PedalFaceInput, SaveLeftSaveStoresIntoTheSlotBelow) {
  PedalFace f(1.f);
  f.Connect();
  f.s.editor.session.currentPreset = 20;
  f.Click(kSave);
  f.Click(kLeft);
  EXPECT_EQ(f.Display(), "19");
  f.Click(kSave);
  ASSERT_EQ(f.s.sent.messages.size(), 1u);
  EXPECT_EQ(f.s.sent.messages[0], BuildParamChange(18, 19));
  EXPECT_EQ(f.SentWith(kCmdSelectPreset), 0);
  EXPECT_TRUE(f.s.editor.session.saveAwaiting);
}

TEST(PedalFaceInput, SecondSaveClickWithoutAPedalOnlyDisarms) {
  PedalFace f(1.f);
  // A pedal with firmware too old for the editor: the face is usable, nothing connects.
  const Bytes info = BuildDeviceInfo(9, "QD3 OLD PEDAL");
  f.s.editor.HandleDeviceMessage(info.data(), info.size());
  ASSERT_FALSE(f.s.editor.session.connected);
  f.s.sent.Clear();
  f.Click(kSave);
  EXPECT_TRUE(f.s.editor.session.saveArmed);
  f.Click(kSave);
  EXPECT_FALSE(f.s.editor.session.saveArmed);
  EXPECT_FALSE(f.s.editor.session.saveAwaiting);
  EXPECT_TRUE(f.s.sent.messages.empty());
}

TEST(PedalFaceInput, AutoFilterSwitchTurnsParameter60OnAndOffOnThePress) {
  PedalFace f(1.f);
  f.Connect();
  f.Press(kAutoFilter);
  EXPECT_EQ(f.s.Tagged(kTagAutoFilterSwitch).GetValue(), 1.0);
  EXPECT_EQ(f.s.editor.Params()[kParamAutoFilterOn].Raw(), 1);
  f.Release(kAutoFilter);
  EXPECT_EQ(f.s.Tagged(kTagAutoFilterSwitch).GetValue(), 0.0);
  EXPECT_EQ(f.s.editor.Params()[kParamAutoFilterOn].Raw(), 1);
  f.Click(kAutoFilter);
  EXPECT_EQ(f.s.editor.Params()[kParamAutoFilterOn].Raw(), 0);
  EXPECT_EQ(f.SentWith(kCmdParamChange), 2);
}

TEST(PedalFaceInput, DarkDriveButtonAppliesOnceLitButtonDoesNothing) {
  PedalFace f(1.f);
  f.Connect();
  f.s.editor.ShowPage(13);
  f.s.sent.Clear();        // opening the page lines "Compression" up with "Dynamics"
  f.Press(kFirstVoicing);  // "amp-blond.png"
  EXPECT_EQ(f.s.Tagged(82).GetValue(), 1.0);
  EXPECT_EQ(f.s.editor.Params()[1].Raw(), 65);
  EXPECT_EQ(f.SentWith(kCmdStorePreset), 1);
  f.Release(kFirstVoicing);
  f.Click(kFirstVoicing);
  EXPECT_EQ(f.s.sent.messages.size(), 1u);
  f.Click(kThirdVoicing);  // "amp-british.png"
  EXPECT_EQ(f.s.Tagged(82).GetValue(), 0.0);
  EXPECT_EQ(f.s.Tagged(84).GetValue(), 1.0);
  EXPECT_EQ(f.s.editor.Params()[1].Raw(), 97);
  EXPECT_EQ(f.SentWith(kCmdStorePreset), 2);
  EXPECT_EQ(f.SentWith(kCmdParamChange), 0);
}

TEST(PedalFaceInput, EchoVoicingShowsTheTimeKnobOtherVoicingsHideIt) {
  PedalFace f(1.f);
  f.s.editor.ShowPage(3);
  f.Click(kSixthVoicing);  // "radio-echo.png"
  EXPECT_EQ(f.s.Tagged(80).GetValue(), 1.0);
  EXPECT_FALSE(f.s.Tagged(kEchoTimeValueTag).IsHidden());
  EXPECT_EQ(f.s.editor.Params()[19].Raw(), 5);
  f.Click(kFirstVoicing);  // "radio-room.png"
  EXPECT_EQ(f.s.Tagged(80).GetValue(), 0.0);
  EXPECT_EQ(f.s.Tagged(75).GetValue(), 1.0);
  EXPECT_TRUE(f.s.Tagged(kEchoTimeValueTag).IsHidden());
  EXPECT_TRUE(f.s.sent.messages.empty());  // no pedal: nothing is sent
}

TEST(PedalFaceInput, ArrowKeysAndCtrlSWorkLikeTheSwitches) {
  PedalFace f(1.f);
  f.Connect();
  f.s.editor.session.currentPreset = 50;
  IKeyPress right;
  right.vk = kVK_RIGHT;
  EXPECT_TRUE(f.s.graphics.OnKeyDown(10.f, 10.f, right));
  IKeyPress left;
  left.vk = kVK_LEFT;
  EXPECT_TRUE(f.s.graphics.OnKeyDown(10.f, 10.f, left));
  EXPECT_TRUE(f.s.graphics.OnKeyDown(10.f, 10.f, left));
  EXPECT_EQ(f.Display(), "49");
  ASSERT_EQ(f.s.sent.messages.size(), 3u);
  EXPECT_EQ(f.s.sent.messages[0], BuildSelectPreset(51));
  EXPECT_EQ(f.s.sent.messages[2], BuildSelectPreset(49));
  f.s.sent.Clear();
  IKeyPress ctrlS;
  ctrlS.vk = 'S';
  ctrlS.C = true;
  EXPECT_TRUE(f.s.graphics.OnKeyDown(10.f, 10.f, ctrlS));
  ASSERT_EQ(f.s.sent.messages.size(), 1u);
  EXPECT_EQ(f.s.sent.messages[0], BuildParamChange(18, 49));
}

}  // namespace
}  // namespace qd3::test
