#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "host/MidiPorts.h"
#include "tests/host_midi/FakeMidiPortSettings.h"
#include "tests/support/FakeMidiTransport.h"

namespace qd3::test {
namespace {

// Message n of a sender: F0, the sender's id, n in two 7-bit bytes, a body of
// the sender's id whose length depends on n, F7.
std::vector<uint8_t> SenderMessage(uint8_t sender, uint32_t n) {
  std::vector<uint8_t> bytes = {0xF0, sender, static_cast<uint8_t>((n >> 7) & 0x7F),
                                static_cast<uint8_t>(n & 0x7F)};
  bytes.insert(bytes.end(), 1 + n % 23, sender);
  bytes.push_back(0xF7);
  return bytes;
}

struct WireCheck {
  std::map<uint8_t, std::vector<uint32_t>> numbersBySender;
  size_t portChanges = 0;
  bool clean = true;
  std::string fault;
};

// Splits the wire into messages; every byte must belong to one whole message
// of one sender, or be a port-change mark between messages.
WireCheck ReadWire(const std::vector<uint8_t>& wire) {
  WireCheck check;
  size_t i = 0;
  while (i < wire.size()) {
    if (wire[i] == FakeMidiTransport::kPortChangeMark) {
      ++check.portChanges;
      ++i;
      continue;
    }
    const size_t end = std::find(wire.begin() + i, wire.end(), uint8_t{0xF7}) - wire.begin();
    if (wire[i] != 0xF0 || end == wire.size() || end - i < 4) {
      check.clean = false;
      check.fault = "broken frame at byte " + std::to_string(i);
      return check;
    }
    const uint8_t sender = wire[i + 1];
    const uint32_t n = (uint32_t{wire[i + 2]} << 7) | wire[i + 3];
    const std::vector<uint8_t> message(wire.begin() + i, wire.begin() + end + 1);
    if (message != SenderMessage(sender, n)) {
      check.clean = false;
      check.fault = "message at byte " + std::to_string(i) + " mixes two senders";
      return check;
    }
    check.numbersBySender[sender].push_back(n);
    i = end + 1;
  }
  return check;
}

TEST(ThreadedSend, TwoSendersNeverInterleave) {
  constexpr uint32_t kPerSender = 1500;
  FakeMidiTransport transport;
  FakeMidiPortSettings settings;
  transport.slowWire = true;
  MidiPorts ports(transport, settings);

  auto sender = [&](uint8_t id) {
    for (uint32_t n = 0; n < kPerSender; ++n) ports.SendDeviceMessage(SenderMessage(id, n));
  };
  std::thread ui(sender, uint8_t{0x11});
  std::thread audio(sender, uint8_t{0x22});
  ui.join();
  audio.join();

  EXPECT_FALSE(transport.sendsOverlapped);
  const WireCheck check = ReadWire(transport.wire);
  ASSERT_TRUE(check.clean) << check.fault;
  for (uint8_t id : {uint8_t{0x11}, uint8_t{0x22}}) {
    const std::vector<uint32_t>& numbers = check.numbersBySender.at(id);
    ASSERT_EQ(numbers.size(), kPerSender);
    for (uint32_t n = 0; n < kPerSender; ++n) ASSERT_EQ(numbers[n], n);
  }
  EXPECT_EQ(transport.sentSizes.size(), 2 * kPerSender);
}

TEST(ThreadedSend, PortChangeNeverLandsInsideAMessage) {
  constexpr uint32_t kMessages = 1500;
  FakeMidiTransport transport;
  FakeMidiPortSettings settings;
  settings.output = "A";
  transport.outputNames = {"A", "B"};
  transport.slowWire = true;
  transport.markPortChangesOnWire = true;
  MidiPorts ports(transport, settings);

  std::thread audio([&] {
    for (uint32_t n = 0; n < kMessages; ++n) ports.SendDeviceMessage(SenderMessage(0x33, n));
  });
  for (int i = 0; i < 200; ++i) ports.SelectMidiPort(MidiDirection::kOutput, i % 2 ? "A" : "B");
  audio.join();

  const WireCheck check = ReadWire(transport.wire);
  ASSERT_TRUE(check.clean) << check.fault;
  EXPECT_EQ(check.numbersBySender.at(0x33).size(), kMessages);
  EXPECT_EQ(check.portChanges, 400u) << "each selection closes and opens once";
}

}  // namespace
}  // namespace qd3::test
