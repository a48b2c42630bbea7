// The pedal face's idle-time behaviour and switch states, tick by tick: the blinking
// of an armed store or browse, its end after ten cycles without the pedal's dump,
// the auto-filter switch, and the keys that work like the switches.
#include <string>

#include "QD3ControlScreenNames.h"
#include "protocol/DeviceMessages.h"
#include "tests/editor/EditorFixture.h"

namespace qd3::test {
namespace {

constexpr int kDisplay = 1;
constexpr int kAutoFilterSwitch = 59;
constexpr int kAutoFilterParam = 60;

class PedalFaceTest : public EditorTest {
 protected:
  PedalFaceTest() {
    for (int tag : {55, 56, 57, 58, kAutoFilterSwitch}) mScreen.Add(tag);
    OpenWindow();
  }
  void ClickSave() {
    mEditor.OnSaveButton();
    mEditor.OnSaveButton();
  }
  void ClickMiddle() {
    mEditor.OnBrowseSwitch();
    mEditor.OnBrowseSwitch();
  }
  // "1" where the display was shown after a tick, "0" where hidden.
  std::string VisibilityOverTicks(int ticks) {
    std::string seen;
    for (int i = 0; i < ticks; ++i) {
      mEditor.OnIdleTick();
      seen += mScreen.At(kDisplay).hidden ? '0' : '1';
    }
    return seen;
  }
  int Sent(DeviceCommand command) const {
    int n = 0;
    for (const Bytes& m : mSent.messages)
      n += m.size() > kCommandOffset && m[kCommandOffset] == static_cast<uint8_t>(command);
    return n;
  }
};

TEST_F(PedalFaceTest, ArmedStoreBlinksTwoTicksOnSixOff) {
  ClickSave();
  ASSERT_TRUE(mEditor.session.saveArmed);
  EXPECT_EQ(VisibilityOverTicks(24), "110000001100000011000000");
}

TEST_F(PedalFaceTest, ArmedBrowseBlinksFourTicksOnTwelveOff) {
  ClickMiddle();
  ASSERT_TRUE(mEditor.browseArmed);
  EXPECT_EQ(VisibilityOverTicks(32), "11110000000000001111000000000000");
}

TEST_F(PedalFaceTest, HeldSwitchSuspendsTheBlinking) {
  ClickSave();
  VisibilityOverTicks(3);  // now hidden
  mEditor.OnNextSwitch();  // press: shows the display with the new number
  EXPECT_EQ(VisibilityOverTicks(16), std::string(16, '1'));
  mEditor.OnNextSwitch();
  EXPECT_NE(VisibilityOverTicks(16).find('0'), std::string::npos);
}

TEST_F(PedalFaceTest, StoreSentWithoutAnAnswerDisarmsAfterElevenCycles) {
  Connect();
  ClickSave();
  ClickSave();
  ASSERT_TRUE(mEditor.session.saveAwaiting);
  int ticks = 0;
  while (mEditor.session.saveArmed && ticks < 1000) {
    mEditor.OnIdleTick();
    ++ticks;
  }
  // Counted at phase 0 of each 8-tick cycle; the eleventh count exceeds ten.
  EXPECT_EQ(ticks, 81);
  EXPECT_FALSE(mEditor.session.saveAwaiting);
  EXPECT_EQ(mEditor.blinkCount, 0);
  EXPECT_FALSE(mScreen.At(kDisplay).hidden);
}

// A row picked while storing is armed is a store of its own: the wait for its dump starts
// again, so a first store already half waited for does not end the second one early.
TEST_F(PedalFaceTest, ARowPickedWhileStoringIsArmedRestartsTheWait) {
  Connect();
  ClickSave();
  EXPECT_EQ(mScreen.At(kTagSaveButton).value, 1.0) << "armed: the button stays lit";
  ClickSave();  // the first store
  for (int i = 0; i < 40; ++i) mEditor.OnIdleTick();
  EXPECT_EQ(mScreen.At(kTagSaveButton).value, 1.0) << "lit while the store is awaited";
  ASSERT_GT(mEditor.blinkCount, 3);
  ASSERT_TRUE(mEditor.session.saveArmed);
  ASSERT_TRUE(mEditor.OnEditorKey(EditorKey::kListPick));  // the second, into the row
  EXPECT_EQ(mEditor.blinkCount, 0);
  int ticks = 0;
  while (mEditor.session.saveArmed && ticks < 1000) {
    mEditor.OnIdleTick();
    ++ticks;
  }
  EXPECT_GE(ticks, 80) << "the second store waits its whole time";
  mEditor.OnIdleTick();
  EXPECT_EQ(mScreen.At(kTagSaveButton).value, 0.0) << "dark once the armed state ended";
}

TEST_F(PedalFaceTest, UnconnectedArmedStoreBlinksUntilDisarmed) {
  ClickSave();
  VisibilityOverTicks(200);
  EXPECT_TRUE(mEditor.session.saveArmed);  // nothing awaited, so no time-out
  VisibilityOverTicks(3);
  ClickSave();
  EXPECT_FALSE(mEditor.session.saveArmed);
  EXPECT_FALSE(mScreen.At(kDisplay).hidden);
  EXPECT_TRUE(mSent.messages.empty());
}

TEST_F(PedalFaceTest, AutoFilterSwitchTogglesParameter60OnThePress) {
  Connect();
  FakeControl& button = mScreen.At(kAutoFilterSwitch);
  mEditor.OnAutoFilterSwitch();  // press
  EXPECT_EQ(button.value, 1.0);
  EXPECT_TRUE(mEditor.autoFilterOn);
  EXPECT_EQ(mEditor.Params()[kAutoFilterParam].Raw(), 1);
  EXPECT_EQ(Sent(kCmdParamChange), 1);
  mEditor.OnAutoFilterSwitch();  // release
  EXPECT_EQ(button.value, 0.0);
  EXPECT_TRUE(mEditor.autoFilterOn);
  EXPECT_EQ(Sent(kCmdParamChange), 1);
  mEditor.OnAutoFilterSwitch();
  mEditor.OnAutoFilterSwitch();
  EXPECT_FALSE(mEditor.autoFilterOn);
  EXPECT_EQ(mEditor.Params()[kAutoFilterParam].Raw(), 0);
  EXPECT_EQ(Sent(kCmdParamChange), 2);
}

TEST_F(PedalFaceTest, SwitchesShowTheirLowerFrameOnlyWhileHeld) {
  mEditor.OnPreviousSwitch();
  EXPECT_EQ(mScreen.At(56).value, 1.0);
  EXPECT_TRUE(mEditor.prevHeld);
  mEditor.OnPreviousSwitch();
  EXPECT_EQ(mScreen.At(56).value, 0.0);
  EXPECT_FALSE(mEditor.prevHeld);
  EXPECT_EQ(mEditor.session.currentPreset, 127);  // 0 wraps down to 127
}

TEST_F(PedalFaceTest, SwitchHeldWhenTheWindowClosesStopsStepping) {
  Connect();
  mEditor.session.currentPreset = 30;
  mEditor.OnNextSwitch();  // press; the release never comes
  mEditor.AttachScreen(nullptr);
  for (int i = 0; i < 200; ++i) mEditor.OnIdleTick();
  EXPECT_EQ(mEditor.session.currentPreset, 31);
  EXPECT_FALSE(mEditor.nextHeld);
  EXPECT_TRUE(mSent.messages.empty());
}

TEST_F(PedalFaceTest, StoreKeyArmsAndConfirmsInOneGo) {
  Connect();
  mEditor.session.currentPreset = 42;
  EXPECT_TRUE(mEditor.OnEditorKey(QD3Control::EditorKey::kStore));
  ASSERT_EQ(mSent.messages.size(), 1u);
  EXPECT_EQ(mSent.messages[0], BuildParamChange(18, 42));
  EXPECT_TRUE(mEditor.session.saveAwaiting);
  // Already armed: the key only confirms again.
  mSent.Clear();
  EXPECT_TRUE(mEditor.OnEditorKey(QD3Control::EditorKey::kStore));
  EXPECT_EQ(mSent.messages.size(), 1u);
}

TEST_F(PedalFaceTest, ArrowKeyWhileTheSwitchIsHeldLeavesTheSwitchAlone) {
  Connect();
  mEditor.OnNextSwitch();  // held with the mouse
  EXPECT_FALSE(mEditor.OnEditorKey(QD3Control::EditorKey::kNextPreset));
  EXPECT_TRUE(mEditor.nextHeld);
  EXPECT_TRUE(mSent.messages.empty());
}

}  // namespace
}  // namespace qd3::test
