#include <RtMidi.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "host/MidiPorts.h"
#include "host/RtMidiTransport.h"
#include "tests/host_midi/FakeMidiPortSettings.h"
#include "tests/support/JackDummyServer.h"

namespace qd3::test {
namespace {

using Bytes = std::vector<uint8_t>;
using namespace std::chrono_literals;

constexpr unsigned kJackDriver = 1;
constexpr auto kDeliveryTimeout = 10s;
// A connection made by opening a port takes effect within a JACK period or two;
// a message is sent again after this long without an answer.
constexpr auto kResendInterval = 250ms;

constexpr char kPeerOutClient[] = "qd3-peer-out";
constexpr char kPeerInClient[] = "qd3-peer-in";
constexpr char kPeerOutPort[] = "qd3-peer-out:pedal out";
constexpr char kPeerInPort[] = "qd3-peer-in:pedal in";

// The other end of the wire: a virtual JACK output and input that play the pedal.
class JackPeer {
 public:
  JackPeer() : mOut(RtMidi::UNIX_JACK, kPeerOutClient), mIn(RtMidi::UNIX_JACK, kPeerInClient) {
    mOut.openVirtualPort("pedal out");
    mIn.ignoreTypes(false, true, false);
    mIn.setCallback(&JackPeer::OnInput, this);
    mIn.openVirtualPort("pedal in");
  }

  void Send(const Bytes& message) { mOut.sendMessage(message.data(), message.size()); }

  std::vector<Bytes> Received() {
    std::lock_guard lock(mUtex);
    return mReceived;
  }

 private:
  static void OnInput(double, std::vector<unsigned char>* message, void* user) {
    auto* self = static_cast<JackPeer*>(user);
    std::lock_guard lock(self->mUtex);
    self->mReceived.push_back(*message);
  }

  // Declared before the RtMidi objects, so that they exist before JACK starts
  // the threads that reach them.
  std::mutex mUtex;
  std::vector<Bytes> mReceived;
  RtMidiOut mOut;
  RtMidiIn mIn;
};

Bytes Sysex(size_t size, uint8_t marker) {
  Bytes bytes(size);
  bytes.front() = 0xF0;
  for (size_t i = 1; i + 1 < size; ++i) bytes[i] = static_cast<uint8_t>((i * 3 + marker) & 0x7F);
  bytes[1] = marker;
  bytes.back() = 0xF7;
  return bytes;
}

bool Contains(const std::vector<std::string>& list, const std::string& name) {
  return std::find(list.begin(), list.end(), name) != list.end();
}

class RtMidiJackSystemTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { server_ = new JackDummyServer(); }
  static void TearDownTestSuite() {
    delete server_;
    server_ = nullptr;
  }
  void SetUp() override { ASSERT_TRUE(server_->Running()) << server_->Error(); }

  static JackDummyServer* server_;
};

JackDummyServer* RtMidiJackSystemTest::server_ = nullptr;

TEST_F(RtMidiJackSystemTest, SysexTravelsBothWaysThroughRingsAndDrain) {
  JackPeer peer;
  RtMidiTransport transport(kJackDriver);
  ASSERT_TRUE(transport.HasPort(MidiDirection::kInput)) << transport.LastError();
  ASSERT_TRUE(transport.HasPort(MidiDirection::kOutput)) << transport.LastError();
  EXPECT_EQ(transport.Api(MidiDirection::kInput), MidiApi::kJack);
  EXPECT_EQ(transport.Api(MidiDirection::kOutput), MidiApi::kJack);

  FakeMidiPortSettings settings;
  settings.input = kPeerOutPort;
  settings.output = kPeerInPort;
  MidiPorts ports(transport, settings);
  ports.Start();
  ASSERT_TRUE(Contains(ports.PortList(MidiDirection::kInput), kPeerOutPort));
  ASSERT_TRUE(Contains(ports.PortList(MidiDirection::kOutput), kPeerInPort));
  EXPECT_EQ(ports.PortList(MidiDirection::kInput).front(), "off");
  EXPECT_TRUE(settings.saved.empty()) << "both stored names were found";

  // Pedal to editor: a preset-dump-sized SysEx and a Note On, through RtMidi's
  // thread, our callback, the rings and the drain pass.
  const Bytes dump = Sysex(267, 0x21);
  const Bytes noteOn = {0x90, 0x3C, 0x64};
  std::vector<Bytes> sysexIn;
  std::vector<Bytes> shortIn;
  auto deadline = std::chrono::steady_clock::now() + kDeliveryTimeout;
  auto nextSend = std::chrono::steady_clock::now();
  while (sysexIn.empty() && std::chrono::steady_clock::now() < deadline) {
    if (std::chrono::steady_clock::now() >= nextSend) {
      peer.Send(noteOn);
      peer.Send(dump);
      nextSend += kResendInterval;
    }
    ports.DrainMidiQueues(
        [&](const ShortMidiMessage& m) {
          shortIn.push_back({m.status, m.data1, m.data2});
        },
        [&](const uint8_t* bytes, size_t size) { sysexIn.emplace_back(bytes, bytes + size); });
    std::this_thread::sleep_for(1ms);
  }
  ASSERT_FALSE(sysexIn.empty()) << "no SysEx arrived from the peer";
  for (const Bytes& message : sysexIn) EXPECT_EQ(message, dump);
  ASSERT_FALSE(shortIn.empty()) << "the Note On sent first must arrive before the SysEx";
  for (const Bytes& message : shortIn) EXPECT_EQ(message, noteOn);

  // Editor to pedal.
  const Bytes request = {0xF0, 0x00, 0x3F, 0x6B, 0x03, 0x10, 0x02, 0xF7};
  deadline = std::chrono::steady_clock::now() + kDeliveryTimeout;
  nextSend = std::chrono::steady_clock::now();
  std::vector<Bytes> atPeer;
  while (atPeer.empty() && std::chrono::steady_clock::now() < deadline) {
    if (std::chrono::steady_clock::now() >= nextSend) {
      EXPECT_TRUE(ports.SendDeviceMessage(request)) << transport.LastError();
      nextSend += kResendInterval;
    }
    std::this_thread::sleep_for(1ms);
    atPeer = peer.Received();
  }
  ASSERT_FALSE(atPeer.empty()) << "no SysEx arrived at the peer";
  for (const Bytes& message : atPeer) EXPECT_EQ(message, request);
}

TEST_F(RtMidiJackSystemTest, VanishedPortNameFallsBackToOff) {
  JackPeer peer;
  RtMidiTransport transport(kJackDriver);
  FakeMidiPortSettings settings;
  settings.input = "qd3-gone:pedal out";
  settings.output = kPeerInPort;
  MidiPorts ports(transport, settings);
  ports.Start();

  EXPECT_EQ(settings.input, "off");
  EXPECT_EQ(settings.output, kPeerInPort);
  ASSERT_EQ(settings.saved.size(), 1u);
  EXPECT_TRUE(ports.SendDeviceMessage(Bytes{0xF0, 0x01, 0x02, 0xF7})) << transport.LastError();
}

TEST_F(RtMidiJackSystemTest, ClosedOutputSendsNothingAndLaterOpenPlaysNothingStale) {
  JackPeer peer;
  RtMidiTransport transport(kJackDriver);
  FakeMidiPortSettings settings;
  settings.input = "off";
  settings.output = "off";
  MidiPorts ports(transport, settings);
  ports.Start();

  EXPECT_FALSE(ports.SendDeviceMessage(Bytes{0xF0, 0x7E, 0x01, 0xF7}));
  ASSERT_TRUE(ports.SelectMidiPort(MidiDirection::kOutput, kPeerInPort)) << transport.LastError();
  std::this_thread::sleep_for(200ms);
  EXPECT_TRUE(peer.Received().empty()) << "a message sent while closed must not be kept";
}

TEST_F(RtMidiJackSystemTest, NothingIsQueuedAfterShutdown) {
  JackPeer peer;
  RtMidiTransport transport(kJackDriver);
  FakeMidiPortSettings settings;
  settings.input = kPeerOutPort;
  settings.output = "off";
  MidiPorts ports(transport, settings);
  ports.Start();

  std::atomic<bool> stop{false};
  std::thread pedal([&] {
    for (uint8_t n = 0; !stop.load(); ++n) {
      peer.Send(Sysex(20, n & 0x7F));
      std::this_thread::sleep_for(2ms);
    }
  });
  size_t before = 0;
  const auto deadline = std::chrono::steady_clock::now() + kDeliveryTimeout;
  while (before == 0 && std::chrono::steady_clock::now() < deadline) {
    ports.DrainMidiQueues([&](const uint8_t*, size_t) { ++before; });
    std::this_thread::sleep_for(1ms);
  }
  ports.SetExiting();
  ports.Shutdown();
  ports.DrainMidiQueues([](const uint8_t*, size_t) {});  // what arrived before the flag
  std::this_thread::sleep_for(100ms);
  size_t after = 0;
  ports.DrainMidiQueues([&](const uint8_t*, size_t) { ++after; });
  stop = true;
  pedal.join();

  EXPECT_GT(before, 0u) << "the stream never arrived, so the check below proves nothing";
  EXPECT_EQ(after, 0u);
}

TEST_F(RtMidiJackSystemTest, DriverZeroUsesAlsaOrFallsBackToJack) {
  RtMidiTransport transport(0);
  ASSERT_TRUE(transport.HasPort(MidiDirection::kInput));
  ASSERT_TRUE(transport.HasPort(MidiDirection::kOutput));
  if (access("/dev/snd/seq", R_OK | W_OK) == 0) {
    EXPECT_EQ(transport.Api(MidiDirection::kInput), MidiApi::kAlsa);
    EXPECT_EQ(transport.Api(MidiDirection::kOutput), MidiApi::kAlsa);
  } else {
    EXPECT_EQ(transport.Api(MidiDirection::kInput), MidiApi::kJack);
    EXPECT_EQ(transport.Api(MidiDirection::kOutput), MidiApi::kJack);
    EXPECT_NE(transport.LastError().find("ALSA"), std::string::npos)
        << "the text of the ALSA failure stays reachable: " << transport.LastError();
  }
}

}  // namespace
}  // namespace qd3::test
