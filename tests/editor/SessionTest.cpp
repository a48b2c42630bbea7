// The connection: polling, the version rule, reconnecting and the menu transitions.
#include "protocol/DeviceReplies.h"
#include "protocol/MessageBuilders.h"
#include "tests/editor/EditorFixture.h"

namespace qd3::test {
namespace {

const Bytes kPoll = {0xF0, 0x00, 0x3F, 0x6B, 0x03, 0x55, 0x0B, 0x0F, 0xF7};

class SessionTest : public EditorTest {
 protected:
  void Receive(const Bytes& m) { mEditor.HandleDeviceMessage(m.data(), m.size()); }
  Bytes DeviceInfo(int version) {
    return BuildDeviceInfo(version, "QD3-0001-SIMULATED-SERIAL-NUMBER");
  }
  void OpenStatusScreen() {
    for (int tag : {1, 141, 142, 143, 94}) mScreen.Add(tag);
    mScreen.At(142).str = "Connecting to the device...";
    mEditor.AttachScreen(&mScreen);
  }
  // Ticks until a message leaves; returns the number of ticks taken.
  int TicksUntilSent(int limit) {
    const size_t before = mSent.messages.size();
    for (int t = 1; t <= limit; ++t) {
      mEditor.OnDeviceTimer();
      if (mSent.messages.size() != before) return t;
    }
    return -1;
  }
};

TEST_F(SessionTest, WithoutAPedalThePollLeavesEvery33rdTick) {
  EXPECT_EQ(TicksUntilSent(100), 33);
  ASSERT_EQ(mSent.messages.size(), 1u);
  EXPECT_EQ(mSent.messages[0], kPoll);
  EXPECT_EQ(TicksUntilSent(100), 33);
  EXPECT_EQ(TicksUntilSent(100), 33);
}

struct VersionCase {
  int version;
  bool connects;
  const char* versionLine;
  const char* message;  // "" when none
};

TEST_F(SessionTest, VersionRule) {
  const VersionCase cases[] = {
      {9, false, "VERSION: 0.9", "Please upgrade QD3 to actual version 11."},
      {10, true, "VERSION: 1.0", ""},
      {11, true, "VERSION: 1.1", ""},
      {119, true, "VERSION: 11.9", ""},
      {120, false, "VERSION: 12.0",
       "Editor version out of date. Please download the most recent version."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.version);
    QD3Control fresh;
    CapturedMessages out;
    fresh.SetDeviceMessageSink(out.Sink());
    FakeScreen s;
    for (int tag : {141, 142, 143}) s.Add(tag);
    fresh.AttachScreen(&s);
    const Bytes info = DeviceInfo(c.version);
    fresh.HandleDeviceMessage(info.data(), info.size());
    EXPECT_EQ(fresh.session.connected, c.connects);
    EXPECT_EQ(s.At(141).str, "DEVICE: Varnex Tolvane QD3");
    EXPECT_EQ(s.At(142).str, c.versionLine);
    EXPECT_EQ(s.disabledGroups.count("bcontrols"), 0u);
    EXPECT_EQ(fresh.session.messagePending, *c.message != '\0');
    if (*c.message) {
      EXPECT_EQ(fresh.session.pendingMessage, c.message);
    }
    if (c.connects) {
      EXPECT_EQ(s.At(143).str, "SERIAL: QD3-0001-SIMULATED-SERIAL-NUMBER");
      ASSERT_EQ(out.messages.size(), 1u);
      EXPECT_EQ(out.messages[0], BuildRequestBlock(kBlockPresetChecksums));
    } else {
      EXPECT_TRUE(out.messages.empty());
    }
  }
}

TEST_F(SessionTest, ADeviceInfoWithABadChecksumDoesNotConnect) {
  Bytes info = DeviceInfo(11);
  info[kChecksumLoOffset] ^= 0x01;
  Receive(info);
  EXPECT_FALSE(mEditor.session.connected);
  EXPECT_TRUE(mSent.messages.empty());
}

TEST_F(SessionTest, ReconnectForgetsThePedalAndPollingResumesOnTheTickCount) {
  OpenStatusScreen();
  for (int i = 0; i < 10; ++i) mEditor.OnDeviceTimer();
  Receive(DeviceInfo(11));
  ASSERT_TRUE(mEditor.session.connected);
  mSent.Clear();
  for (int i = 0; i < 50; ++i) mEditor.OnDeviceTimer();
  // Only the unanswered checksum request is asked for again; there is no poll.
  for (const Bytes& m : mSent.messages) EXPECT_EQ(m, BuildRequestBlock(kBlockPresetChecksums));
  EXPECT_EQ(mSent.messages.size(), 2u) << "after 2 s and 4 s of silence";

  mEditor.Reconnect();
  EXPECT_FALSE(mEditor.session.connected);
  EXPECT_EQ(mScreen.At(141).str, "");
  EXPECT_EQ(mScreen.At(142).str, "Connecting to the device...");
  EXPECT_EQ(mScreen.At(143).str, "");
  EXPECT_EQ(mScreen.disabledGroups.count("bcontrols"), 1u);
  EXPECT_EQ(mScreen.hiddenGroups.count("progresscontrols"), 1u);
  // The count kept its 10 ticks from before the connection.
  EXPECT_EQ(TicksUntilSent(100), 23);
  EXPECT_EQ(mSent.messages.back(), kPoll);
}

TEST_F(SessionTest, GlobalSettingsPageSilencesThePollUntilItIsLeft) {
  mEditor.OpenGlobalSettings();
  EXPECT_EQ(mSent.messages.back(), BuildRequestBlock(kBlockGlobalSettings));
  mSent.Clear();
  EXPECT_EQ(TicksUntilSent(200), -1);
  EXPECT_EQ(mEditor.session.pollTicks, 0);
  mEditor.CloseGlobalSettings();
  EXPECT_EQ(TicksUntilSent(100), 33);
}

TEST_F(SessionTest, FirmwareScreenForcesConnectedAndItsCloseReturnsToPolling) {
  OpenStatusScreen();
  mEditor.OpenFirmwareUpdate();
  EXPECT_TRUE(mEditor.session.connected);
  EXPECT_FALSE(mEditor.session.pollEnabled);
  mEditor.CloseFirmwareUpdate();
  EXPECT_FALSE(mEditor.session.connected);
  EXPECT_TRUE(mEditor.session.pollEnabled);
  EXPECT_EQ(mScreen.hiddenGroups.count("fwbgcontrols"), 1u);
  EXPECT_EQ(mScreen.hiddenGroups.count("fwupdatecontrols"), 1u);
  EXPECT_EQ(mScreen.disabledGroups.count("maincontrols"), 0u);
}

TEST_F(SessionTest, ClosingSaysGoodbyeOnlyToAConnectedPedal) {
  mEditor.EditorClosing();
  EXPECT_TRUE(mSent.messages.empty());
  Receive(DeviceInfo(11));
  mSent.Clear();
  mEditor.EditorClosing();
  ASSERT_EQ(mSent.messages.size(), 1u);
  EXPECT_EQ(mSent.messages[0], (Bytes{0xF0, 0x00, 0x3F, 0x6B, 0x03, 0x5F, 0x0B, 0xF7}));
}

}  // namespace
}  // namespace qd3::test
