// One lost reply must not stall the editor: the session's own requests are asked for
// again after 2 s, and a pedal that stays deaf is given up with a message, after which
// the editor looks for it again by itself.
#include "protocol/MessageBuilders.h"
#include "tests/support/CoreHarness.h"

namespace qd3::test {
namespace {

int CountSent(const CoreHarness& h, const Bytes& message, size_t from = 0) {
  int n = 0;
  for (size_t i = from; i < h.sent.messages.size(); ++i) n += h.sent.messages[i] == message;
  return n;
}

// Regression: a lost checksum-block reply left the editor connected, waiting for ever;
// no synchronisation started and nothing told the player.
TEST(LostReplies, ALostChecksumReplyIsAskedForAgainAndTheHandshakeCompletes) {
  CoreHarness h;
  ASSERT_TRUE(h.ConnectAndSettle());
  const size_t from = h.sent.messages.size();
  // The request as the handshake sends it, with its answer lost on the wire.
  h.link.Pedal().Modify([](sim::PedalModel& m) { m.Faults().dropReplies = 1; });
  h.editor.SendDeviceMessage(BuildRequestBlock(kBlockPresetChecksums));
  h.RunFor(3s);
  EXPECT_EQ(CountSent(h, BuildRequestBlock(kBlockPresetChecksums), from), 2);
  // The answer came the second time: the handshake went on to the global settings.
  EXPECT_GE(CountSent(h, BuildRequestBlock(kBlockGlobalSettings), from), 1);
}

// Regression: a lost global-settings reply meant kCmdBulkEnd and the current-preset
// request never went out, so the current preset never loaded.
TEST(LostReplies, ALostGlobalSettingsReplyIsAskedForAgain) {
  CoreHarness h;
  ASSERT_TRUE(h.ConnectAndSettle());
  const size_t from = h.sent.messages.size();
  h.link.Pedal().Modify([](sim::PedalModel& m) { m.Faults().dropReplies = 1; });
  h.editor.SendDeviceMessage(BuildRequestBlock(kBlockGlobalSettings));
  h.RunFor(3s);
  EXPECT_EQ(CountSent(h, BuildRequestBlock(kBlockGlobalSettings), from), 2);
  EXPECT_GE(CountSent(h, BuildBulkEnd(), from), 1);
}

// Regression: a pedal that went away during a connection was never found again: the
// session still counted as connected and never polled.
TEST(LostReplies, APedalThatFallsSilentIsGivenUpAndPolledForAgain) {
  CoreHarness h;
  ASSERT_TRUE(h.ConnectAndSettle());
  h.link.Pedal().Modify([](sim::PedalModel& m) { m.Faults().silent = true; });
  h.editor.SendDeviceMessage(BuildRequestBlock(kBlockGlobalSettings));
  h.RunFor(10s);
  EXPECT_FALSE(h.editor.session.connected);
  EXPECT_TRUE(h.editor.session.pollEnabled);
  EXPECT_NE(h.editor.session.pendingMessage.find("did not answer"), std::string::npos);

  // The pedal comes back and is found by the ordinary poll.
  h.link.Pedal().Modify([](sim::PedalModel& m) { m.Faults().silent = false; });
  EXPECT_TRUE(h.RunUntil([&] { return h.editor.session.connected; }, 5s));
}

}  // namespace
}  // namespace qd3::test
