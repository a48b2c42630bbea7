// Finding the pedal, the version rule and the messages of a connected session,
// with the simulated pedal answering through the real receive path.
#include "protocol/DeviceReplies.h"
#include "protocol/MessageBuilders.h"
#include "tests/support/CoreHarness.h"

namespace qd3::test {
namespace {

TEST(Connection, FirstPollAfter33TicksThenTheHandshakeRunsToTheCurrentPreset) {
  CoreHarness h;
  h.OpenWindow({1, 53, 54, 138, 141, 142, 143});
  h.RunFor(3250ms);
  EXPECT_TRUE(h.sent.messages.empty()) << "nothing before the 33rd tick";
  h.RunFor(100ms);
  ASSERT_FALSE(h.sent.messages.empty());
  EXPECT_EQ(h.sent.messages[0], BuildRequestBlock(kBlockDeviceInfo));
  ASSERT_TRUE(h.Connect());
  EXPECT_EQ(h.screen.At(142).str, "VERSION: 1.1");
  EXPECT_EQ(h.screen.At(143).str.rfind("SERIAL: QD3-SIM-000001", 0), 0u);

  h.RunFor(3s);
  const int current =
      h.link.Pedal().Inspect([](const sim::PedalModel& m) { return m.State().currentPreset; });
  // The handshake ends by closing the bracket and loading the current preset (and
  // asking for a user IR it uses that is not cached yet).
  auto end = h.sent.messages.end();
  if (end[-1][kCommandOffset] == kCmdRequestIr) --end;
  ASSERT_GE(end - h.sent.messages.begin(), 2);
  EXPECT_EQ(end[-2], BuildBulkEnd());
  EXPECT_EQ(end[-1], BuildRequestPreset(current));
  EXPECT_FALSE(h.editor.session.applyingDeviceValues);
  EXPECT_EQ(h.editor.session.currentPreset, current);
  // The edit buffer now matches what the pedal holds.
  const auto record = h.link.Pedal().Inspect(
      [&](const sim::PedalModel& m) { return m.State().presets[static_cast<size_t>(current)]; });
  for (int i = 0; i < kNumSoundParams; ++i) {
    EXPECT_EQ(h.editor.Params()[i].Raw(), sim::RecordParam(record, i)) << i;
    EXPECT_EQ(h.editor.deviceSnapshot[static_cast<size_t>(i)], sim::RecordParam(record, i)) << i;
  }
  EXPECT_FALSE(h.editor.presetModified);
}

TEST(Connection, PedalWithOldFirmwareNeverConnectsAndSaysSoAfterEveryPoll) {
  CoreHarness h;
  h.idleTicks = false;  // the test shows the posted box itself
  h.link.Pedal().SetFirmwareVersion(9);
  h.RunFor(3400ms);
  EXPECT_FALSE(h.editor.session.connected);
  EXPECT_TRUE(h.editor.session.messagePending);
  EXPECT_EQ(h.editor.session.pendingMessage, "Please upgrade QD3 to actual version 11.");
  h.editor.OnIdleTick();
  EXPECT_FALSE(h.editor.session.messagePending);
  h.RunFor(3300ms);
  EXPECT_TRUE(h.editor.session.messagePending) << "the next poll reply raises it again";
  EXPECT_EQ(h.sent.messages.size(), 2u) << "only the two polls";
}

TEST(Connection, NewerFirmwareAsksForAnEditorUpdate) {
  CoreHarness h;
  h.link.Pedal().ReportVersion(120);
  h.RunFor(3400ms);
  EXPECT_FALSE(h.editor.session.connected);
  EXPECT_EQ(h.editor.session.pendingMessage,
            "Editor version out of date. Please download the most recent version.");
}

TEST(Connection, AnUnpluggedPedalIsPolledForever) {
  CoreHarness h;
  h.link.Pedal().SetSilent(true);
  h.RunFor(10s);
  EXPECT_FALSE(h.editor.session.connected);
  EXPECT_EQ(h.sent.messages.size(), 3u);
  for (const Bytes& m : h.sent.messages) EXPECT_EQ(m, BuildRequestBlock(kBlockDeviceInfo));
}

// A pedal whose answers stop after the poll: the session's request goes unanswered, the
// editor says so once, shows itself unconnected and finds the pedal again by polling. A
// second loss before the pedal ever answered properly is not a second box.
TEST(Connection, ALostSessionIsShownOnceAndFoundAgain) {
  CoreHarness h;
  ScriptedPlatformServices platform;
  h.editor.SetPlatformServices(&platform);
  h.OpenWindow({1, 53, 54, 138, 141, 142, 143});
  ASSERT_TRUE(h.Connect());
  // The first dump of the synchronisation and its three repeats; after the pedal is
  // found again, the same once more.
  h.link.Pedal().DropNextReplies(4);
  ASSERT_TRUE(h.RunUntil([&] { return !h.editor.session.connected; }, 15s));
  EXPECT_EQ(h.screen.At(142).str, "Connecting to the device...");
  EXPECT_EQ(h.screen.At(141).str, "");
  EXPECT_EQ(h.screen.At(143).str, "");
  EXPECT_EQ(h.screen.disabledGroups.count("bcontrols"), 1u);
  ASSERT_TRUE(h.Connect()) << "polling resumes and finds the pedal";
  h.link.Pedal().DropNextReplies(4);
  ASSERT_TRUE(h.RunUntil([&] { return !h.editor.session.connected; }, 15s));
  ASSERT_TRUE(h.ConnectAndSettle());
  h.RunFor(1s);

  size_t lostBoxes = 0;
  for (const auto& call : platform.Calls()) {
    lostBoxes += call.text.find("stopped answering") != std::string::npos;
  }
  EXPECT_EQ(lostBoxes, 1u);
  EXPECT_EQ(h.screen.disabledGroups.count("bcontrols"), 0u);
  EXPECT_EQ(h.screen.At(143).str.rfind("SERIAL: QD3-SIM-000001", 0), 0u);
}

// The pedal's port is unplugged: the host's port refresh says so and the editor stops
// trusting the session at once, without waiting for a request to go unanswered.
TEST(Connection, AVanishedPortShowsTheEditorUnconnected) {
  CoreHarness h;
  h.OpenWindow({1, 53, 54, 138, 141, 142, 143});
  ASSERT_TRUE(h.ConnectAndSettle());
  h.link.SetUnplugged(true);
  ASSERT_TRUE(h.ports.RefreshPorts().vanished);
  h.editor.Reconnect();
  EXPECT_FALSE(h.editor.session.connected);
  EXPECT_EQ(h.screen.At(142).str, "Connecting to the device...");
  EXPECT_EQ(h.screen.disabledGroups.count("bcontrols"), 1u);
  h.link.SetUnplugged(false);
  ASSERT_TRUE(h.ports.RefreshPorts().reopened);
  EXPECT_TRUE(h.Connect());
}

TEST(Connection, AKnobTurnedOnThePedalReachesTheEditorWithoutAnEcho) {
  CoreHarness h;
  ASSERT_TRUE(h.ConnectAndSettle());
  const size_t before = h.sent.messages.size();
  const int raw = h.editor.Params()[1].Raw() == 99 ? 98 : 99;
  ASSERT_TRUE(h.link.Pedal().TurnKnob(1, raw));
  h.RunFor(50ms);
  EXPECT_EQ(h.editor.Params()[1].Raw(), raw);
  EXPECT_EQ(h.editor.liveValues[1], raw);
  EXPECT_EQ(h.sent.messages.size(), before) << "an echo is not sent back";
}

TEST(Connection, ALiveEditReachesThePedalsEditBuffer) {
  CoreHarness h;
  ASSERT_TRUE(h.ConnectAndSettle());
  const int raw = h.editor.Params()[20].Raw() == 7 ? 8 : 7;
  h.editor.SetParameterValueFromUI(20, raw / 127.0);
  h.RunFor(20ms);
  const auto edit =
      h.link.Pedal().Inspect([](const sim::PedalModel& m) { return m.State().editBuffer; });
  EXPECT_EQ(sim::RecordParam(edit, 20), raw);
}

TEST(Connection, ReconnectDropsTheSessionAndFindsThePedalAgain) {
  CoreHarness h;
  ASSERT_TRUE(h.ConnectAndSettle());
  h.editor.Reconnect();
  EXPECT_FALSE(h.editor.session.connected);
  const size_t before = h.sent.messages.size();
  EXPECT_TRUE(h.RunUntil([&] { return h.editor.session.connected; }, 4s));
  EXPECT_EQ(h.sent.messages[before], BuildRequestBlock(kBlockDeviceInfo));
}

TEST(Connection, StatusWithTheVersionByteIsIgnoredAndWithoutItAccepted) {
  CoreHarness h;
  ASSERT_TRUE(h.ConnectAndSettle());
  h.link.Pedal().InjectReply({0xF0, 0x00, 0x3F, 0x6B, 0x03, 0x57, 0x0B, 0xF7});
  h.RunFor(10ms);
  EXPECT_FALSE(h.editor.session.resetDoneSeen);
  const size_t before = h.sent.messages.size();
  h.link.Pedal().InjectReply({0xF0, 0x00, 0x3F, 0x6B, 0x03, 0x57, 0xF7});
  h.RunFor(150ms);
  EXPECT_FALSE(h.editor.session.resetDoneSeen) << "the tick took it";
  ASSERT_GT(h.sent.messages.size(), before);
  // After a reset the checksums are read first; the global settings follow them.
  EXPECT_EQ(h.sent.messages[before], BuildRequestBlock(kBlockPresetChecksums));
}

TEST(Connection, ClosingTheEditorReachesAConnectedPedalOnly) {
  CoreHarness h;
  h.editor.EditorClosing();
  h.RunFor(20ms);
  EXPECT_EQ(h.PedalEditorClosings(), 0);
  ASSERT_TRUE(h.ConnectAndSettle());
  h.editor.EditorClosing();
  h.RunFor(20ms);
  EXPECT_EQ(h.PedalEditorClosings(), 1);
}

}  // namespace
}  // namespace qd3::test
