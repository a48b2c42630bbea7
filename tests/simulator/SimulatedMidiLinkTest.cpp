// The in-process pedal behind the host's MIDI transport interface.

#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <mutex>
#include <thread>
#include <vector>

#include "protocol/Checksum14.h"
#include "simulator/SimulatedMidiLink.h"
#include "tests/simulator/SimTestSupport.h"

namespace qd3::sim::test {
namespace {

using namespace std::chrono_literals;

const Bytes kPoll = Hex("F0 00 3F 6B 03 55 0B 0F F7");

// Stands in for the host's receive queues.
struct Inbox {
  static void Callback(const uint8_t* data, size_t size, void* user) {
    auto* self = static_cast<Inbox*>(user);
    std::lock_guard lock(self->mutex);
    self->messages.emplace_back(data, data + size);
  }
  std::vector<Bytes> Take() {
    std::lock_guard lock(mutex);
    return std::exchange(messages, {});
  }
  std::size_t Count() {
    std::lock_guard lock(mutex);
    return messages.size();
  }
  std::mutex mutex;
  std::vector<Bytes> messages;
};

class LinkTest : public ::testing::Test {
 protected:
  void Connect(SimulatedMidiLink& link) {
    ASSERT_TRUE(link.OpenPort(MidiDirection::kInput, 0, "RtMidi Input"));
    ASSERT_TRUE(link.OpenPort(MidiDirection::kOutput, 0, "RtMidi Output"));
    link.SetInputCallback(&Inbox::Callback, &mInbox);
  }
  Inbox mInbox;
};

TEST_F(LinkTest, OffersOnePortEachWay) {
  SimulatedMidiLink link;
  EXPECT_TRUE(link.HasPort(MidiDirection::kInput));
  EXPECT_TRUE(link.HasPort(MidiDirection::kOutput));
  EXPECT_EQ(link.PortNames(MidiDirection::kInput), std::vector<std::string>{"QD3 Simulator"});
  EXPECT_EQ(link.PortNames(MidiDirection::kOutput), std::vector<std::string>{"QD3 Simulator"});
  EXPECT_FALSE(link.OpenPort(MidiDirection::kOutput, 1, "x"));
}

TEST_F(LinkTest, SendNeedsTheOutputOpen) {
  SimulatedMidiLink link;
  link.SetInputCallback(&Inbox::Callback, &mInbox);
  link.OpenPort(MidiDirection::kInput, 0, "in");
  EXPECT_FALSE(link.Send(kPoll));
  EXPECT_EQ(link.Pump(), 0u);
  EXPECT_EQ(link.Pedal().Inspect([](const PedalModel& m) { return m.Counters().handled; }), 0);
}

TEST_F(LinkTest, ManualLineWaitsForThePump) {
  SimulatedMidiLink link;
  Connect(link);
  ASSERT_TRUE(link.Send(kPoll));
  EXPECT_EQ(mInbox.Count(), 0u);
  EXPECT_EQ(link.PendingReplies(), 1u);
  EXPECT_EQ(link.Pump(), 1u);
  const std::vector<Bytes> got = mInbox.Take();
  ASSERT_EQ(got.size(), 1u);
  ASSERT_EQ(got[0].size(), 267u);
  EXPECT_EQ(got[0][6], 11);
  EXPECT_TRUE(VerifyRecordChecksum(got[0]));
}

TEST_F(LinkTest, VirtualClockDeliversTheIrTransferSpacedOut) {
  SimulatedMidiLink link(LinkOptions{DeliveryMode::kManual, WireTiming{Micros{1000}, 48000}});
  Connect(link);
  link.Send(Hex("F0 00 3F 6B 03 69 0B 00 00 F7"));
  EXPECT_EQ(link.PendingReplies(), 11u);
  // 269 bytes take 5605 us after the 1 ms latency; each 264-byte chunk 5500 us more.
  EXPECT_EQ(link.AdvanceBy(Micros{6604}), 0u);
  EXPECT_EQ(link.AdvanceBy(Micros{1}), 1u);
  EXPECT_EQ(link.AdvanceBy(Micros{5500}), 1u);
  EXPECT_EQ(link.AdvanceBy(Micros{11000}), 2u);
  EXPECT_EQ(link.Pump(), 7u);
  EXPECT_EQ(mInbox.Count(), 11u);
}

TEST_F(LinkTest, AnswersToAClosedInputAreLost) {
  SimulatedMidiLink link;
  Connect(link);
  link.ClosePort(MidiDirection::kInput);
  link.Send(kPoll);
  link.Pump();
  EXPECT_EQ(mInbox.Count(), 0u);
  EXPECT_EQ(link.LostReplies(), 1);

  link.OpenPort(MidiDirection::kInput, 0, "in");
  link.CancelInputCallback();
  link.Send(kPoll);
  link.Pump();
  EXPECT_EQ(mInbox.Count(), 0u);
  EXPECT_EQ(link.LostReplies(), 2);
}

TEST_F(LinkTest, KnobTurnReachesTheCallback) {
  SimulatedMidiLink link;
  Connect(link);
  EXPECT_TRUE(link.Pedal().TurnKnob(5, 99));
  EXPECT_FALSE(link.Pedal().TurnKnob(70, 1));
  link.Pump();
  EXPECT_EQ(mInbox.Take(), std::vector<Bytes>{Hex("F0 00 3F 6B 03 51 0B 05 63 F7")});
}

TEST_F(LinkTest, FaultsThroughTheService) {
  SimulatedMidiLink link;
  Connect(link);
  link.Pedal().DropNextReplies(1);
  link.Send(kPoll);
  link.Pedal().ReportVersion(9);
  link.Send(kPoll);
  link.Pedal().ClearFaults();
  link.Pedal().SetSilent(true);
  link.Send(kPoll);
  link.Pedal().SetSilent(false);
  link.Pedal().SetFirmwareVersion(12);
  link.Send(kPoll);
  link.Pump();
  const std::vector<Bytes> got = mInbox.Take();
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0][6], 9);
  EXPECT_EQ(got[1][6], 12);
}

TEST_F(LinkTest, InjectedReplyPassesUntouched) {
  SimulatedMidiLink link;
  Connect(link);
  link.Pedal().CorruptNextChecksum();
  link.Pedal().InjectReply(Hex("F0 00 3F 6B 03 51 0B 7F 01 F7"));
  link.Pump();
  EXPECT_EQ(mInbox.Take(), std::vector<Bytes>{Hex("F0 00 3F 6B 03 51 0B 7F 01 F7")});
}

TEST_F(LinkTest, ServiceSavesAndLoadsItsState) {
  const auto path = std::filesystem::temp_directory_path() /
                    ("qd3-sim-link-" + std::to_string(::getpid()) + ".state");
  {
    SimulatedMidiLink link;
    Connect(link);
    link.Send(Hex("F0 00 3F 6B 03 23 0B 21 F7"));
    link.Send(Hex("F0 00 3F 6B 03 50 0B 01 0A F7"));
    link.Send(Hex("F0 00 3F 6B 03 50 0B 12 05 F7"));  // store into slot 5
    ASSERT_EQ(link.Pedal().SaveState(path), StateFileStatus::kOk);
  }
  SimulatedMidiLink later;
  ASSERT_EQ(later.Pedal().LoadState(path), StateFileStatus::kOk);
  std::filesystem::remove(path);
  const PedalState state = later.Pedal().Snapshot();
  EXPECT_EQ(state.currentPreset, 5);
  EXPECT_EQ(RecordParam(state.presets[5], 1), 10);
}

// Host threads that send while the line's own thread delivers, as the editor does with its
// UI and audio threads. Meant for ThreadSanitizer as well.
TEST_F(LinkTest, PacedLinkServesSendersOnSeveralThreads) {
  SimulatedMidiLink link(LinkOptions{DeliveryMode::kPaced, WireTiming{Micros{100}, 480000}});
  Connect(link);
  constexpr int kPerThread = 40;
  std::vector<std::thread> senders;
  for (int t = 0; t < 3; ++t) {
    senders.emplace_back([&link, t] {
      for (int i = 0; i < kPerThread; ++i) {
        const uint8_t slot = static_cast<uint8_t>((t * kPerThread + i) % 128);
        link.Send(Bytes{0xF0, 0x00, 0x3F, 0x6B, 0x03, 0x40, 0x0B, slot, 0xF7});
      }
    });
  }
  std::thread knobs([&link] {
    for (int i = 0; i < kPerThread; ++i) link.Pedal().TurnKnob(0, i);
  });
  for (auto& sender : senders) sender.join();
  knobs.join();
  ASSERT_TRUE(link.WaitIdle(20s));
  const std::vector<Bytes> got = mInbox.Take();
  ASSERT_EQ(got.size(), 4u * kPerThread);
  int dumps = 0;
  for (const Bytes& message : got) {
    if (message.size() == 267) {
      ++dumps;
      EXPECT_TRUE(VerifyRecordChecksum(message));
    } else {
      EXPECT_EQ(message.size(), 10u);
    }
  }
  EXPECT_EQ(dumps, 3 * kPerThread);
  link.CancelInputCallback();
}

TEST_F(LinkTest, CancelWaitsForARunningCallback) {
  SimulatedMidiLink link(LinkOptions{DeliveryMode::kPaced, WireTiming{Micros{0}, 0}});
  struct Slow {
    static void Callback(const uint8_t*, size_t, void* user) {
      auto* self = static_cast<Slow*>(user);
      self->inside = true;
      std::this_thread::sleep_for(50ms);
      self->inside = false;
      ++self->calls;
    }
    std::atomic<bool> inside{false};
    std::atomic<int> calls{0};
  } slow;
  link.OpenPort(MidiDirection::kInput, 0, "in");
  link.OpenPort(MidiDirection::kOutput, 0, "out");
  link.SetInputCallback(&Slow::Callback, &slow);
  link.Send(kPoll);
  while (!slow.inside) std::this_thread::sleep_for(1ms);
  link.CancelInputCallback();
  EXPECT_FALSE(slow.inside);
  const int calls = slow.calls;
  link.Send(kPoll);
  link.WaitIdle(5s);
  EXPECT_EQ(slow.calls, calls);
}

}  // namespace
}  // namespace qd3::sim::test
