// A player at the window: with the simulated pedal connected, the settings page is
// opened from the menu and "TUNER FREQUENCY" is set to 440 Hz through its caption's
// popup menu. The pedal receives one settings block, with the new tuner value.
#include <gtest/gtest.h>

#include <deque>
#include <string>

#include "QD3ControlScreenNames.h"
#include "protocol/DeviceMessages.h"
#include "simulator/DefaultState.h"
#include "simulator/PedalModel.h"
#include "tests/screens/ScreenTestSupport.h"
#include "toolkit/controls/IPopupMenuControl.h"

namespace qd3::test {
namespace {

constexpr size_t kTunerByte = 8;
constexpr int kTunerParam = 87;

class SettingsPlayer : public ::testing::Test {
 protected:
  SettingsPlayer() : mPedal(StartState()) {
    mS.editor.SetDeviceMessageSink([this](std::span<const uint8_t> m) {
      mToPedal.emplace_back(m.begin(), m.end());
      for (Bytes& reply : mPedal.Receive(m)) mToEditor.push_back(std::move(reply));
    });
  }
  static sim::PedalState StartState() {
    sim::PedalState state = sim::DefaultPedalState();
    state.globals[kTunerByte] = 5;  // 433 Hz
    return state;
  }
  // Hands the pedal's replies to the editor in arrival order, as the drain pass does.
  void Deliver() {
    while (!mToEditor.empty()) {
      const Bytes m = std::move(mToEditor.front());
      mToEditor.pop_front();
      mS.editor.HandleDeviceMessage(m.data(), m.size());
    }
  }
  void RunTicks(int ticks) {
    for (int i = 0; i < ticks; ++i) {
      mS.editor.OnDeviceTimer();
      Deliver();
    }
  }
  void ClickWindow(float designX, float designY) {
    const float k = mS.graphics.GetDrawScale();
    mS.host.Click(designX * k, designY * k);
    mS.host.Frame();
  }

  BuiltScreen mS{0.5f};
  sim::PedalModel mPedal;
  std::vector<Bytes> mToPedal;
  std::deque<Bytes> mToEditor;
};

TEST_F(SettingsPlayer, TunerAt440HzReachesThePedalInOneBlock) {
  // The handshake: poll, checksums, the cache synchronisation, settings, current preset.
  for (int i = 0; i < 600 && (!mS.editor.session.connected || mS.editor.session.readAllActive);
       ++i) {
    RunTicks(1);
  }
  RunTicks(40);
  ASSERT_TRUE(mS.editor.session.connected);
  ASSERT_EQ(mS.editor.Params()[kTunerParam].Raw(), 5);

  mS.editor.OnMenuCommand(kEditorCmdGlobalSettings);
  Deliver();
  const size_t from = mToPedal.size();

  ClickWindow(860.f, 700.f);  // the "TUNER FREQUENCY" caption
  IPopupMenuControl& menu = mS.graphics.PopupMenu();
  ASSERT_TRUE(menu.IsOpen());
  int item = -1;
  for (size_t i = 0; i < menu.Items().size(); ++i) {
    if (menu.Items()[i] == "440Hz") item = static_cast<int>(i);
  }
  ASSERT_GE(item, 0);
  const IRECT r = menu.ItemRECT(item);
  ClickWindow(r.MW(), r.MH());
  Deliver();

  int blocks = 0;
  for (size_t i = from; i < mToPedal.size(); ++i) {
    const Bytes& m = mToPedal[i];
    if (m[kCommandOffset] != kCmdDataBlock || m[kSelectorOffset] != kBlockGlobalSettings) continue;
    ++blocks;
    EXPECT_EQ(m[kRecordOffset + kTunerByte], 12);
  }
  EXPECT_EQ(blocks, 1);
  EXPECT_EQ(mPedal.State().globals[kTunerByte], 12);
  EXPECT_FALSE(menu.IsOpen());
}

}  // namespace
}  // namespace qd3::test
