#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "host/MidiPorts.h"
#include "tests/host_midi/FakeMidiPortSettings.h"
#include "tests/support/FakeMidiTransport.h"

namespace qd3::test {
namespace {

const std::vector<uint8_t> kParamChange = {0xF0, 0x00, 0x3F, 0x6B, 0x03,
                                           0x50, 0x0B, 0x01, 0x40, 0xF7};

TEST(SendDeviceMessage, PassesTheWholeMessageToTheOutput) {
  FakeMidiTransport transport;
  FakeMidiPortSettings settings;
  MidiPorts ports(transport, settings);

  EXPECT_TRUE(ports.SendDeviceMessage(kParamChange));
  EXPECT_EQ(transport.wire, kParamChange);
  EXPECT_EQ(transport.sentSizes, std::vector<size_t>{kParamChange.size()});
}

TEST(SendDeviceMessage, NoOutputObjectSendsNothingAndReturnsFalse) {
  FakeMidiTransport transport;
  FakeMidiPortSettings settings;
  transport.hasOutput = false;
  MidiPorts ports(transport, settings);

  EXPECT_FALSE(ports.SendDeviceMessage(kParamChange));
  EXPECT_TRUE(transport.wire.empty());
  EXPECT_TRUE(transport.sentSizes.empty());
}

TEST(MidiPortsShutdown, ExitingFirstThenCancelThenCloseBothPorts) {
  FakeMidiTransport transport;
  FakeMidiPortSettings settings;
  settings.input = "In";
  settings.output = "Out";
  transport.inputNames = {"In"};
  transport.outputNames = {"Out"};
  // A SysEx that reaches the callback while it is being cancelled must be
  // discarded, which only happens when the exiting flag is already up.
  transport.deliverOnCancel = {0xF0, 0x01, 0x02, 0xF7};
  MidiPorts ports(transport, settings);
  ports.Start();
  transport.log.clear();

  ports.Shutdown();
  const std::vector<std::string> expected = {"cancel callback", "close in", "close out"};
  EXPECT_EQ(transport.log, expected);
  EXPECT_FALSE(transport.HasCallback());
  int delivered = 0;
  ports.DrainMidiQueues([&](const uint8_t*, size_t) { ++delivered; });
  EXPECT_EQ(delivered, 0);

  ports.Shutdown();
  EXPECT_EQ(transport.log, expected) << "a second shutdown touches nothing";
}

TEST(MidiPortsShutdown, ReceivedMessagesReachTheDrainUntilExiting) {
  FakeMidiTransport transport;
  FakeMidiPortSettings settings;
  MidiPorts ports(transport, settings);
  ports.Start();

  const std::vector<uint8_t> before = {0xF0, 0x00, 0x3F, 0x6B, 0x03, 0x01, 0xF7};
  const std::vector<uint8_t> after = {0xF0, 0x00, 0x3F, 0x6B, 0x03, 0x02, 0xF7};
  transport.Deliver(before);
  ports.SetExiting();
  transport.Deliver(after);

  std::vector<std::vector<uint8_t>> received;
  ports.DrainMidiQueues(
      [&](const uint8_t* bytes, size_t size) { received.emplace_back(bytes, bytes + size); });
  EXPECT_EQ(received, std::vector<std::vector<uint8_t>>{before});
}

TEST(MidiPortsDropReport, PrintsTheFirstLossOnceOnStderr) {
  FakeMidiTransport transport;
  FakeMidiPortSettings settings;
  MidiPorts ports(transport, settings);
  ports.Start();
  std::vector<uint8_t> chunk(269, 0x11);
  chunk.front() = 0xF0;
  chunk.back() = 0xF7;
  for (size_t i = 0; i < kSysexQueueCapacity + 7; ++i) transport.Deliver(chunk);

  size_t received = 0;
  testing::internal::CaptureStderr();
  ports.DrainMidiQueues([&](const uint8_t*, size_t) { ++received; });
  ports.ReportDroppedInput();
  transport.Deliver(chunk);  // lands in the emptied ring
  for (size_t i = 0; i < kSysexQueueCapacity + 1; ++i) transport.Deliver(chunk);
  ports.ReportDroppedInput();
  const std::string printed = testing::internal::GetCapturedStderr();

  EXPECT_EQ(received, kSysexQueueCapacity);
  EXPECT_EQ(printed, "MIDI input: 7 messages dropped (receive queue full)\n");
  EXPECT_EQ(ports.Queues().DroppedSysexCount(), 9u);
}

}  // namespace
}  // namespace qd3::test
